#include "printer/slot_posn.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>
#include <iostream>
#include <utility>

#include "lbase/message.h"
#include "parser/parser_impl.h"
#include "printer/print_state.h"
#include "printer/settings.h"
#include "tree/expr.h"
#include "tree/oper.h"
#include "tree/walk.h"

namespace {

DovTxtPosn g_last_posn;

int TraceLevel() { return WorkingParser ? WorkingParser->tokenTrace : 0; }

// The derived slots of every catalogue operation, a bit per slot below 64,
// read once from the slot-name table. A slot from 64 up (a list element:
// the table has no such row) is asked of the catalogue.
class DerivedSlots {
public:
    DerivedSlots() {
        for (int r = 0; r < kDovArgNameTableRows; ++r) {
            const DovArgNameEntry& row = DovArgNameTable[r];
            if (row.derived && row.oper >= 0 && row.oper < kDovOperCatalogueSize && row.slot >= 0 && row.slot < 64)
                mask_[row.oper] |= std::uint64_t{1} << row.slot;
        }
    }
    // The bits of `op`'s derived slots; 0 for a code outside the catalogue.
    std::uint64_t Of(std::uint16_t op) const { return op < kDovOperCatalogueSize ? mask_[op] : 0; }
    static bool Has(std::uint64_t mask, std::uint16_t op, int slot) {
        return slot < 64 ? (mask >> slot & 1) != 0 : DovOperArgIsDerived(op, slot) != 0;
    }

private:
    std::uint64_t mask_[kDovOperCatalogueSize] = {};
};

const DerivedSlots& Derived() {
    static const DerivedSlots table;
    return table;
}

// Leading slots of `node` that keep their order (all of them for -1).
int FixedOrderCount(const DovExpr* node) {
    const std::uint16_t op = node->Oper();
    const int fixed = DovOperIsValid(op) ? DovOperCatalogue[op].fixedOrder : -1;
    return fixed < 0 ? node->NumArgs() : fixed;
}

// Scratch storage of SourcePrint, reused from node to node.
struct OrderScratch {
    std::vector<DovPrintSlot> free;          // the entries after the fixed-order ones
    std::vector<std::pair<int, int>> keyed;  // (order index, entry in free) of the free clauses
};

// SourcePrint's ordering, appending to `out`. The entries are the slots but
// derived ones, where a list argument from the first slot after the
// fixed-order ones on gives one entry per element. The first
// FixedOrderCount entries (entries, not slots: a skipped slot moves the
// later ones forward) keep their order and go straight to `out`; the others
// wait in the scratch for their order indexes.
char OrderEntries(DovExpr* node, std::vector<DovPrintSlot>& out, OrderScratch& scratch, VString& message) {
    const int n = node ? node->NumArgs() : 0;
    if (n <= 0) return 0;
    const std::uint16_t op = node->Oper();
    const std::uint64_t derived = Derived().Of(op);
    const int fixed = FixedOrderCount(node);
    const std::size_t start = out.size();
    std::vector<DovPrintSlot>& free = scratch.free;
    free.clear();
    int total = 0;
    int expected = 0;
    char rc = 0;

    auto add = [&](DovArgSlot* slot, DovExpr* holder, int index) __attribute__((always_inline)) {
        if (total++ >= fixed) {
            free.push_back({slot, holder, index});
            return;
        }
        out.push_back({slot, holder, index});
        const int order = slot->order;
        if (order < 0) return;
        if (order == expected) {
            ++expected;
            return;
        }
        if (message.IsEmpty()) {
            const VString clause = DovOperArgName(holder->Oper(), index);
            message = DovFormat("SourcePrint: bad order of fixed clauses in %s: clause '%s' has index %d instead of %d",
                                DovOperName(op), clause.CStr(), order, expected);
        }
        rc = kDovSourcePrintBadOrder;
    };
    for (int i = 0; i < n; ++i) {
        if (DerivedSlots::Has(derived, op, i)) continue;
        DovArgSlot* slot = node->SlotAt(i);
        if (!slot) continue;
        DovExpr* child = slot->arg;
        if (i >= fixed && child && DovOperIsList(child->Oper())) {
            const int m = child->NumArgs();
            for (int k = 0; k < m; ++k) {
                DovArgSlot* element = child->SlotAt(k);
                if (!element) continue;
                if (k == 0)
                    add(element, node, i);
                else
                    add(element, child, k);
            }
            continue;
        }
        add(slot, node, i);
    }

    if (!free.empty()) {
        // The free clauses by source order index from the expected one up:
        // the first entry of each index.
        std::vector<std::pair<int, int>>& keyed = scratch.keyed;
        keyed.clear();
        for (std::size_t i = 0; i < free.size(); ++i) {
            const int order = free[i].slot->order;
            if (order >= expected) keyed.emplace_back(order, static_cast<int>(i));
        }
        // Stable by order index. The clauses mostly come in order already, and
        // are few: an insertion sort needs no buffer from the heap.
        if (keyed.size() > 32) {
            std::stable_sort(keyed.begin(), keyed.end(),
                             [](const std::pair<int, int>& a, const std::pair<int, int>& b) { return a.first < b.first; });
        } else {
            for (std::size_t i = 1; i < keyed.size(); ++i) {
                const std::pair<int, int> e = keyed[i];
                std::size_t j = i;
                for (; j > 0 && e.first < keyed[j - 1].first; --j) keyed[j] = keyed[j - 1];
                keyed[j] = e;
            }
        }
        int last = -1;
        for (const auto& [order, i] : keyed) {
            if (order == last) continue;
            out.push_back(free[static_cast<std::size_t>(i)]);
            last = order;
        }

        // Then the clauses without an index, in slot order.
        for (const DovPrintSlot& e : free)
            if (e.slot->order < 0) out.push_back(e);
    }

    const std::size_t appended = out.size() - start;
    if (appended < static_cast<std::size_t>(total)) {
        if (message.IsEmpty())
            message = DovFormat("SourcePrint: all_arg_no (%d) != ord_arg_no (%d)", total, static_cast<int>(appended));
        rc = kDovSourcePrintBadOrder;
    }
    return rc;
}

void Warn(DovExpr* node, const VString& message) {
    const DovTxtPosn at = DovSrcPosnBeg(node);
    if (WorkingParser)
        WorkingParser->ParserError(MSG_WARN, at, message);
    else if (DovMessageHook)
        DovMessageHook(MSG_WARN, at, message);
}

// State of one run of the pass: the print slots of every node being
// worked on, stacked, with their children's ranges and the end of their
// own tokens beside them, and one frame per node on the way from the root
// to the node being worked on (the pass keeps its own stack, so that a
// tree of any depth is walked).
struct SlotPass {
    struct Ends {
        DovTxtPosnRange child;
        DovTxtPosn tokens;
    };
    // A node whose entries [next, end) are still to be taken; `range` grows
    // as they are, `tokensEnd` is the end of entry `next`'s own tokens while
    // its child is walked.
    struct Frame {
        DovExpr* node;
        std::size_t base;
        std::size_t next;
        std::size_t end;
        DovTxtPosnRange range;
        DovTxtPosn tokensEnd;
    };
    std::vector<DovPrintSlot> entries;
    std::vector<Ends> ends;
    std::vector<Frame> frames;
    OrderScratch scratch;
    int trace = 0;
};

// One walk over a list's tokens: widens `range` by them as WidenPosnRange
// does, remembers the end of the last placed one as the pass's last
// position, and returns the end of the list's own range (PosnRange().end).
inline __attribute__((always_inline)) DovTxtPosn ScanTokens(const DovTokenList& list, DovTxtPosnRange& range,
                                                          bool trace) {
    DovTxtPosn end;
    for (const DovToken* t : list) {
        if (range.beg.IsNull() && t->range.beg.IsSet()) range.beg = t->range.beg;
        if (t->range.end.IsSet()) range.end = end = t->range.end;
        if (DovPosnGiven(t->End())) {
            g_last_posn = t->End();
            if (trace) std::cout << "+UpdateErrorExpr: set last_posn to " << g_last_posn << '\n';
        }
    }
    return end;
}

// Starts `node`: its print slots in source order go onto the entry stack
// and its frame onto the frame stack. False for a node that has no range
// (none, or the symbol table).
inline __attribute__((always_inline)) bool OpenNode(SlotPass& pass, DovExpr* node) {
    if (!node || node->Oper() == SYMBOL_TABLE_ELT_LIST) return false;
    if (pass.trace > 0) std::cout << "\n@SetSlotPosnOper: " << DovOperName(node->Oper()) << '\n';
    const std::size_t base = pass.entries.size();
    if (node->NumArgs() > 0) {
        VString message;
        if (OrderEntries(node, pass.entries, pass.scratch, message) != 0) Warn(node, message);
    }
    const std::size_t end = pass.entries.size();
    if (end > base) pass.ends.resize(end);
    pass.frames.push_back({node, base, base, end, DovTxtPosnRange(), DovTxtPosn()});
    return true;
}

// Entry `f.next` is done: its child's range widens the node's, and the
// child's range and the end of the entry's own tokens are kept for the gap
// tokens.
inline void TakeEntry(SlotPass& pass, SlotPass::Frame& f, const DovTxtPosnRange& child) {
    if (DovPosnGiven(child.beg) && !DovPosnGiven(f.range.beg)) f.range.beg = child.beg;
    if (DovPosnGiven(child.end)) f.range.end = child.end;
    pass.ends[f.next] = {child, f.tokensEnd};
    ++f.next;
}

// The node of the top frame has all its entries: its own tokens widen its
// range, the gap tokens go into its slots, and its entries and frame leave
// the stacks. Returns its range.
DovTxtPosnRange CloseNode(SlotPass& pass) {
    SlotPass::Frame& f = pass.frames.back();
    ScanTokens(f.node->Tokens(), f.range, pass.trace > 1);
    if (f.end > f.base) {
        // Gap tokens between a slot's tokens (or the previous argument) and
        // its child.
        DovTxtPosn prev;
        for (std::size_t k = f.base; k < f.end; ++k) {
            const SlotPass::Ends& ends = pass.ends[k];
            if (DovPosnGiven(ends.tokens)) prev = ends.tokens;
            const DovTxtPosnRange& child = ends.child;
            if (DovPosnGiven(prev) && DovPosnGiven(child.beg) && !prev.IsInfinite() && !child.beg.IsInfinite() &&
                !(prev == child.beg)) {
                auto* gap = new DovToken(SEP_SPACE, VString(), DovTxtPosnRange{prev, child.beg});
                if (pass.trace > 0) std::cout << "+SetSlotPosnOper: add space token " << gap->range << '\n';
                pass.entries[k].slot->tokens.AppendToken(gap);
            }
            if (DovPosnGiven(child.end)) prev = child.end;
        }
        pass.entries.resize(f.base);
        pass.ends.resize(f.base);
    }
    const DovTxtPosnRange range = f.range;
    if (pass.trace > 0) std::cout << "*SetSlotPosnOper: rc " << range << '\n';
    pass.frames.pop_back();
    return range;
}

// The pass over `root`'s subtree in pre-order of the print slots: a node's
// entries are taken in source order, each entry's tokens before its child,
// and a node is closed once its last entry's child is.
DovTxtPosnRange SetSlotPosnOf(SlotPass& pass, DovExpr* root) {
    if (!OpenNode(pass, root)) return DovTxtPosnRange();
    const bool traceTokens = pass.trace > 1;
    for (;;) {
        SlotPass::Frame& f = pass.frames.back();
        if (f.next == f.end) {
            const DovTxtPosnRange range = CloseNode(pass);
            if (pass.frames.empty()) return range;
            TakeEntry(pass, pass.frames.back(), range);
            continue;
        }
        // The walk changes no token list of the entries on the stack (a
        // list argument's elements are entries here, the list node itself
        // is not walked), so the end of each slot's own tokens is taken on
        // the way down.
        const DovPrintSlot e = pass.entries[f.next];  // the stack grows below
        if (pass.trace > 0)
            std::cout << "$SetSlotPosnOper: toks#" << (f.next - f.base) << ' ' << e.slot->tokens << '\n';
        f.tokensEnd = ScanTokens(e.slot->tokens, f.range, traceTokens);
        DovTxtPosnRange child;
        if (DovExpr* arg = e.slot->arg) {
            if (pass.trace > 0)
                std::cout << "=SetSlotPosnOper: arg #" << (f.next - f.base) << ' ' << DovOperName(arg->Oper()) << '\n';
            // A leaf's range is that of its own tokens (opening it would
            // only add its trace lines); the symbol table has none.
            if (arg->NumArgs() == 0 && arg->Oper() != SYMBOL_TABLE_ELT_LIST && pass.trace == 0)
                ScanTokens(arg->Tokens(), child, false);
            else if (OpenNode(pass, arg))
                continue;  // taken when the child closes
        }
        TakeEntry(pass, f, child);
    }
}

}  // namespace

char SourcePrint(DovExpr* node, std::vector<DovPrintSlot>& out, VString& message) {
    out.clear();
    OrderScratch scratch;
    return OrderEntries(node, out, scratch, message);
}

const DovTxtPosn& DovSlotPosnLastPosn() { return g_last_posn; }

DovTxtPosnRange SetSlotPosnOper(DovExpr* node) {
    SlotPass pass;
    pass.trace = TraceLevel();
    return SetSlotPosnOf(pass, node);
}

void DovSetSlotPosn(DovExpr* root) {
    g_last_posn = DovNullPosn;
    SetSlotPosnOper(root);
}

int DovUnchangedFromSource(const DovExpr* node) {
    if (!node || !DovPrintSettings().gen_src || node->Flag() == 0) return 0;
    for (int i = 0; i < node->NumArgs(); ++i) {
        const DovArgSlot* slot = node->ArgSlots(i);
        if (slot && DovHasUnplacedToken(slot->tokens)) return 0;
    }
    return DovHasUnplacedToken(node->Tokens()) ? 0 : 1;
}

bool DovSlotFromSource(const DovArgSlot& slot) {
    const DovExpr* child = slot.arg;
    return slot.code != 0 && ((child && child->Oper() != NULL_NODE && DovUnchangedFromSource(child)) ||
                              (!slot.tokens.IsEmpty() && !DovHasUnplacedToken(slot.tokens)));
}

namespace {

struct ReplacedText {
    std::unordered_map<const DovToken*, DovTxtPosnRange> first;  // first token -> replaced text
    std::unordered_set<const DovToken*> inside;                  // the later tokens of runs
};
ReplacedText g_replaced;

// The walk over the tree in the order source printing visits the tokens.
struct RunFinder {
    const DovToken* open = nullptr;  // first token of the run being read
    std::vector<const DovToken*> pending;
    OrderScratch scratch;
    std::vector<DovPrintSlot> entries;

    void Token(const DovToken* t) {
        if (!t) return;
        const bool beg = DovPosnGiven(t->Beg()), end = DovPosnGiven(t->End());
        if (open) {
            pending.push_back(t);
            if (t->code != CM_COMMENT && !beg && end) {
                g_replaced.first[open] = DovTxtPosnRange{open->Beg(), t->End()};
                g_replaced.inside.insert(pending.begin(), pending.end());
                open = nullptr;
                pending.clear();
            } else if (t->code != CM_COMMENT && beg && !end) {
                // A run that never ended: the new one starts here.
                pending.clear();
                open = t;
            }
            return;
        }
        if (t->code != CM_COMMENT && beg && !end) open = t;
    }
    void List(const DovTokenList& list) {
        for (const DovToken* t : list) Token(t);
    }
    void Node(DovExpr* node) {
        if (!node || node->Oper() == SYMBOL_TABLE_ELT_LIST) return;
        const std::size_t base = entries.size();
        if (node->NumArgs() > 0) {
            VString message;
            OrderEntries(node, entries, scratch, message);
        }
        const std::size_t end = entries.size();
        for (std::size_t k = base; k < end; ++k) {
            const DovPrintSlot e = entries[k];
            List(e.slot->tokens);
            if (e.slot->arg) Node(e.slot->arg);
        }
        entries.resize(base);
        List(node->Tokens());
    }
};

}  // namespace

void DovMarkReplacedText(DovExpr* root) {
    DovForgetReplacedText();
    RunFinder finder;
    finder.Node(root);
}

void DovForgetReplacedText() {
    g_replaced.first.clear();
    g_replaced.inside.clear();
}

const DovTxtPosnRange* DovReplacedTextRange(const DovToken* token) {
    if (g_replaced.first.empty()) return nullptr;
    auto it = g_replaced.first.find(token);
    return it == g_replaced.first.end() ? nullptr : &it->second;
}

bool DovInsideReplacedText(const DovToken* token) {
    return !g_replaced.inside.empty() && g_replaced.inside.count(token) != 0;
}

bool DovHasUnplacedToken(const DovTokenList& list) {
    for (const DovToken* t : list) {
        if (t->code == CM_COMMENT) continue;
        if (!t->range.beg.IsNull() && !t->range.end.IsNull()) continue;
        if (DovReplacedTextRange(t) || DovInsideReplacedText(t)) continue;
        return true;
    }
    return false;
}
