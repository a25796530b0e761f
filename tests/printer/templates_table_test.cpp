// The built-in print-template table, the generation table built from it and
// a primary table, template lookup, and the predicates of the conditional
// entries.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "printer/templates/predicates.h"
#include "printer/templates/print_templates.h"
#include "tests/printer/printer_fixture.h"

namespace {

using vemlo_test::PrintPass;

DovExpr* S(const char* text) { return new DovCharString(text); }

// The codes with a conditional entry.
const std::set<int> kConditionalCodes = {21, 23, 31, 126, 209, 249, 314, 435, 437, 451, 500, 602, 638};

TEST(TemplateTable, DefaultTableInvariants) {
    ASSERT_EQ(default_table_size, 1409);
    std::set<int> unconditional;
    int conditional = 0;
    for (int i = 0; i < default_table_size; ++i) {
        const PrintTemplate& e = default_table[i];
        SCOPED_TRACE(testing::Message() << "row " << i << " code " << e.code);
        ASSERT_NE(e.text, nullptr);
        EXPECT_EQ(e.fromPrimary, 0);
        EXPECT_EQ(e.next, nullptr);
        if (i > 0) {
            EXPECT_LE(default_table[i - 1].code, e.code);
        }
        if (e.predicate) {
            ++conditional;
            EXPECT_TRUE(kConditionalCodes.count(e.code));
            // Right before the unconditional entry of its code.
            ASSERT_LT(i + 1, default_table_size);
            EXPECT_EQ(default_table[i + 1].code, e.code);
            EXPECT_EQ(default_table[i + 1].predicate, nullptr);
        } else {
            EXPECT_TRUE(unconditional.insert(e.code).second);
            // Character for character the catalogue's template.
            EXPECT_STREQ(e.text, DovOperTemplate(e.code));
        }
    }
    EXPECT_EQ(conditional, 13);
    EXPECT_EQ(unconditional.size(), 1396u);
    for (int code = 1; code <= 1400; ++code)
        EXPECT_EQ(unconditional.count(code), code >= 1396 && code <= 1399 ? 0u : 1u) << code;
}

// The argument numbers (from 1) that a template prints: every $N outside a
// conditional, and within the conditional on N its then-part's $N. The N
// of «{$N?» and «{$N=» only tests the slot, and what a then-part or an
// else-part prints instead of $N is fixed text, not the slot's.
std::set<int> PrintedArguments(const std::string& text) {
    std::set<int> printed;
    int cond = 0;  // the argument of the open conditional
    bool elsePart = false;
    auto number = [&](std::size_t& i) {
        int n = 0;
        while (i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '9') n = n * 10 + (text[++i] - '0');
        return n;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\') {
            ++i;
        } else if (c == '{' && i + 1 < text.size() && text[i + 1] == '$') {
            ++i;
            cond = number(i);
            ++i;  // '?' or '='
            elsePart = false;
        } else if (c == ':' && cond) {
            elsePart = true;
        } else if (c == '}') {
            cond = 0;
        } else if (c == '$' && i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '9') {
            const int n = number(i);
            if (!cond || (n == cond && !elsePart)) printed.insert(n);
        } else if (c == '$' || c == '^') {
            ++i;  // $x, ^x; the digit of $pN is read as a plain character
        } else if (c == '[') {
            i = text.find(']', i);
            if (i == std::string::npos) break;
        }
    }
    return printed;
}

// Every slot that a node of an operation can hold, but the derived ones, is
// printed by each template of the operation (its conditional entry too), so
// that printing through the templates gives back all that the parse read.
// List templates print every element. The exceptions, each with its reason:
TEST(TemplateTable, EveryTemplatePrintsEverySlotOfItsOperation) {
    struct Unprinted {
        DovOper code;
        bool conditional;  // the conditional entry of the code, else the unconditional one
        const char* slot;
        const char* why;
    };
    const Unprinted exceptions[] = {
        {COBOL_PROGRAM, false, "PROG_SYMBOL_TABLE", "the names the program defines: the parser's, no source text"},
        {DECL_DD_HIDDEN, false, "DECL_DD_HIDDEN__ENTRY",
         "entries the system adds (the debug item, the CICS block): no source text"},
        {DECL_DD_HIDDEN, false, "DECL_DD_HIDDEN__ARGS", "the same entries' subordinates"},
        {SECTION_PROC, true, "SECTION_NAME", "used when the name is absent (the section the parser makes)"},
        {SECTION_PROC, true, "SECTION_SEGMENT", "such a section has no header, and so no segment number"},
        {PARA_PROC, true, "PARA_NAME", "used when the name is absent (the paragraph the parser makes)"},
    };
    auto key = [](const Unprinted& u) {
        return std::string(DovOperName(u.code)) + (u.conditional ? " (conditional entry) " : " ") + u.slot;
    };
    std::set<std::string> unused;
    for (const Unprinted& u : exceptions) unused.insert(key(u));
    for (int i = 0; i < default_table_size; ++i) {
        const PrintTemplate& e = default_table[i];
        const std::string text = e.text;
        const std::size_t start = !text.empty() && text[0] == '\r' ? 1 : 0;
        if (DovOperIsList(e.code)) {
            EXPECT_TRUE(text.empty() || text.compare(start, 1, "@") == 0) << DovOperName(e.code);
            continue;
        }
        const std::set<int> printed = PrintedArguments(text);
        for (int slot = 0; slot < DovOperArgCount(e.code); ++slot) {
            if (DovOperArgIsDerived(e.code, slot) || printed.count(slot + 1)) continue;
            bool excepted = false;
            for (const Unprinted& u : exceptions) {
                if (u.code != e.code || u.conditional != (e.predicate != nullptr)) continue;
                int kind = 0;
                if (DovOperNameLookup(u.slot, &kind) != slot) continue;
                excepted = true;
                unused.erase(key(u));
            }
            EXPECT_TRUE(excepted) << DovOperName(e.code) << (e.predicate ? " (conditional entry)" : "")
                                  << " does not print slot " << slot + 1 << " ("
                                  << DovOperArgName(e.code, slot).CStr() << "): " << text;
        }
    }
    // An exception the table no longer needs goes.
    for (const std::string& u : unused) ADD_FAILURE() << "exception not needed: " << u;
}

TEST(TemplateTable, RowsThatShapeTheOutput) {
    struct Row {
        DovOper code;
        const char* text;
    };
    const Row rows[] = {
        {EX_LIST, "@&"},
        {COBOL_FILE, "\r$1{$2=$2}"},
        {DECL_DD, "\r$1{$2?\n\t$2\b}"},
        {STMT_NO_OP, "\xff"},
        {DECL_NO_OP, "\xff"},
        {STMT_INLINED_COPY_END, ""},
        {REFERENCE_MOD, "$1{$2=|($2 \\: }{$3?$3}[)]"},
        {STR_CONCATENATE, "@%\\&&"},
        {CS_CL_SYSID, "SYSID{$1?$p2($1)}"},
        {STMT_EXEC_CICS, "EXEC CICS\n\t$1\b\nEND-EXEC"},
        {LOG_NOT, "NOT $1"},
        {SECTION_SCHEMA, "-not-defined-"},
    };
    for (const Row& r : rows) EXPECT_STREQ(DovOperTemplate(r.code), r.text) << DovOperName(r.code);
}

TEST(GenTable, BuiltFromTheDefaultTable) {
    DovPrettyPrinterImpl p;
    PrintPass pass(p);
    EXPECT_EQ(RecomputeGenTable(&p), 0);
    EXPECT_TRUE(pass.MessageTexts().empty());
    ASSERT_NE(p.gen_table, nullptr);
    EXPECT_EQ(p.gen_table[0].code, 0);
    for (int code = 1; code <= 1400; ++code) {
        const PrintTemplate& s = p.gen_table[code];
        SCOPED_TRACE(code);
        if (code >= 1396 && code <= 1399) {
            EXPECT_EQ(s.code, 0);
            continue;
        }
        EXPECT_EQ(s.code, code);
        EXPECT_EQ(s.fromPrimary, 0);
        if (kConditionalCodes.count(code)) {
            ASSERT_NE(s.predicate, nullptr);
            ASSERT_NE(s.next, nullptr);
            EXPECT_EQ(s.next->predicate, nullptr);
            EXPECT_STREQ(s.next->text, DovOperTemplate(static_cast<std::uint16_t>(code)));
            EXPECT_EQ(s.next->next, nullptr);
        } else {
            EXPECT_EQ(s.predicate, nullptr);
            EXPECT_EQ(s.next, nullptr);
        }
    }
    // A second build starts afresh (the sanitizer build checks the old chains
    // are freed).
    EXPECT_EQ(RecomputeGenTable(&p), 0);
    EXPECT_NE(p.gen_table[602].next, nullptr);
}

TEST(GenTable, UndefinedCodesFindNoTemplate) {
    DovPrettyPrinterImpl p;
    PrintPass pass(p);
    ASSERT_EQ(RecomputeGenTable(&p), 0);
    for (DovOper code : {SECTION_SCHEMA, EX_DML_ALL, EX_DML_SELECTIVE, EX_DML_ONLY}) {
        DovExprOper node(code);
        PrintTemplate* entry = nullptr;
        EXPECT_EQ(FindCGentry(&entry, &node), '*');
        EXPECT_EQ(entry, &p.gen_table[code]);
    }
    const auto texts = pass.MessageTexts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0], "PrettyPrint: cannot find operation SECTION_SCHEMA in the table");
    EXPECT_EQ(texts[3], "PrettyPrint: cannot find operation EX_DML_ONLY in the table");
}

TEST(GenTable, TraceNumbersTheEntriesOfAChain) {
    DovPrettyPrinterImpl p;
    p.debug_flags = DOV_PDBG_LOOKUP;
    PrintPass pass(p);
    ASSERT_EQ(RecomputeGenTable(&p), 0);
    DovExprOper call(STMT_CALL);
    DovExprOper mnemonic(STMT_CALL);
    mnemonic.SetArg(0, S("M"));
    PrintTemplate* entry = nullptr;
    testing::internal::CaptureStdout();
    EXPECT_EQ(FindCGentry(&entry, &mnemonic), 0);
    EXPECT_EQ(entry, &p.gen_table[STMT_CALL]);
    EXPECT_EQ(FindCGentry(&entry, &call), 0);
    EXPECT_EQ(entry, p.gen_table[STMT_CALL].next);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "FindCGentry: found oper STMT_CALL, entry #1 in table\n"
              "FindCGentry: found oper STMT_CALL, entry #2 in table\n");
}

int Always(DovExpr*) { return 1; }
int Never(DovExpr*) { return 0; }

TEST(GenTable, PrimaryTable) {
    struct Case {
        const char* name;
        std::vector<PrintTemplate> rows;  // the end row is added
        char result;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"empty: first text null", {}, 0, {}},
        {"replaces the default, its conditional entry too", {PrintTemplate(STMT_MOVE, nullptr, "MV $1")}, 0, {}},
        {"doubly defined",
         {PrintTemplate(STMT_MOVE, nullptr, "MV $1"), PrintTemplate(STMT_MOVE, nullptr, "MOVE2 $1")},
         0,
         {"RecomputeGenTable: Code STMT_MOVE is doubly defined in primary table. Second definition ignored."}},
        {"conditional after unconditional",
         {PrintTemplate(STMT_MOVE, nullptr, "MV $1"), PrintTemplate(STMT_MOVE, Always, "MOVE2 $1")},
         0,
         {"RecomputeGenTable: Code STMT_MOVE has conditional definition that follows non-conditional definition in "
          "primary table. Conditional def ignored."}},
        {"only a conditional entry", {PrintTemplate(STMT_MOVE, Never, "MV $1")}, 0, {}},
        {"bad code in the third entry",
         {PrintTemplate(STMT_MOVE, nullptr, "MV $1"), PrintTemplate(STMT_GOTO, nullptr, "GOTO $1"),
          PrintTemplate(0, nullptr, "x"), PrintTemplate(LOG_NOT, nullptr, "N $1")},
         '1',
         {"Bad code 0 in primary table"}},
        {"code beyond 1400", {PrintTemplate(1401, nullptr, "x")}, '1', {"Bad code 1401 in primary table"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<PrintTemplate> rows = c.rows;
        rows.push_back(PrintTemplate(0, nullptr, nullptr));
        rows.front().next = nullptr;
        DovPrettyPrinterImpl p;
        p.primary_table = rows.data();
        PrintPass pass(p);
        EXPECT_EQ(RecomputeGenTable(&p), c.result);
        EXPECT_EQ(pass.MessageTexts(), c.messages);
        const PrintTemplate& move = p.gen_table[STMT_MOVE];
        if (c.rows.empty() || c.rows.front().code != STMT_MOVE) {
            EXPECT_EQ(move.fromPrimary, 0);
            EXPECT_EQ(move.predicate, CondMoveSources);
            continue;
        }
        EXPECT_EQ(move.fromPrimary, 1);
        EXPECT_STREQ(move.text, "MV $1");
        EXPECT_EQ(move.next, nullptr);
        for (const PrintTemplate& r : rows) EXPECT_EQ(r.next, nullptr);
        if (c.result == '1' && c.rows.size() > 1) {
            // The entries before the bad one have taken effect, none after.
            EXPECT_STREQ(p.gen_table[STMT_GOTO].text, "GOTO $1");
            EXPECT_STREQ(p.gen_table[LOG_NOT].text, "NOT $1");
        }
    }
}

TEST(GenTable, AConditionalOnlyCodeFindsNothingWhenItsPredicateFails) {
    PrintTemplate rows[] = {PrintTemplate(STMT_MOVE, Never, "MV $1"), PrintTemplate(0, nullptr, nullptr)};
    DovPrettyPrinterImpl p;
    p.primary_table = rows;
    PrintPass pass(p);
    ASSERT_EQ(RecomputeGenTable(&p), 0);
    DovExprOper move(STMT_MOVE);
    PrintTemplate* entry = nullptr;
    EXPECT_EQ(FindCGentry(&entry, &move), '*');
    EXPECT_EQ(entry, &p.gen_table[STMT_MOVE]);
    EXPECT_EQ(pass.MessageTexts(),
              std::vector<std::string>{"PrettyPrint: cannot find operation STMT_MOVE in the table"});
}

TEST(GenTable, DefaultTableFaultsAreReported) {
    // A default table with a second unconditional entry and a conditional
    // entry behind an unconditional one: both skipped with their messages.
    PrintTemplate saved[3] = {default_table[0], default_table[1], default_table[2]};
    default_table[1] = PrintTemplate(1, nullptr, "again");
    default_table[2] = PrintTemplate(1, Always, "late");
    DovPrettyPrinterImpl p;
    PrintPass pass(p);
    EXPECT_EQ(RecomputeGenTable(&p), 0);
    EXPECT_STREQ(p.gen_table[1].text, "");
    EXPECT_EQ(p.gen_table[1].next, nullptr);
    EXPECT_EQ(p.gen_table[2].code, 0);
    EXPECT_EQ(pass.MessageTexts(),
              (std::vector<std::string>{
                  "RecomputeGenTable: Code NULL_NODE is doubly defined in default table. Second definition ignored.",
                  "RecomputeGenTable: Code NULL_NODE has conditional definition that follows non-conditional "
                  "definition in default table. This conditional def is ignored."}));
    default_table[1] = PrintTemplate(0, nullptr, "bad");
    EXPECT_EQ(RecomputeGenTable(&p), '1');
    EXPECT_EQ(pass.MessageTexts().back(), "RecomputeGenTable: bad code 0 in default table. ");
    EXPECT_EQ(p.gen_table[1].code, 1);  // the slots filled so far stay
    for (int i = 0; i < 3; ++i) default_table[i] = saved[i];
}

TEST(TemplatePredicates, SelectTheConditionalText) {
    // ELSE IF: only a list of exactly one IF statement.
    DovExprOper elseIf(EX_ELSE, new DovExprOper(STMT_LIST, {new DovExprOper(STMT_IF)}));
    DovExprOper elseIfMore(EX_ELSE, new DovExprOper(STMT_LIST, {new DovExprOper(STMT_IF), new DovExprOper(STMT_EXIT)}));
    DovExprOper elseOther(EX_ELSE, new DovExprOper(STMT_LIST, {new DovExprOper(STMT_EXIT)}));
    DovExprOper elseEmpty(EX_ELSE);
    EXPECT_TRUE(CondElseIf(&elseIf));
    EXPECT_FALSE(CondElseIf(&elseIfMore));
    EXPECT_FALSE(CondElseIf(&elseOther));
    EXPECT_FALSE(CondElseIf(&elseEmpty));
    // MOVE: one source or several.
    DovExprOper moveOne(STMT_MOVE, new DovExprOper(IDENT_LIST, {S("A")}), S("B"));
    DovExprOper moveTwo(STMT_MOVE, new DovExprOper(IDENT_LIST, {S("A"), S("C")}), S("B"));
    EXPECT_FALSE(CondMoveSources(&moveOne));
    EXPECT_TRUE(CondMoveSources(&moveTwo));
    // VALUE / VALUES.
    DovExprOper value(EX_COND_VALUE, new DovExprOper(EX_VALUE_RANGE_LIST, {S("1")}));
    DovExprOper values(EX_COND_VALUE, new DovExprOper(EX_VALUE_RANGE_LIST, {S("1"), S("2")}));
    EXPECT_FALSE(CondValueRanges(&value));
    EXPECT_TRUE(CondValueRanges(&values));
    // A COPY at the end of an FD entry, or before the name or at the end of
    // a data entry.
    DovExprOper fd(DECL_FD_ENTRY);
    EXPECT_FALSE(CondFdCopyAtEnd(&fd));
    fd.SetArg(13, new DovExprOper(STMT_UNINLINED_COPY));
    EXPECT_TRUE(CondFdCopyAtEnd(&fd));
    DovExprOper dd(DECL_DD_ENTRY);
    EXPECT_FALSE(CondDdCopy(&dd));
    dd.SetArg(1, new DovExprOper(STMT_UNINLINED_COPY));
    EXPECT_TRUE(CondDdCopy(&dd));
    DovExprOper ddEnd(DECL_DD_ENTRY);
    ddEnd.SetArg(15, new DovExprOper(STMT_UNINLINED_COPY));
    EXPECT_TRUE(CondDdCopy(&ddEnd));
    ddEnd.SetArg(15, new DovExprOper(STMT_REPLACE));
    EXPECT_FALSE(CondDdCopy(&ddEnd));
    // Nameless sections and paragraphs.
    DovExprOper section(SECTION_PROC);
    EXPECT_TRUE(CondNoName(&section));
    section.SetArg(0, new DovNullNode);
    EXPECT_TRUE(CondNoName(&section));
    section.SetArg(0, S("S1"));
    EXPECT_FALSE(CondNoName(&section));
    DovExprOper para(PARA_PROC, S("P1"));
    EXPECT_FALSE(CondNoName(&para));
    // Pseudo-text whose text starts or ends with an equal sign; empty
    // pseudo-text.
    DovExprOper equals(COPY_EQEQS, new DovExprOper(COPY_TOKEN_LIST, {S("=")}));
    DovExprOper endsEqual(COPY_EQEQS, new DovExprOper(COPY_TOKEN_LIST, {S("A"), S(">=")}));
    DovExprOper plain(COPY_EQEQS, new DovExprOper(COPY_TOKEN_LIST, {S("A"), S("B")}));
    DovExprOper empty(COPY_EQEQS, new DovNullNode);
    EXPECT_TRUE(CondEqualsAtEdge(&equals));
    EXPECT_TRUE(CondEqualsAtEdge(&endsEqual));
    EXPECT_FALSE(CondEqualsAtEdge(&plain));
    EXPECT_FALSE(CondEqualsAtEdge(&empty));
    // CALL with and without a mnemonic.
    DovExprOper call(STMT_CALL);
    EXPECT_FALSE(CondCallMnemonic(&call));
    call.SetArg(0, new DovNullNode);
    EXPECT_FALSE(CondCallMnemonic(&call));
    call.SetArg(0, S("M"));
    EXPECT_TRUE(CondCallMnemonic(&call));
    // A disk device, and the exec-line predicate that no entry uses.
    DovExprOper device(FCX_DEVICE, nullptr, new DovExprOper(DEV_DISK_FILE));
    EXPECT_TRUE(CondDiskDevice(&device));
    device.SetArg(1, new DovExprOper(DEV_PRINTER));
    EXPECT_FALSE(CondDiskDevice(&device));
    DovExprOper exec(STMT_EXEC, S("SQL"), new DovExprOper(EX_EXEC_LINE_LIST, {S("a"), S("b")}));
    EXPECT_TRUE(CondExecLines(&exec));
    exec.SetArg(1, new DovExprOper(EX_EXEC_LINE_LIST, {S("a")}));
    EXPECT_FALSE(CondExecLines(&exec));
    // A paragraph without clauses: null nodes count as absent.
    DovExprOper names(PARA_SPECIAL_NAMES);
    EXPECT_TRUE(CondNoClauses(&names));
    names.SetArg(0, new DovNullNode);
    EXPECT_TRUE(CondNoClauses(&names));
    names.SetArg(13, new DovExprOper(STMT_UNINLINED_COPY));
    EXPECT_FALSE(CondNoClauses(&names));
}

}  // namespace
