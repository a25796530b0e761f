// The template interpreter: both passes of DovExprOper::print over small
// trees, with the children printed through a small primary table, and
// GetArgNo.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printer/templates/interpreter.h"
#include "printer/templates/print_templates.h"
#include "tests/printer/printer_fixture.h"

namespace {

using vemlo_test::PrintPass;

DovExpr* S(const char* text) { return new DovCharString(text); }

// A list of `n` one-letter elements "A", "B", ...
DovExprOper* List(DovOper op, int n, const char* prefix = "") {
    auto* list = new DovExprOper(op);
    for (int i = 0; i < n; ++i) {
        std::string text = prefix + std::string(1, static_cast<char>('A' + i % 26));
        list->AddArg(new DovCharString(text.c_str()));
    }
    return list;
}

// A printer in free format (no sequence area: level 0 starts at 0-based
// position 1, each level two further) whose primary table gives the
// templates the tests need. Every print runs in a pass of its own.
class Interpreter : public testing::Test {
protected:
    Interpreter() {
        printer_.gen_line_format = DOV_GEN_LF_FREE;
        printer_.gen_observe_ab_rules = 0;
        printer_.primary_table = primary_;
        Fresh();
        EXPECT_EQ(RecomputeGenTable(&printer_), 0);
    }
    ~Interpreter() override {
        delete pass_;
        delete root_;
    }
    void Fresh() {
        delete pass_;
        pass_ = nullptr;
        pass_ = new PrintPass(printer_);
    }
    void Own(DovExpr* node) {
        delete root_;
        root_ = node;
    }

    // Both passes over `node` with `tmpl`, each expected to give `result`;
    // the text printed.
    std::string Print(DovExprOper* node, const char* tmpl, int breakRequest = 0, char result = 0) {
        Own(node);
        Fresh();
        EXPECT_EQ(node->print(tmpl, 1, breakRequest, 1), result) << "length pass";
        EXPECT_EQ(DovPrinting.g_xs, 0);
        DovPrinting.g_xpos = 0;
        EXPECT_EQ(node->print(tmpl, 0, breakRequest, 1), result) << "print pass";
        return pass_->Text();
    }
    // The length pass, then the print pass, whose result is returned.
    char PrintResult(DovExprOper* node, const char* tmpl) {
        Own(node);
        Fresh();
        node->print(tmpl, 1, 0, 1);
        DovPrinting.g_xpos = 0;
        DovPrinting.g_xs = 0;
        return node->print(tmpl, 0, 0, 1);
    }
    // Both passes over `node` through its own entry of the table.
    std::string PrintNode(DovExpr* node) {
        Own(node);
        Fresh();
        EXPECT_EQ(DovTemplatePrintNode(node, 1, 0), 0);
        DovPrinting.g_xpos = 0;
        EXPECT_EQ(DovTemplatePrintNode(node, 0, 0), 0);
        return pass_->Text();
    }
    std::vector<std::string> Lines() const { return pass_->Lines(); }
    std::vector<std::string> Messages() const { return pass_->MessageTexts(); }
    bool Said(const std::string& text) const {
        for (const std::string& m : Messages())
            if (m.find(text) != std::string::npos) return true;
        return false;
    }

    PrintTemplate primary_[4] = {PrintTemplate(EX_LIST, nullptr, "@&"), PrintTemplate(IDENT_LIST, nullptr, "@|"),
                                 PrintTemplate(OP_PARENS, nullptr, "($1)"), PrintTemplate(0, nullptr, nullptr)};
    DovPrettyPrinterImpl printer_;
    PrintPass* pass_ = nullptr;
    DovExpr* root_ = nullptr;
};

TEST_F(Interpreter, ListTemplates) {
    EXPECT_EQ(Print(List(EX_LIST, 3), "@&"), " A B C");
    EXPECT_EQ(Print(List(EX_LIST, 1), "@&"), " A");
    EXPECT_EQ(Print(List(EX_LIST, 0), "@&"), "");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(Interpreter, ConditionalsOnPresentAndAbsentArguments) {
    EXPECT_EQ(Print(new DovExprOper(STMT_MOVE, S("X"), S("Y")), "$1{$2?A:B}"), " XA");
    EXPECT_EQ(Print(new DovExprOper(STMT_MOVE, S("X"), nullptr), "{$2?A:B}|"), " B ");
    EXPECT_EQ(Print(new DovExprOper(STMT_MOVE, S("X"), new DovNullNode), "{$2?A:B}"), " B");
    EXPECT_TRUE(Messages().empty());
    // An absent argument under '=' warns and prints nothing of the conditional.
    EXPECT_EQ(Print(new DovExprOper(STMT_MOVE, S("X"), nullptr), "MOVE $1{$2= TO $2}"), " MOVE X");
    ASSERT_EQ(Messages().size(), 2u);  // once per pass
    EXPECT_NE(Messages()[0].find("STMT_MOVE: PrettyPrint: arg #1 must not be NULL"), std::string::npos)
        << Messages()[0];
    // The escaped colon of a skipped then-part does not end it.
    EXPECT_EQ(Print(new DovExprOper(REFERENCE_MOD, S("A"), nullptr, S("3")), "$1{$2=|($2 \\: }{$3?$3}[)]"), " A3)");
    EXPECT_EQ(Print(new DovExprOper(REFERENCE_MOD, S("A"), S("1"), S("3")), "$1{$2=|($2 \\: }{$3?$3}[)]"),
              " A (1 : 3)");
}

TEST_F(Interpreter, LongListsBreakAndAlignUnderTheFirstElement) {
    Print(List(EX_LIST, 60, "ELEMENT-"), "@&");
    const auto lines = Lines();
    ASSERT_GT(lines.size(), 1u);
    for (const std::string& line : lines) {
        EXPECT_LE(line.size(), 219u);
        EXPECT_EQ(line.rfind(" ELEMENT-", 0), 0u) << line;
    }
    EXPECT_TRUE(Messages().empty());
    // A list that begins further right keeps its later lines there.
    Own(new DovExprOper(STMT_DISPLAY, List(EX_LIST, 60, "ELEMENT-")));
    Fresh();
    auto* node = static_cast<DovExprOper*>(root_);
    ASSERT_EQ(node->print("DISPLAY $1", 1, 0, 1), 0);
    DovPrinting.g_xpos = 0;
    ASSERT_EQ(node->print("DISPLAY $1", 0, 0, 1), 0);
    for (std::size_t i = 1; i < Lines().size(); ++i) EXPECT_EQ(Lines()[i].rfind("         ELEMENT-", 0), 0u);
}

TEST_F(Interpreter, ForcedNodes) {
    // '|' with nothing on the line prints a blank, even in a forced node;
    // '%' breaks only where the next subdivision would not fit; '|' breaks
    // in a forced node.
    EXPECT_EQ(Print(new DovExprOper(STMT_MOVE, S("X"), S("Y")), "|$1%{$2?$2}|Z", 1), "  X Y\n   Z");
    EXPECT_TRUE(Messages().empty());
    // Not forced, everything fits: blanks only.
    EXPECT_EQ(Print(new DovExprOper(STMT_MOVE, S("X"), S("Y")), "|$1%{$2?$2}|Z"), "  X Y Z");
    // '%' at a subdivision that cannot fit breaks without a deeper level.
    const std::string wide(217, 'W');
    EXPECT_EQ(Print(new DovExprOper(STMT_MOVE, S("X"), S(wide.c_str())), "$1%{$2?$2}"), " X\n " + wide);
}

TEST_F(Interpreter, TildeDropsTheNextBreakPoint) {
    EXPECT_EQ(Print(new DovExprOper(STMT_MOVE, S("X"), S("Y")), "$1~{$2?|$2}"), " XY");
}

TEST_F(Interpreter, TabStops) {
    // gen-tabs: 12, 24, 32, 42, 44, 54 (1-based columns).
    EXPECT_EQ(Print(new DovExprOper(STMT_MOVE, S("X"), S("Y")), "$1{$2?$p2$2}"), " X" + std::string(21, ' ') + "Y");
    // $p10 reads as $p1 followed by the character 0.
    EXPECT_EQ(Print(new DovExprOper(STMT_GOTO, S("L")), "$p10$1"), std::string(11, ' ') + "0L");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Print(new DovExprOper(STMT_GOTO, S("L")), "GO$p7", 0, ','), " GO");
    EXPECT_TRUE(Said("PrettyPrint: command $pN: bad number: $p7"));
}

TEST_F(Interpreter, SkipNewlineByte) {
    EXPECT_EQ(Print(new DovExprOper(STMT_NO_OP), "\xff"), "");
    EXPECT_EQ(DovPrinting.skipNewline, 1);
    PrintChar('\n', 0, 0);  // the empty line that would follow
    EXPECT_EQ(pass_->Text(), "");
    PrintChar('\n', 0, 0);
    EXPECT_EQ(pass_->Text(), "\n");
}

TEST_F(Interpreter, ArgumentNumberErrors) {
    EXPECT_EQ(Print(new DovExprOper(STMT_GOTO, S("L")), "GO $0", 0, ','), " GO ");
    EXPECT_TRUE(Said("GetArgNo: illegal argument: $0"));
    Print(new DovExprOper(STMT_GOTO, S("L")), "{$0?x}", 0, ',');
    EXPECT_TRUE(Said("GetArgNo: illegal argument: $0"));
    Print(List(EX_LIST, 4), "$5", 0, ',');
    EXPECT_TRUE(Said("EX_LIST: GetArgNo: argument number out of range: $5"));
}

TEST_F(Interpreter, GetArgNoCursorAndIndex) {
    DovExprOper node(STMT_MOVE, S("A"), S("B"));
    const char* text = "$12x";
    const char* cursor = text;
    int index = -1;
    EXPECT_EQ(GetArgNo(&index, &cursor, 12, &node), 0);
    EXPECT_EQ(index, 11);
    EXPECT_EQ(cursor, text + 2);
    cursor = text;
    EXPECT_EQ(GetArgNo(&index, &cursor, 2, &node), ',');
    EXPECT_TRUE(Said("GetArgNo: argument number out of range: $12"));
    const char* huge = "$99999999999";
    cursor = huge;
    EXPECT_EQ(GetArgNo(&index, &cursor, 2, &node), ',');
    EXPECT_EQ(cursor, huge + 11);
}

TEST_F(Interpreter, DirectiveErrors) {
    struct Case {
        const char* tmpl;
        char result;
        const char* message;
    };
    const Case cases[] = {
        {"$q", '*', "PrettyPrint: bad arg: $q"},
        {"^y", '-', "PrettyPrint: command ^: unknown register 'y'"},
        {"{$1?{$1?x}}", '.', "PrettyPrint: conditional expression max depth is 1"},
        {"{x}", '-', "PrettyPrint: '$' expected after '{'"},
        {"{$1x}", '.', "PrettyPrint: '?' expected after $arg"},
        {"{$2?x", '.', "PrettyPrint: conditional expression not closed with '}'"},
        {"{$1?x:y", '.', "PrettyPrint: conditional expression not closed with '}'"},
        {"a:b", '.', "PrettyPrint: ':' not in conditional expression"},
        {"a}", '.', "PrettyPrint: '}' have no conditional expression to close"},
        {"[x", '.', "PrettyPrint: tail text not closed with ']'"},
        {"[x]y", '.', "PrettyPrint: text follows after tail"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tmpl);
        EXPECT_EQ(PrintResult(new DovExprOper(STMT_MOVE, S("X"), nullptr), c.tmpl), c.result);
        EXPECT_TRUE(Said(c.message));
    }
    // Non-printable characters are printed, with a warning.
    EXPECT_EQ(Print(new DovExprOper(STMT_GOTO), "A\x01\\\x02"), " A\x01\x02");
    EXPECT_TRUE(Said("DovExprOper::print: non-printable character 1"));
    EXPECT_TRUE(Said("DovPrettyPrintOper: non-printable character 2"));
}

TEST_F(Interpreter, PositionBeyondTheMargin) {
    auto* node = new DovExprOper(STMT_GOTO, S("L"));
    Own(node);
    node->SetPrinterMark(300);
    EXPECT_EQ(node->print("$x", 0, 0, 1), '*');
    EXPECT_TRUE(Said("PrettyPrint: command $x: cannot position to column 300"));
    printer_.gen_tabs.items[0] = 500;
    EXPECT_EQ(node->print("$p1", 0, 0, 1), '*');
    EXPECT_TRUE(Said("PrettyPrint: command $p: cannot position to column 499"));
    printer_.gen_tabs.items[0] = 12;
}

TEST_F(Interpreter, UnenclosedArgumentIsReportedAndPrinted) {
    EXPECT_EQ(Print(new DovExprOper(STMT_MOVE, S("X"), S("Y")), "$1 $2"), " X Y");
    ASSERT_EQ(Messages().size(), 1u);  // print pass only
    EXPECT_TRUE(Said("PrettyPrint: $2: this arg must be enclosed in {...}"));
}

TEST_F(Interpreter, LineEndsAndIndentation) {
    auto* node = new DovExprOper(STMT_IF, S("C"), S("S1"), S("E"), S("END-IF"));
    EXPECT_EQ(Print(node, "IF $1{$2?\n\t$2\b}{$3?\n$3}{$4?\n$4}"), " IF C\n   S1\n E\n END-IF");
    EXPECT_EQ(node->PrintedLength(), 4);
    EXPECT_EQ(node->SubdivCount(), 1);
    EXPECT_TRUE(Messages().empty());
    // A break point after a line end: reported, still measured.
    auto* move = new DovExprOper(STMT_MOVE, S("X"), S("Y"));
    EXPECT_EQ(Print(move, "$1\n{$2?|$2}"), " X\n  Y");
    EXPECT_EQ(move->SubdivCount(), 2);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_TRUE(Said("PrettyPrint: non-'\\n' separators after '\\n'"));
}

TEST_F(Interpreter, SubdivisionsBeyondSevenHundred) {
    // 699 and 700 break points: 700 and 701 subdivisions, both measured;
    // no limit remains.
    for (int breaks : {699, 700, 2000}) {
        SCOPED_TRACE(breaks);
        std::string tmpl;
        for (int i = 0; i < breaks; ++i) tmpl += "x!";
        tmpl += "x";
        auto* node = new DovExprOper(STMT_GOTO, S("L"));
        Own(node);
        Fresh();
        EXPECT_EQ(node->print(tmpl.c_str(), 1, 0, 1), 0);
        EXPECT_EQ(node->SubdivCount(), breaks + 1);
        EXPECT_EQ(node->PrintedLength(), breaks + 1);
        EXPECT_EQ(node->Subdivs()[breaks], 1);
        EXPECT_TRUE(Messages().empty());
    }
}

TEST_F(Interpreter, ListsOfAnyLength) {
    // A list past 700 elements (and past 9999) prints every element.
    auto* list = new DovExprOper(IDENT_LIST);
    for (int i = 0; i < 10005; ++i) list->AddArg(S("Q"));
    const std::string out = Print(list, "@|");
    int count = 0;
    for (char c : out) count += c == 'Q';
    EXPECT_EQ(count, 10005);
    EXPECT_EQ(list->SubdivCount(), 10005);
    EXPECT_TRUE(Messages().empty());
    for (const std::string& line : Lines()) EXPECT_LE(line.size(), 219u);
}

TEST_F(Interpreter, LongLinesKeepTheirLength) {
    auto* node = new DovExprOper(STMT_GOTO, S(std::string(600, 'L').c_str()));
    Own(node);
    EXPECT_EQ(node->print("GO TO $1", 1, 0, 1), 0);
    EXPECT_EQ(node->PrintedLength(), 606);
}

TEST_F(Interpreter, ChildrenPrintThroughTheTable) {
    // OP_PARENS and IDENT_LIST from the primary table, the MOVE's
    // conditional entry from the default table.
    auto* move = new DovExprOper(STMT_MOVE, new DovExprOper(IDENT_LIST, {S("A"), S("B")}),
                                 new DovExprOper(OP_PARENS, S("C")));
    PrintTemplate* entry = nullptr;
    ASSERT_EQ(FindCGentry(&entry, move), 0);
    EXPECT_STREQ(entry->text, "MOVE $1\n{$2=  TO $2}");
    EXPECT_EQ(PrintNode(move), " MOVE A B\n   TO (C)");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(Interpreter, ConditionalTextsOfTheDefaultTable) {
    printer_.primary_table = nullptr;
    ASSERT_EQ(RecomputeGenTable(&printer_), 0);
    auto* callBare = new DovExprOper(STMT_CALL);
    callBare->SetArg(1, S("'PGM'"));
    auto* callMnem = new DovExprOper(STMT_CALL);
    callMnem->SetArg(0, S("M"));
    callMnem->SetArg(1, S("'PGM'"));
    struct Case {
        const char* name;
        DovExpr* node;
        const char* text;
    };
    const Case cases[] = {
        {"ELSE IF", new DovExprOper(EX_ELSE, new DovExprOper(STMT_LIST, {new DovExprOper(STMT_IF, S("C"), S("S"))})),
         " ELSE IF C\n   S"},
        {"ELSE and two statements",
         new DovExprOper(EX_ELSE, new DovExprOper(STMT_LIST, {new DovExprOper(STMT_IF, S("C")), S("S")})),
         " ELSE\n   IF C\n   S"},
        {"MOVE one source", new DovExprOper(STMT_MOVE, new DovExprOper(IDENT_LIST, {S("A")}), S("B")), " MOVE A TO B"},
        {"MOVE two sources", new DovExprOper(STMT_MOVE, new DovExprOper(IDENT_LIST, {S("A"), S("C")}), S("B")),
         " MOVE A\n      C\n   TO B"},
        {"CALL without a mnemonic", callBare, " CALL 'PGM'"},
        {"CALL with a mnemonic", callMnem, " CALL M 'PGM'"},
        {"VALUE", new DovExprOper(EX_COND_VALUE, new DovExprOper(EX_VALUE_RANGE_LIST, {S("1")})), " VALUE 1"},
        {"VALUES", new DovExprOper(EX_COND_VALUE, new DovExprOper(EX_VALUE_RANGE_LIST, {S("1"), S("2")})),
         " VALUES 1 2"},
        {"nameless section", new DovExprOper(SECTION_PROC, nullptr, nullptr, S("BODY")), " BODY"},
        {"named section", new DovExprOper(SECTION_PROC, S("S1"), nullptr, S("BODY")), " S1 SECTION.\n BODY"},
        {"nameless paragraph", new DovExprOper(PARA_PROC, new DovNullNode, S("BODY")), " BODY"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PrintNode(c.node), c.text);
        EXPECT_TRUE(Messages().empty());
    }
}

TEST_F(Interpreter, CopyStatementsEndEntriesWithoutTheirPeriod) {
    printer_.primary_table = nullptr;
    ASSERT_EQ(RecomputeGenTable(&printer_), 0);
    auto* dd = new DovExprOper(DECL_DD_ENTRY);
    dd->SetArg(0, S("01"));
    dd->SetArg(2, S("REC"));
    EXPECT_EQ(PrintNode(dd), " 01  REC.");
    auto* ddCopy = new DovExprOper(DECL_DD_ENTRY);
    ddCopy->SetArg(0, S("01"));
    ddCopy->SetArg(2, S("REC"));
    ddCopy->SetArg(15, new DovExprOper(STMT_UNINLINED_COPY, S("BOOK")));
    EXPECT_EQ(PrintNode(ddCopy), " 01  REC COPY BOOK.");
    auto* fd = new DovExprOper(DECL_FD_ENTRY);
    fd->SetArg(0, S("FD"));
    fd->SetArg(1, S("F1"));
    fd->SetArg(13, new DovExprOper(STMT_UNINLINED_COPY, S("BOOK")));
    EXPECT_EQ(PrintNode(fd), " FD  F1\n     COPY BOOK.");
    EXPECT_TRUE(Messages().empty());
}

}  // namespace
