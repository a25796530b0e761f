// Printing from source: SrcPrintText copying token text, SlotPrint of an
// unchanged statement, excerpts of changed slots, and whole trees printed
// back byte for byte from their source.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

#include "printer/print_state.h"
#include "printer/templates/print_templates.h"
#include "tests/printer/printer_fixture.h"

namespace {

using vemlo_test::Add;
using vemlo_test::P;
using vemlo_test::PrintPass;
using vemlo_test::W;

namespace fs = std::filesystem;

// A source file of the given text, registered in the source-file table.
class SourceFile {
public:
    explicit SourceFile(const std::string& text, const char* name = "src.cbl") {
        dir_ = fs::temp_directory_path() / ("vemlo_print_src_" + std::to_string(::getpid()) + "_" + std::to_string(++n_));
        fs::create_directories(dir_);
        path_ = dir_ / name;
        std::ofstream(path_, std::ios::binary) << text;
        index_ = DovSrcFileNames().FindOrAdd(VString(path_.string().c_str()), false, true);
    }
    ~SourceFile() {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    int Index() const { return index_; }
    const fs::path& Dir() const { return dir_; }

private:
    static inline int n_ = 0;
    fs::path dir_, path_;
    int index_ = 0;
};

DovToken* T(int code, int line, int col, int endLine, int endCol, int file, const char* image = "") {
    return new DovToken(code, image, DovTxtPosnRange{P(line, col, file), P(endLine, endCol, file)});
}

// The two-line statement of kMoveSource as the parser leaves it: every
// character of the statement's lines in some token.
const char kMoveSource[] =
    "000100     MOVE  A                                                      SEQ00001\n"
    "000200         TO B.                                                    SEQ00002\n";

DovExprOper* MoveTree(int f) {
    auto* move = new DovExprOper(STMT_MOVE);
    move->SetFlag(1);
    auto* a = new DovCharString("A");
    a->SetFlag(1);
    Add(a->Tokens(), W("A", 1, 17, 18, f));
    auto* b = new DovCharString("B");
    b->SetFlag(1);
    Add(b->Tokens(), W("B", 2, 18, 19, f));
    move->SetArg(0, a);
    move->SetArg(1, b);
    for (int i = 0; i < 2; ++i) move->ArgSlots(i)->code = 1;
    Add(move->ArgSlots(0)->tokens, W("MOVE", 1, 11, 15, f));
    Add(move->ArgSlots(0)->tokens, T(SEP_SPACE, 1, 15, 1, 17, f));
    Add(move->ArgSlots(1)->tokens, T(SEP_SPACE, 1, 18, 2, 15, f));
    Add(move->ArgSlots(1)->tokens, W("TO", 2, 15, 17, f));
    Add(move->ArgSlots(1)->tokens, T(SEP_SPACE, 2, 17, 2, 18, f));
    Add(move->Tokens(), W(".", 2, 19, 20, f));
    Add(move->Tokens(), T(SEP_SPACE, 2, 20, 3, 0, f));
    return move;
}

VString Print(DovPrettyPrinterImpl& printer, DovExpr* root, DovTokenList& messages, int* rc = nullptr) {
    VString text;
    const int r = printer.PrintToString(text, root, &messages);
    if (rc) *rc = r;
    return text;
}

using vemlo_test::Texts;

TEST(PrintFromSource, AnUnchangedStatementComesOutByteForByte) {
    SourceFile src(kMoveSource);
    DovExprOper* move = MoveTree(src.Index());
    DovPrettyPrinterImpl printer;
    printer.gen_src = 1;
    DovTokenList messages;
    int rc = -1;
    const VString text = Print(printer, move, messages, &rc);
    EXPECT_EQ(rc, 0) << Texts(messages);
    EXPECT_STREQ(text.CStr(), kMoveSource);
    EXPECT_TRUE(messages.IsEmpty()) << Texts(messages);
    delete move;
}

TEST(PrintFromSource, WithoutSourcePrintingTheTemplatePrintsTheStatement) {
    SourceFile src(kMoveSource);
    DovExprOper* move = MoveTree(src.Index());
    DovPrettyPrinterImpl printer;
    DovTokenList messages;
    int rc = -1;
    const VString text = Print(printer, move, messages, &rc);
    EXPECT_EQ(rc, 0);
    EXPECT_STREQ(text.CStr(), "       MOVE A TO B\n");
    delete move;
}

TEST(PrintFromSource, AChangedChildIsPrintedThroughItsExcerptAfterTheSlotsSourceTokens) {
    SourceFile src(kMoveSource);
    DovExprOper* move = MoveTree(src.Index());
    move->SetArg(1, new DovCharString("XYZ"));  // a new node: no source mark
    move->ArgSlots(1)->code = 1;
    DovPrettyPrinterImpl printer;
    printer.gen_src = 1;
    DovTokenList messages;
    int rc = -1;
    const VString text = Print(printer, move, messages, &rc);
    EXPECT_EQ(rc, 0) << Texts(messages);
    EXPECT_STREQ(text.CStr(),
                 "000100     MOVE  A                                                      SEQ00001\n"
                 // The period's column lies left of the longer text: it
                 // starts a line of its own, under its source column.
                 "000200         TO XYZ\n"
                 "000200             .                                                    SEQ00002\n");
    delete move;
}

TEST(PrintFromSource, ANewSlotWithoutTokensIsPrintedThroughTheTemplatesExcerpt) {
    SourceFile src("000100     MOVE  A.\n");
    const int f = src.Index();
    auto* move = new DovExprOper(STMT_MOVE);
    move->SetFlag(1);
    auto* a = new DovCharString("A");
    a->SetFlag(1);
    Add(a->Tokens(), W("A", 1, 17, 18, f));
    move->SetArg(0, a);
    move->ArgSlots(0)->code = 1;
    Add(move->ArgSlots(0)->tokens, W("MOVE", 1, 11, 15, f));
    Add(move->ArgSlots(0)->tokens, T(SEP_SPACE, 1, 15, 1, 17, f));
    move->SetArg(1, new DovCharString("B"));  // added by a transformation
    Add(move->Tokens(), W(".", 1, 18, 19, f));
    DovPrettyPrinterImpl printer;
    printer.gen_src = 1;
    DovTokenList messages;
    int rc = -1;
    const VString text = Print(printer, move, messages, &rc);
    EXPECT_EQ(rc, 0) << Texts(messages);
    EXPECT_STREQ(text.CStr(), "000100     MOVE  A TO B\n000100            .\n");
    delete move;
}

// SrcPrintText on its own, inside a pass set up by hand.
struct SrcCase {
    const char* what;
    const char* source;
    int startCol;       // characters already on the output line
    char lastChar;      // the last character written before
    int code;
    int line, col, endLine, endCol;
    const char* expected;  // the output after the startCol blanks
};

TEST(SrcPrintText, CopiesAndCollapsesAsTheOutputLineRequires) {
    const SrcCase cases[] = {
        {"a word at its column", "       ABC DEF\n", 0, 0, TK_USER_DEFD_WORD, 1, 11, 1, 14, "           DEF"},
        {"a same-line space left of the column gives one blank", "       A      B\n", 20, 'A', SEP_SPACE, 1, 8, 1,
         14, " "},
        {"none after a blank", "       A      B\n", 20, ' ', SEP_SPACE, 1, 8, 1, 14, ""},
        {"a word left of the column starts a new line", "       ABC DEF\n", 20, 'x', TK_USER_DEFD_WORD, 1, 11, 1,
         14, "\n           DEF"},
        {"a space over two lines left of the column", "       A\n       B\n", 20, 'x', SEP_SPACE, 1, 8, 2, 7,
         "\n       "},
        {"a blank run is copied as it stands, a comment indicator it crosses too", "000100*X\n", 0, 0, SEP_SPACE, 1,
         0, 1, 8, "000100*X"},
    };
    for (const SrcCase& c : cases) {
        SCOPED_TRACE(c.what);
        SourceFile src(c.source);
        DovPrettyPrinterImpl printer;
        printer.gen_src = 1;
        printer.gen_line_id_comments = 0;
        PrintPass pass(printer);
        DovPrinting.CreateSourceReaders();
        for (int i = 0; i < c.startCol; ++i) PutcLine(' ', 1);
        DovPrinting.lastChar = c.lastChar;
        DovTokenList list;
        Add(list, T(c.code, c.line, c.col, c.endLine, c.endCol, src.Index()));
        EXPECT_EQ(SrcPrintText(list, 1), 0) << pass.MessageTexts().size();
        EXPECT_EQ(pass.Text(), std::string(c.startCol, ' ') + c.expected);
        EXPECT_TRUE(pass.MessageTexts().empty());
    }
}

// Whole token lists as the parser leaves them, copied back with the line-id
// setting on as a print pass has it: each comes out as its source.
struct ListTok {
    int code;
    int line, col, endLine, endCol;
    bool inOther = false;  // in the other file of the case
};
struct ListCase {
    const char* what;
    const char* source;
    std::vector<ListTok> tokens;
    const char* other = "";  // a second file some tokens come from
};

TEST(SrcPrintText, TokenListsComeBackAsTheirSource) {
    const ListCase cases[] = {
        {"a keyword pair read as one token spans the blanks between its words; the list holds them before it",
         "000100 END   PROGRAM P.\n",
         {{SEP_SPACE, 1, 6, 1, 7},
          {SEP_SPACE, 1, 10, 1, 13},
          {RW_END_PROGRAM, 1, 7, 1, 20},
          {SEP_SPACE, 1, 20, 1, 21},
          {TK_USER_DEFD_WORD, 1, 21, 1, 22},
          {SEP_DOT, 1, 22, 1, 23},
          {SEP_SPACE, 1, 23, 2, 0}}},
        {"a comment line keeps the blanks it ends with",
         "000100* NOTE  \n000200 STOP.\n",
         {{CM_COMMENT, 1, 6, 1, 12},
          {SEP_SPACE, 2, 6, 2, 7},
          {TK_USER_DEFD_WORD, 2, 7, 2, 11},
          {SEP_DOT, 2, 11, 2, 12},
          {SEP_SPACE, 2, 12, 3, 0}}},
        {"a blank run that opens the next source line starts a new output line",
         "000100     MOVE C\n000200       TO D.\n",
         {{SEP_SPACE, 1, 6, 1, 11},
          {TK_USER_DEFD_WORD, 1, 11, 1, 15},
          {SEP_SPACE, 1, 15, 1, 16},
          {TK_USER_DEFD_WORD, 1, 16, 1, 17},
          {SEP_SPACE, 2, 6, 2, 13},
          {TK_USER_DEFD_WORD, 2, 13, 2, 15},
          {SEP_SPACE, 2, 15, 2, 16},
          {TK_USER_DEFD_WORD, 2, 16, 2, 17},
          {SEP_DOT, 2, 17, 2, 18},
          {SEP_SPACE, 2, 18, 3, 0}}},
        {"text that starts past the indicator keeps a letter the line has there",
         "000100C    VALUE OF\n",
         {{SEP_SPACE, 1, 7, 1, 11},
          {TK_USER_DEFD_WORD, 1, 11, 1, 16},
          {SEP_SPACE, 1, 16, 1, 17},
          {TK_USER_DEFD_WORD, 1, 17, 1, 19},
          {SEP_SPACE, 1, 19, 2, 0}}},
        {"a blank run over two lines keeps the second line's letter indicator",
         "000100     A\n000200C    B\n",
         {{SEP_SPACE, 1, 6, 1, 11},
          {TK_USER_DEFD_WORD, 1, 11, 1, 12},
          {SEP_SPACE, 1, 12, 2, 11},
          {TK_USER_DEFD_WORD, 2, 11, 2, 12},
          {SEP_SPACE, 2, 12, 3, 0}}},
        {"the blank a COPY REPLACING phrase gives its replacement stays out of the copybook text",
         "000100     SELECT OLD-NAME ASSIGN.\n",
         {{SEP_SPACE, 1, 6, 1, 11},
          {TK_USER_DEFD_WORD, 1, 11, 1, 17},
          {SEP_SPACE, 1, 17, 1, 18},
          {SEP_SPACE, 1, 33, 1, 34, true},
          {TK_USER_DEFD_WORD, 1, 18, 1, 26},
          {SEP_SPACE, 1, 26, 1, 27},
          {TK_USER_DEFD_WORD, 1, 27, 1, 33},
          {SEP_DOT, 1, 33, 1, 34},
          {SEP_SPACE, 1, 34, 2, 0}},
         "000900     COPY BOOK REPLACING OLD-NAME BY NEW-NAME.\n"},
    };
    for (const ListCase& c : cases) {
        SCOPED_TRACE(c.what);
        SourceFile src(c.source), other(c.other, "other.cbl");
        DovPrettyPrinterImpl printer;
        printer.gen_src = 1;
        PrintPass pass(printer);
        DovPrinting.CreateSourceReaders();
        DovTokenList list;
        for (const ListTok& t : c.tokens)
            Add(list, T(t.code, t.line, t.col, t.endLine, t.endCol, t.inOther ? other.Index() : src.Index()));
        EXPECT_EQ(SrcPrintText(list, 1), 0);
        if (DovPrinting.g_xpos > 0) PutcLine('\n', 1);
        EXPECT_EQ(pass.Text(), c.source);
        EXPECT_TRUE(pass.MessageTexts().empty());
    }
}

TEST(SrcPrintText, ACopybookThatEndsInsideAStatementIsClosedWhenTheIncludingTextGoesOn) {
    const char kMain[] = "000100 COPY BOOK.\n000200     DISPLAY A.\n";
    const char kBook[] = "000010     IF A = B\n000020* LAST LINE OF THE BOOK\n";
    SourceFile main(kMain), book(kBook, "book.cpy");
    const int m = main.Index(), b = book.Index();
    DovPrettyPrinterImpl printer;
    printer.gen_src = 1;
    PrintPass pass(printer);
    DovPrinting.CreateSourceReaders();
    DovPrinting.copyDir = VString((book.Dir().string() + "/").c_str());
    auto copy = [](std::initializer_list<DovToken*> tokens) {
        DovTokenList list;
        for (DovToken* t : tokens) Add(list, t);
        EXPECT_EQ(SrcPrintText(list, 1), 0);
    };
    copy({T(SEP_SPACE, 1, 6, 1, 7, m), T(TK_COPY, 1, 7, 1, 11, m), T(SEP_SPACE, 1, 11, 1, 12, m),
          T(TK_USER_DEFD_WORD, 1, 12, 1, 16, m), T(SEP_DOT, 1, 16, 1, 17, m)});
    // The copybook's level, opened as its begin node opens it.
    const fs::path written = book.Dir() / "BOOK.out";
    auto* out = new std::ofstream(written, std::ios::binary);
    DovPrintState& st = DovPrinting;
    st.copyLevels[1] = DovPrintCopyLevel{};
    st.copyLevels[1].fileName = "BOOK";
    st.copyLevels[1].stream = out;
    st.copyLevels[0].savedXpos = st.g_xpos;
    st.copyLevels[0].savedSrcPosn = st.last_line_src_posn;
    st.copyLevels[0].savedLineNo = st.line_no;
    st.g_xpos = 0;
    st.last_line_src_posn = DovNullPosn;
    st.currentLevel = 2;
    copy({T(SEP_SPACE, 1, 6, 1, 11, b), T(TK_USER_DEFD_WORD, 1, 11, 1, 13, b), T(SEP_SPACE, 1, 13, 1, 14, b),
          T(TK_USER_DEFD_WORD, 1, 14, 1, 15, b), T(SEP_SPACE, 1, 15, 1, 16, b), T(OP_EQ, 1, 16, 1, 17, b),
          T(SEP_SPACE, 1, 17, 1, 18, b), T(TK_USER_DEFD_WORD, 1, 18, 1, 19, b)});
    // The statement goes on in the including file, before any end node; the
    // copybook's last comment line is kept before the including file's next
    // word, as the parser leaves it.
    copy({T(CM_COMMENT, 2, 6, 2, 30, b), T(SEP_SPACE, 2, 6, 2, 11, m), T(TK_USER_DEFD_WORD, 2, 11, 2, 18, m), T(SEP_SPACE, 2, 18, 2, 19, m),
          T(TK_USER_DEFD_WORD, 2, 19, 2, 20, m), T(SEP_DOT, 2, 20, 2, 21, m), T(SEP_SPACE, 2, 21, 3, 0, m)});
    EXPECT_EQ(st.currentLevel, 1);
    EXPECT_EQ(pass.Text(), kMain);
    std::ifstream in(written, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, kBook);
    EXPECT_TRUE(pass.MessageTexts().empty());
}

TEST(SrcPrintText, ASourceThatEndsInsideATokenGivesTheEofMessage) {
    SourceFile src("       ABC");  // no line end: the token runs past the end
    DovPrettyPrinterImpl printer;
    printer.gen_src = 1;
    PrintPass pass(printer);
    DovPrinting.CreateSourceReaders();
    DovTokenList list;
    Add(list, T(TK_USER_DEFD_WORD, 1, 7, 1, 20, src.Index()));
    int ended = -1;
    EXPECT_EQ(SrcPrintText(list, 1, &ended), '/');
    ASSERT_EQ(pass.MessageTexts().size(), 1u);
    EXPECT_EQ(pass.MessageTexts()[0], "SrcPrintText: EOF where text is expected");
    EXPECT_EQ(pass.Messages().First()->code, MSG_SEVERE);
}

TEST(SrcPrintText, LineIdCommentsKeepTheSequenceArea) {
    SourceFile src("123456     MOVE\n");
    DovPrettyPrinterImpl printer;
    printer.gen_src = 1;
    PrintPass pass(printer);
    DovPrinting.CreateSourceReaders();
    DovTokenList list;
    Add(list, W("MOVE", 1, 11, 15, src.Index()));
    EXPECT_EQ(SrcPrintText(list, 1), 0);
    EXPECT_EQ(pass.Text(), "123456     MOVE");
}

TEST(SrcPrintText, AFreeFormatLineHasNoSequenceAreaToCopy) {
    SourceFile src("    DISPLAY X\n");
    DovPrettyPrinterImpl printer;
    printer.gen_src = 1;
    printer.gen_line_format = DOV_GEN_LF_FREE;
    PrintPass pass(printer);
    DovPrinting.CreateSourceReaders();
    DovTokenList list;
    Add(list, W("X", 1, 12, 13, src.Index()));
    EXPECT_EQ(SrcPrintText(list, 1), 0);
    EXPECT_EQ(pass.Text(), "            X");
}

TEST(SrcPrintText, CommentsWithoutPositionsPrintOnlyWhenCommentsArePrinted) {
    for (int printComments : {0, 1}) {
        DovPrettyPrinterImpl printer;
        printer.gen_src = 1;
        printer.gen_print_comments = printComments;
        PrintPass pass(printer);
        DovTokenList list;
        Add(list, new DovToken(CM_COMMENT, "*NOTE"));
        int ended = -1;
        EXPECT_EQ(SrcPrintText(list, 1, &ended), 0);
        EXPECT_EQ(ended, printComments);
        EXPECT_EQ(pass.Text().find("*NOTE") != std::string::npos, printComments == 1) << pass.Text();
    }
}

TEST(SrcPrintText, RefusalsStopTheList) {
    DovPrettyPrinterImpl printer;
    printer.gen_src = 1;
    {
        PrintPass pass(printer);  // no readers: every file index is bad
        DovTokenList list;
        Add(list, W("A", 1, 7, 8, 3));
        Add(list, W("B", 1, 9, 10, 3));
        EXPECT_EQ(SrcPrintText(list, 1), '0');
        EXPECT_EQ(pass.MessageTexts(), std::vector<std::string>{"SrcPrintText: bad file_ix 3"});
    }
    {
        PrintPass pass(printer);
        DovTokenList list;
        Add(list, new DovToken(CM_COMMENT, "*X", DovTxtPosnRange{P(1, 7), DovNullPosn}));
        EXPECT_EQ(SrcPrintText(list, 1), 0);
        EXPECT_EQ(pass.MessageTexts(), std::vector<std::string>{"SrcPrintText: token bad beg or end position. Ignored."});
    }
}

TEST(ComputeCGexcerpt, ExcerptsOfListsConditionalsAndPlainArguments) {
    DovPrettyPrinterImpl printer;
    PrintPass pass(printer);
    ASSERT_EQ(RecomputeGenTable(&printer), 0);
    auto* list = new DovExprOper(EX_LIST);
    for (int i = 0; i < 3; ++i) list->AddArg(new DovCharString("x"));
    auto* move = new DovExprOper(STMT_MOVE);
    move->SetArg(0, new DovCharString("A"));
    move->SetArg(1, list);
    struct Case {
        DovExpr* holder;
        int index;
        const char* excerpt;
    } cases[] = {
        {list, 0, "$1"},
        {list, 2, "&$3"},  // a changed third element: its separator, then the element
        {move, 0, "$1"},
        {move, 1, "|TO $2"},
    };
    for (const Case& c : cases) {
        VString excerpt;
        DovPrintSlot entry{c.holder->ArgSlots(c.index), c.holder, c.index};
        EXPECT_EQ(ComputeCGexcerpt(excerpt, entry), 0);
        EXPECT_STREQ(excerpt.CStr(), c.excerpt);
    }
    EXPECT_TRUE(pass.MessageTexts().empty());
    delete move;
}

TEST(ComputeCGexcerpt, AnArgumentTheTemplateDoesNotPrintIsWarnedAbout) {
    DovPrettyPrinterImpl printer;
    PrintPass pass(printer);
    ASSERT_EQ(RecomputeGenTable(&printer), 0);
    auto* copyBeg = new DovExprOper(STMT_INLINED_COPY_BEG);
    copyBeg->SetArg(2, new DovCharString("BOOK"));  // the real file name, not in the template
    VString excerpt = "old";
    DovPrintSlot entry{copyBeg->ArgSlots(2), copyBeg, 2};
    EXPECT_EQ(ComputeCGexcerpt(excerpt, entry), 0);
    EXPECT_TRUE(excerpt.IsEmpty());
    ASSERT_EQ(pass.MessageTexts().size(), 1u);
    EXPECT_NE(pass.MessageTexts()[0].find(
                  "ComputeCGexcerpt: oper STMT_INLINED_COPY_BEG: printing arg #3 that is not in the table"),
              std::string::npos)
        << pass.MessageTexts()[0];
    delete copyBeg;
}

}  // namespace
