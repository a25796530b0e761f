// The debug dump of trees: one line per node, its tokens, and its
// arguments one level deeper.
#include <iomanip>
#include <ostream>

#include "lbase/small_stack.h"
#include "tree/expr.h"
#include "tree/oper.h"

namespace {

// The name of the argument slot whose node the dump prints next, shown
// after that node's indentation; null when the slot has no name.
const char* g_slot_name = nullptr;

}  // namespace

void DovDumpIndent(std::ostream& os) {
    for (int i = 0; i < DovDumpDepth; ++i) os << ". ";
    if (g_slot_name) {
        os << g_slot_name << ": ";
        g_slot_name = nullptr;
    }
}

namespace {

void PrintNumber(std::ostream& os, int value, int width = 0) {
    // Hexadecimal and octal dumps show the raw 16-bit pattern.
    bool unsigned_form = (os.flags() & (std::ios::hex | std::ios::oct)) != 0;
    os << std::setw(width);
    if (unsigned_form)
        os << static_cast<std::uint16_t>(value);
    else
        os << value;
}

// One token of a dump: indented one level past the node, after `mark`.
void PrintTokenLine(std::ostream& os, const DovToken* t, const char* mark) {
    os << "        ";
    DovDumpIndent(os);
    os << mark;
    t->Print(os);
    os << "\n";
}

}  // namespace

void DovExpr::Print(std::ostream& os) const {
    if (DovDumpVerbosity > 1) os << " #" << serial_ << " @" << static_cast<const void*>(this);
    if (gen_beg_.IsSet() || gen_end_.IsSet()) os << " genp=" << gen_beg_.posn << " - " << gen_end_.posn;
    if (PrintedLength() != 0) os << " l=" << PrintedLength();
    if (tokens_.IsEmpty()) {
        os << "\n";
        return;
    }
    os << " tail=\n";
    for (const DovToken* t : tokens_) PrintTokenLine(os, t, "\\ ");
}

void DovExprOper::Print(std::ostream& os) const {
    DovDumpIndent(os);
    os << DovOperName(Oper());
    const int* subdivs = Subdivs();
    const int subdiv_count = SubdivCount();
    if (DovDumpVerbosity > 0 && subdiv_count != 0 && subdivs) {
        os << " SD[" << subdiv_count << "]: ";
        for (int i = 0; i < subdiv_count; ++i) {
            PrintNumber(os, subdivs[i]);
            os << ' ';
        }
    }
    DovExpr::Print(os);
    PrintArgs(os);
}

namespace {

// An operator node whose arguments the dump under way is printing, and the
// slot it is at.
struct ArgsFrame {
    const DovExprOper* node;
    int slot;
};

// The frames of the dump under way, the node being printed last; null while
// none runs. An argument's Print that comes to its own arguments leaves
// them to this dump (PrintArgs), so that a tree of any depth is dumped
// without a call per level.
DovSmallStack<ArgsFrame>* g_dump = nullptr;

}  // namespace

void DovExprOper::PrintArgs(std::ostream& os) const {
    ++DovDumpDepth;
    if (g_dump) {
        g_dump->push_back({this, 0});
        return;
    }
    DovSmallStack<ArgsFrame> frames;
    frames.push_back({this, 0});
    g_dump = &frames;
    while (!frames.empty()) {
        ArgsFrame& f = frames.back();
        const DovExprOper* node = f.node;
        if (f.slot >= node->NumArgs()) {
            frames.pop_back();
            --DovDumpDepth;
            continue;
        }
        const int i = f.slot++;
        const DovArgSlot* s = node->slots_[static_cast<std::size_t>(i)];
        for (const DovToken* t : s->tokens) PrintTokenLine(os, t, "/ ");
        PrintNumber(os, DovDumpDepth, 2);
        os << (s->code < 0 ? '#' : s->code == 0 ? '.' : '$');
        PrintNumber(os, i, 2);
        char flag_mark = ' ';
        if (s->arg) flag_mark = s->arg->Flag() == 0 ? '.' : s->arg->Flag() == 1 ? '$' : '#';
        os << flag_mark;
        PrintNumber(os, s->order, 2);
        g_slot_name = DovOperSlotName(node->Oper(), i);
        if (s->arg) {
            // An operator argument's own arguments come next, as a frame.
            s->arg->Print(os);
        } else {
            DovDumpIndent(os);
            os << "(NULL)\n";
        }
        g_slot_name = nullptr;
    }
    g_dump = nullptr;
}

void DovNullNode::Print(std::ostream& os) const {
    DovDumpIndent(os);
    os << "NULL_NODE";
    DovExpr::Print(os);
}

void DovCharString::Print(std::ostream& os) const {
    DovDumpIndent(os);
    os << "CHAR_STRING";
    if (!text_.IsEmpty()) os << ' ' << text_;
    DovExpr::Print(os);
}
