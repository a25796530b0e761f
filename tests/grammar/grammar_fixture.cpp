#include "tests/grammar/grammar_fixture.h"

#include <algorithm>
#include <sstream>

#include "grammar/grammar.h"
#include "parser/hooks.h"
#include "parser/parser_impl.h"
#include "parser/token_adapter.h"
#include "tree/oper.h"
#include "tree/named.h"
#include "tree/qualname.h"
#include "tree/walk.h"

namespace vemlo_grammar_test {

namespace {

struct Delivered {
    int code;
    std::string image;
    DovTxtPosn beg, end;
};

std::vector<Delivered> delivered;
int delivered_lexemes = 0;

void Record(const DovTokenList& list) {
    for (const DovToken* t : list)
        if (t) delivered.push_back({t->code, std::string(t->image.CStr(), t->image.Len()), t->Beg(), t->End()});
}

// The token adapter, recording every token it hands the grammar (those of
// the position, those a COPY marker's node carries, also a marker inside a
// sentence, and at the end those kept for the end of the file).
int RecordingLex() {
    // Only what this call adds to the end-of-file tokens is delivered now.
    std::size_t trailing_before = 0;
    if (WorkingParser)
        for (const DovToken* t : WorkingParser->trailingTokens) trailing_before += t ? 1 : 0;
    const int code = yylex();
    ++delivered_lexemes;
    if (code == SEP_INLINED_COPY || code == SEP_UNINLINED_COPY || code == SEP_COPY_INC) {
        if (DovExpr* v = DovValueNode(yylval)) {
            DovExpr* copy = v->Copy();
            DovTokenList gathered;
            DovGatherTokens(copy, &gathered);
            delete copy;
            Record(gathered);
        }
    }
    if (yyposn) Record(*yyposn);
    if (code == 0 && WorkingParser) {
        std::size_t i = 0;
        for (const DovToken* t : WorkingParser->trailingTokens) {
            if (!t) continue;
            if (i++ >= trailing_before)
                delivered.push_back({t->code, std::string(t->image.CStr(), t->image.Len()), t->Beg(), t->End()});
        }
    }
    return code;
}

void Walk(DovExpr* node, DovOper op, std::vector<DovExpr*>& out, bool first) {
    if (!node || (first && !out.empty())) return;
    if (node->Oper() == op) {
        out.push_back(node);
        if (first) return;
    }
    // Symbol tables hold the elements, not the program text.
    if (node->Oper() == SYMBOL_TABLE_ELT_LIST) return;
    for (int i = 0; i < node->NumArgs(); ++i) Walk(node->Args(i), op, out, first);
}

void ShapeTo(const DovExpr* node, std::ostringstream& out) {
    if (!node) {
        out << '-';
        return;
    }
    const int op = node->Oper();
    if (op == NULL_NODE) {
        out << "null";
        return;
    }
    if (op == NAMED_OBJ_USE) {
        const DovExpr* names = node->NumArgs() > 0 ? node->Args(0) : nullptr;
        if (names && (names->Oper() == OF_IN_LIST)) {
            out << DovQualNameStr(names).CStr();
            return;
        }
    }
    if (op == NAMED_OBJ_DEF) {
        out << "def:" << node->Image().CStr();
        return;
    }
    if (op == SYMBOL_TABLE_ELT) {
        out << "elt:" << node->Image().CStr();
        return;
    }
    if (node->IsTerminal()) {
        out << node->Image().CStr();
        return;
    }
    out << DovOperName(static_cast<DovOper>(op));
    if (node->NumArgs() <= 0) return;
    out << '(';
    for (int i = 0; i < node->NumArgs(); ++i) {
        if (i) out << ',';
        ShapeTo(node->Args(i), out);
    }
    out << ')';
}

}  // namespace

std::string Shape(const DovExpr* node) {
    if (!node) return "(none)";
    std::ostringstream out;
    ShapeTo(node, out);
    return out.str();
}

DovExpr* FindFirst(DovExpr* root, DovOper op) {
    std::vector<DovExpr*> out;
    Walk(root, op, out, true);
    return out.empty() ? nullptr : out[0];
}

std::vector<DovExpr*> FindAll(DovExpr* root, DovOper op) {
    std::vector<DovExpr*> out;
    Walk(root, op, out, false);
    return out;
}

GrammarRun::GrammarRun() {
    parser_.primaryDialect = DIAL_ANSI85;
    VString error;
    parser_.ResolveDialectDefaults(error);
    parser_.resolveNames = 0;
    parser_.fillNullArgs = 0;
}

GrammarRun::~GrammarRun() { delete root_; }

int GrammarRun::ParseText(const std::string& source) { return ParseFile(dir_.Write("snippet.cbl", source)); }

int GrammarRun::ParseFile(const std::string& file) {
    delete root_;
    root_ = nullptr;
    messages_.Clear();
    const DovGrammarHooks saved_hooks = DovGrammar;
    DovInstallGrammar();
    const DovGrammarServices saved = DovCobolGrammar.services;
    DovCobolGrammar.services.lex = RecordingLex;
    delivered.clear();
    delivered_lexemes = 0;
    rule_counts_.assign(static_cast<std::size_t>(DovCobolGrammar.tables->rule_count), 0u);
    unsigned* const saved_counts = DovCobolGrammar.rule_counts;
    DovCobolGrammar.rule_counts = rule_counts_.data();
    const int status = parser_.Parse(file.c_str(), root_, &messages_);
    DovCobolGrammar.rule_counts = saved_counts;
    DovCobolGrammar.services = saved;
    DovGrammar = saved_hooks;
    lexemes_ = delivered_lexemes;
    return status;
}

int GrammarRun::ParseStatements(const std::string& lines) { return ParseStatements(lines, ""); }

int GrammarRun::ParseStatements(const std::string& lines, const std::string& division) {
    std::string source =
        "       IDENTIFICATION DIVISION.\n"
        "       PROGRAM-ID. T.\n";
    std::istringstream d(division);
    for (std::string line; std::getline(d, line);) source += "       " + line + "\n";
    source +=
        "       PROCEDURE DIVISION.\n"
        "       P-0.\n";
    std::istringstream in(lines);
    for (std::string line; std::getline(in, line);) source += "           " + line + "\n";
    return ParseText(source);
}

DovExpr* GrammarRun::Program() const { return FindFirst(root_, COBOL_PROGRAM); }

DovExpr* GrammarRun::ProcedureDivision() const { return FindFirst(root_, DIVISION_PROCEDURE); }

std::vector<DovExpr*> GrammarRun::Statements() const {
    std::vector<DovExpr*> out;
    for (DovExpr* sentence : FindAll(ProcedureDivision(), SENTENCE)) {
        DovExpr* list = sentence->NumArgs() > 0 ? sentence->Args(0) : nullptr;
        if (!list) continue;
        for (int i = 0; i < list->NumArgs(); ++i) out.push_back(list->Args(i));
    }
    return out;
}

std::string GrammarRun::StatementShape(std::size_t i) const {
    const std::vector<DovExpr*> all = Statements();
    return i < all.size() ? Shape(all[i]) : "(none)";
}

std::string GrammarRun::ShapeOf(DovOper op) const { return Shape(FindFirst(root_, op)); }

std::vector<std::string> GrammarRun::Messages() const {
    std::vector<std::string> out;
    for (const DovToken* t : messages_) {
        const char* level = t->code == MSG_ERR ? "ERROR: " : t->code == MSG_WARN ? "WARNING: " : "INFO: ";
        out.push_back(level + std::string(t->image.CStr()));
    }
    return out;
}

std::string GrammarRun::MessageText() const {
    std::string out;
    for (const std::string& m : Messages()) out += m + "\n";
    return out;
}

int GrammarRun::SyntaxErrors() const {
    int n = 0;
    for (const std::string& m : Messages())
        if (m.find("syntax error") != std::string::npos) ++n;
    return n;
}

int GrammarRun::Reductions(const std::string& rule) const {
    const DovGrammarTables& t = *DovCobolGrammar.tables;
    for (int i = 0; i < t.rule_count && i < static_cast<int>(rule_counts_.size()); ++i)
        if (t.rule_texts[i] && rule == t.rule_texts[i]) return static_cast<int>(rule_counts_[i]);
    return -1;
}

namespace {

void GatherList(const DovTokenList& list, std::vector<Delivered>& out) {
    for (const DovToken* t : list)
        if (t) out.push_back({t->code, std::string(t->image.CStr(), t->image.Len()), t->Beg(), t->End()});
}

// The order number of a slot: its own, or for a list that a holder made
// (AddToList numbers the list's elements) the first of its elements'.
int SlotOrder(const DovArgSlot* slot) {
    if (!slot) return -1;
    if (slot->order >= 0) return slot->order;
    const DovExpr* list = slot->arg;
    int first = -1;
    if (list && DovOperIsList(list->Oper()))
        for (int i = 0; i < list->NumArgs(); ++i) {
            const DovArgSlot* e = list->ArgSlots(i);
            if (e && e->order >= 0 && (first < 0 || e->order < first)) first = e->order;
        }
    return first;
}

void GatherInClauseOrder(const DovExpr* node, std::vector<Delivered>& out) {
    if (!node) return;
    const int n = node->NumArgs();
    // Slots with an order number take, in that order, the places of the
    // slots that have one; the others stay where they are.
    std::vector<int> slots(n), ordered;
    for (int i = 0; i < n; ++i) {
        slots[i] = i;
        if (SlotOrder(node->ArgSlots(i)) >= 0) ordered.push_back(i);
    }
    std::vector<int> sorted = ordered;
    std::stable_sort(sorted.begin(), sorted.end(), [&](int a, int b) {
        return SlotOrder(node->ArgSlots(a)) < SlotOrder(node->ArgSlots(b));
    });
    for (std::size_t k = 0; k < ordered.size(); ++k) slots[ordered[k]] = sorted[k];
    for (int i : slots) {
        const DovArgSlot* slot = node->ArgSlots(i);
        if (!slot) continue;
        GatherList(slot->tokens, out);
        GatherInClauseOrder(slot->arg, out);
    }
    GatherList(const_cast<DovExpr*>(node)->Tokens(), out);
}

}  // namespace

std::string GrammarRun::TokenDifference() const {
    if (!root_) return "no tree";
    // The tree's tokens in source order: the walk order, except that the
    // clauses an entry collected in any order are visited in the order they
    // were written (their slots' order numbers).
    std::vector<Delivered> tree;
    GatherInClauseOrder(root_, tree);
    const std::size_t n = std::max(tree.size(), delivered.size());
    for (std::size_t i = 0; i < n; ++i) {
        const bool have_a = i < delivered.size(), have_b = i < tree.size();
        if (have_a && have_b) {
            const Delivered& a = delivered[i];
            const Delivered& b = tree[i];
            const bool same_place = DovTxtPosnCompare(a.beg, b.beg) == 0 && DovTxtPosnCompare(a.end, b.end) == 0;
            // What recovery skipped is kept as preserved text in the error node.
            const bool preserved = b.code == PRESERVED_SPACE || b.code == PRESERVED_STRING;
            if (same_place && (preserved || (a.code == b.code && a.image == b.image))) continue;
        }
        std::ostringstream out;
        out << "token #" << i << ": delivered ";
        if (have_a) out << delivered[i].code << " '" << delivered[i].image << "' " << delivered[i].beg;
        else out << "(end)";
        out << ", tree ";
        if (have_b) out << tree[i].code << " '" << tree[i].image << "' " << tree[i].beg;
        else out << "(end)";
        out << " (" << delivered.size() << " delivered, " << tree.size() << " in the tree)";
        return out.str();
    }
    return "";
}

std::string GrammarRun::TokenLossOrDuplication() const {
    if (!root_) return "no tree";
    DovExpr* copy = root_->Copy();
    DovTokenList gathered;
    DovGatherTokens(copy, &gathered);
    delete copy;
    std::vector<Delivered> tree;
    for (const DovToken* t : gathered)
        if (t) tree.push_back({t->code, std::string(t->image.CStr(), t->image.Len()), t->Beg(), t->End()});
    std::vector<Delivered> sent = delivered;
    const auto before = [](const Delivered& a, const Delivered& b) {
        if (int c = DovTxtPosnCompare(a.beg, b.beg)) return c < 0;
        if (int c = DovTxtPosnCompare(a.end, b.end)) return c < 0;
        return a.code < b.code;
    };
    std::stable_sort(tree.begin(), tree.end(), before);
    std::stable_sort(sent.begin(), sent.end(), before);
    const std::size_t n = std::max(tree.size(), sent.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (i < tree.size() && i < sent.size()) {
            const Delivered& a = sent[i];
            const Delivered& b = tree[i];
            const bool same_place = DovTxtPosnCompare(a.beg, b.beg) == 0 && DovTxtPosnCompare(a.end, b.end) == 0;
            const bool preserved = b.code == PRESERVED_SPACE || b.code == PRESERVED_STRING;
            if (same_place && (preserved || (a.code == b.code && a.image == b.image))) continue;
        }
        std::ostringstream out;
        out << "token #" << i << " in position order: delivered ";
        if (i < sent.size()) out << sent[i].code << " '" << sent[i].image << "' " << sent[i].beg;
        else out << "(end)";
        out << ", tree ";
        if (i < tree.size()) out << tree[i].code << " '" << tree[i].image << "' " << tree[i].beg;
        else out << "(end)";
        out << " (" << sent.size() << " delivered, " << tree.size() << " in the tree)";
        return out.str();
    }
    return "";
}


namespace {

void AddTokenSpellings(const DovTokenList& list, std::vector<std::string>& out) {
    for (const DovToken* t : list) out.push_back(DovTokenText(*t).CStr());
}

void CollectTokenSpellings(const DovExpr* node, std::vector<std::string>& out) {
    if (!node) return;
    for (int i = 0; i < node->NumArgs(); ++i) {
        if (const DovArgSlot* slot = node->ArgSlots(i)) AddTokenSpellings(slot->tokens, out);
        CollectTokenSpellings(node->Args(i), out);
    }
    AddTokenSpellings(node->Tokens(), out);
}

}  // namespace

std::vector<std::string> TreeTokens(const DovExpr* node) {
    std::vector<std::string> out;
    CollectTokenSpellings(node, out);
    return out;
}

}  // namespace vemlo_grammar_test
