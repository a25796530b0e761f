// The node print operations: copybook output (inline and into files),
// string literals with continuation lines, symbol-table nodes, and the
// order in which an unchanged node's clauses come out.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "tests/support/files.h"
#include "tests/printer/printer_fixture.h"

namespace {

namespace fs = std::filesystem;
using vemlo_test::Add;
using vemlo_test::P;
using vemlo_test::PrintPass;
using vemlo_test::ResetPrintState;
using vemlo_test::W;

DovExprOper* Move(const char* from, const char* to) {
    return new DovExprOper(STMT_MOVE, new DovCharString(from), new DovCharString(to));
}

// A copybook begin node: the name of the COPY statement and the file read
// for it (the same unless given).
DovExprOper* CopyBeg(const char* name, int level, const char* fileRead = nullptr) {
    auto* beg = new DovExprOper(STMT_INLINED_COPY_BEG);
    beg->SetArg(0, new DovCharString(name));
    beg->SetArg(2, new DovCharString(fileRead ? fileRead : name));
    beg->SetArg(3, new DovIntNumConst(level));
    return beg;
}

DovExprOper* CopyEnd(const char* name, int level) {
    auto* end = new DovExprOper(STMT_INLINED_COPY_END);
    end->SetArg(0, new DovCharString(name));
    end->SetArg(1, new DovIntNumConst(level));
    return end;
}

// MOVE A TO B, COPY name (MOVE C TO D), MOVE E TO F.
DovExprOper* ProgramWithCopybook(const char* begName, const char* endName) {
    auto* list = new DovExprOper(STMT_LIST);
    list->AddArg(Move("A", "B"));
    list->AddArg(CopyBeg(begName, 1));
    list->AddArg(Move("C", "D"));
    list->AddArg(CopyEnd(endName, 1));
    list->AddArg(Move("E", "F"));
    return list;
}

bool HasText(const DovTokenList& list, const std::string& part) {
    for (const DovToken* t : list)
        if (std::string(t->image.CStr()).find(part) != std::string::npos) return true;
    return false;
}

class TempDir {
public:
    TempDir() {
        path_ = fs::temp_directory_path() / ("vemlo_print_oper_" + std::to_string(::getpid()) + "_" + std::to_string(++n_));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& Path() const { return path_; }

private:
    static inline int n_ = 0;
    fs::path path_;
};

TEST(CopybookOutput, WithoutACopyDirectoryTheCopybookIsPrintedInlineBetweenComments) {
    ResetPrintState();
    DovPrettyPrinterImpl printer;
    DovExprOper* program = ProgramWithCopybook("BOOK", "BOOK");
    VString text;
    DovTokenList messages;
    EXPECT_EQ(printer.PrintToString(text, program, &messages), 0);
    EXPECT_STREQ(text.CStr(),
                 "       MOVE A TO B\n"
                 "      * === Enter copylib BOOK ===\n"
                 "       MOVE C TO D\n"
                 "      * === Exit copylib BOOK ===\n"
                 "       MOVE E TO F\n");
    EXPECT_TRUE(messages.IsEmpty());
    delete program;
}

TEST(CopybookOutput, WithACopyDirectoryTheCopybookGoesIntoItsOwnFile) {
    ResetPrintState();
    TempDir dir;
    for (const std::string& copyDir : {dir.Path().string(), dir.Path().string() + "/"}) {
        SCOPED_TRACE(copyDir);
        DovPrettyPrinterImpl printer;
        printer.gen_copy_dir = copyDir.c_str();
        DovExprOper* program = ProgramWithCopybook("sub/BOOK", "sub/BOOK");
        VString text;
        DovTokenList messages;
        EXPECT_EQ(printer.PrintToString(text, program, &messages), 0);
        EXPECT_STREQ(text.CStr(),
                     "       MOVE A TO B\n"
                     "       COPY sub/BOOK.\n"
                     "       MOVE E TO F\n");
        const std::string book = vemlo_test::ReadFileBytes(dir.Path() / "sub" / "BOOK");
        EXPECT_NE(book.find("       MOVE C TO D\n"), std::string::npos) << book;
        EXPECT_EQ(book.find("MOVE A"), std::string::npos);
        EXPECT_TRUE(messages.IsEmpty());
        delete program;
        fs::remove_all(dir.Path() / "sub");
    }
}

TEST(CopybookOutput, TheFileTakesTheStatementsNameAndTheExtensionOfTheFileRead) {
    struct Case {
        const char* statementName;
        const char* fileRead;
        const char* written;
    } cases[] = {
        {"BOOK", "/library/copy/book.cpy", "BOOK.cpy"},
        {"'BOOK'", "/library/copy/BOOK.CPY", "BOOK.CPY"},
        {"BOOK.cpy", "/library/copy/BOOK.cpy", "BOOK.cpy"},
        {"BOOK", "/library/copy/BOOK", "BOOK"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.statementName);
        ResetPrintState();
        TempDir dir;
        DovPrettyPrinterImpl printer;
        printer.gen_copy_dir = dir.Path().string().c_str();
        auto* list = new DovExprOper(STMT_LIST);
        list->AddArg(CopyBeg(c.statementName, 1, c.fileRead));
        list->AddArg(Move("C", "D"));
        list->AddArg(CopyEnd(c.fileRead, 1));
        VString text;
        DovTokenList messages;
        EXPECT_EQ(printer.PrintToString(text, list, &messages), 0);
        EXPECT_TRUE(messages.IsEmpty());
        EXPECT_NE(vemlo_test::ReadFileBytes(dir.Path() / c.written).find("MOVE C TO D"), std::string::npos);
        delete list;
    }
}

TEST(CopybookOutput, AnEndNodeOfAnotherNameIsInlineAndTheCopybookStaysOpen) {
    ResetPrintState();
    TempDir dir;
    DovPrettyPrinterImpl printer;
    printer.gen_copy_dir = dir.Path().string().c_str();
    DovExprOper* program = ProgramWithCopybook("BOOK", "OTHER");
    VString text;
    DovTokenList messages;
    EXPECT_EQ(printer.PrintToString(text, program, &messages), 0);
    EXPECT_TRUE(HasText(messages, "SourcePrint: finishing Copybook 'OTHER' of level 1: this copybook was not "
                                  "started. Finish command ignored."));
    // The rest of the program went into the copybook that stayed open.
    EXPECT_STREQ(text.CStr(), "       MOVE A TO B\n       COPY BOOK.");
    const std::string book = vemlo_test::ReadFileBytes(dir.Path() / "BOOK");
    EXPECT_NE(book.find("* === Exit copylib OTHER ==="), std::string::npos) << book;
    EXPECT_NE(book.find("MOVE E TO F"), std::string::npos) << book;
    delete program;
}

TEST(CopybookOutput, ABeginNodeOfAnotherLevelIsInline) {
    ResetPrintState();
    TempDir dir;
    DovPrettyPrinterImpl printer;
    printer.gen_copy_dir = dir.Path().string().c_str();
    auto* list = new DovExprOper(STMT_LIST);
    list->AddArg(CopyBeg("BOOK", 3));
    list->AddArg(Move("C", "D"));
    VString text;
    DovTokenList messages;
    EXPECT_EQ(printer.PrintToString(text, list, &messages), 0);
    EXPECT_TRUE(HasText(messages, "SourcePrint: starting Copybook 'BOOK' of level 3: copybook was NOT expected to be "
                                  "started at level 1. Copybook creation command ignored."));
    EXPECT_FALSE(fs::exists(dir.Path() / "BOOK"));
    EXPECT_NE(std::string(text.CStr()).find("* === Enter copylib BOOK ==="), std::string::npos);
    delete list;
}

TEST(CopybookOutput, ANameThatLeavesTheCopyDirectoryIsRefused) {
    ResetPrintState();
    TempDir dir;
    const fs::path inner = dir.Path() / "copies";
    fs::create_directories(inner);
    const std::string absolute = (dir.Path() / "abs-book").string();
    for (const std::string& name : {std::string("../escaped"), std::string("a/../../escaped"), absolute}) {
        SCOPED_TRACE(name);
        DovPrettyPrinterImpl printer;
        printer.gen_copy_dir = inner.string().c_str();
        DovExprOper* program = ProgramWithCopybook(name.c_str(), name.c_str());
        VString text;
        DovTokenList messages;
        EXPECT_EQ(printer.PrintToString(text, program, &messages), kDovCopybookRefused);
        EXPECT_TRUE(HasText(messages, "SourcePrint: copybook name '" + name +
                                          "' leads outside the copy directory; copybook not written"));
        EXPECT_FALSE(fs::exists(dir.Path() / "escaped"));
        EXPECT_FALSE(fs::exists(absolute));
        EXPECT_TRUE(fs::is_empty(inner));
        delete program;
    }
}

TEST(CopybookOutput, TheFileTakesTheNameTheCopyStatementGivesNotThePathThatWasRead) {
    ResetPrintState();
    TempDir dir;
    const fs::path copies = dir.Path() / "copies";
    fs::create_directories(copies);
    // The parser records the path of the file it read, absolute when the
    // copy library was given so.
    const std::string read = (dir.Path() / "lib" / "book.cpy").string();
    DovExprOper* program = ProgramWithCopybook(read.c_str(), read.c_str());
    program->Args(1)->SetArg(0, new DovCharString("BOOK"));
    DovPrettyPrinterImpl printer;
    printer.gen_copy_dir = copies.string().c_str();
    VString text;
    DovTokenList messages;
    EXPECT_EQ(printer.PrintToString(text, program, &messages), 0);
    EXPECT_TRUE(messages.IsEmpty());
    EXPECT_STREQ(text.CStr(), "       MOVE A TO B\n       COPY BOOK.\n       MOVE E TO F\n");
    EXPECT_NE(vemlo_test::ReadFileBytes(copies / "BOOK.cpy").find("MOVE C TO D"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir.Path() / "lib"));
    delete program;
}

TEST(CopybookOutput, ACopybookThatCannotBeWrittenIsReported) {
    ResetPrintState();
    TempDir dir;
    std::ofstream(dir.Path() / "file") << "x";  // a file where a directory would have to be
    DovPrettyPrinterImpl printer;
    printer.gen_copy_dir = dir.Path().string().c_str();
    DovExprOper* program = ProgramWithCopybook("file/BOOK", "file/BOOK");
    VString text;
    DovTokenList messages;
    const int rc = printer.PrintToString(text, program, &messages);
    EXPECT_TRUE(rc == kDovCopybookRefused || rc == 10) << rc;
    EXPECT_TRUE(HasText(messages, "SourcePrint: cannot create directory") ||
                HasText(messages, "Starting Copybook: cannot open file 'file/BOOK' for write"));
    delete program;
}

TEST(StringLiteral, ALongLiteralContinuesUnderItsQuote) {
    ResetPrintState();
    DovPrettyPrinterImpl printer;
    const std::string body(78, 'A');
    auto* lit = new DovStrConst(VString(("'" + body + "'").c_str()), VString(body.c_str()));
    VString text;
    DovTokenList messages;
    EXPECT_EQ(printer.PrintToString(text, lit, &messages), 0);
    EXPECT_STREQ(text.CStr(), ("       '" + std::string(64, 'A') + "\n      -    '" + std::string(14, 'A') + "'\n").c_str());
    EXPECT_TRUE(messages.IsEmpty());
    delete lit;
}

TEST(StringLiteral, ALiteralStartsInAreaBOrAreaAWhenItFitsThereOnly) {
    struct Case {
        int length;
        int blanks;
    } cases[] = {{60, 11}, {63, 7}};
    for (const Case& c : cases) {
        DovPrettyPrinterImpl printer;
        PrintPass pass(printer);
        DovPrinting.g_xs = 2;  // its indentation column 13 leaves no room
        const std::string image = "\"" + std::string(c.length - 2, 'Q') + "\"";
        DovStrConst lit(VString(image.c_str()), VString());
        EXPECT_EQ(DovPrettyPrintNode(&lit, 0, 0), 0);
        EXPECT_EQ(pass.Text(), std::string(c.blanks, ' ') + image);
    }
}

TEST(PrintOperations, SymbolTableNodesPrintNothing) {
    ResetPrintState();
    DovPrettyPrinterImpl printer;
    auto* list = new DovExprOper(STMT_LIST);
    list->AddArg(Move("A", "B"));
    auto* symbols = new DovExprOper(SYMBOL_TABLE_ELT_LIST);
    symbols->AddArg(new DovExprOper(SYMBOL_TABLE_ELT));
    list->AddArg(symbols);
    VString text;
    DovTokenList messages;
    EXPECT_EQ(printer.PrintToString(text, list, &messages), 0);
    EXPECT_STREQ(text.CStr(), "       MOVE A TO B\n");
    delete list;
}

TEST(PrintOperations, TheTreesVirtualPrintOperationReachesThePrinter) {
    DovPrettyPrinterImpl printer;
    PrintPass pass(printer);
    DovCharString leaf("WORD");
    leaf.PrettyPrintOper(1);  // length pass
    EXPECT_EQ(DovLastPrintResult, 0);
    EXPECT_EQ(leaf.PrintedLength(), 4);
    EXPECT_EQ(pass.Text(), "");
    DovPrinting.g_xpos = 0;
    leaf.PrettyPrintOper(0);
    EXPECT_EQ(pass.Text(), "       WORD");
}

// An unchanged data entry whose clauses stand in the source in another
// order than in its slots, read from a real source file.
class SourceFile {
public:
    explicit SourceFile(const std::string& text) {
        std::string name = "vemlo_print_oper_src_" + std::to_string(::getpid()) + ".cbl";
        path_ = fs::temp_directory_path() / name;
        std::ofstream(path_, std::ios::binary) << text;
        index_ = DovSrcFileNames().FindOrAdd(VString(path_.string().c_str()), false, true);
    }
    ~SourceFile() { fs::remove(path_); }
    int Index() const { return index_; }

private:
    fs::path path_;
    int index_;
};

DovExpr* SrcLeaf(const char* image, int line, int col, int end, int file) {
    DovExpr* leaf = vemlo_test::Leaf(image, line, col, end, file);
    leaf->SetFlag(1);
    return leaf;
}

TEST(PrintOperations, ClausesOfAnUnchangedNodeComeOutInSourceOrder) {
    const char source[] = "       01  X  FIRST SECOND.\n";
    SourceFile src(source);
    const int f = src.Index();
    for (bool badFixedOrder : {false, true}) {
        SCOPED_TRACE(badFixedOrder);
        ResetPrintState();
        auto* entry = new DovExprOper(DECL_DD_ENTRY);
        entry->SetFlag(1);
        entry->SetArg(0, SrcLeaf("01", 1, 7, 9, f), badFixedOrder ? 1 : 0);
        entry->SetArg(2, SrcLeaf("X", 1, 11, 12, f), badFixedOrder ? 0 : 1);
        // Two free clauses, in the source the other way round than in
        // their slots; their order indexes follow the fixed clauses'.
        entry->SetArg(6, SrcLeaf("FIRST", 1, 14, 19, f), 2);
        entry->SetArg(5, SrcLeaf("SECOND", 1, 20, 26, f), 3);
        for (int i = 0; i < entry->NumArgs(); ++i) entry->ArgSlots(i)->code = 1;
        Add(entry->Tokens(), W(".", 1, 26, 27, f));
        Add(entry->Tokens(), new DovToken(SEP_SPACE, "", DovTxtPosnRange{P(1, 27, f), P(2, 0, f)}));
        DovPrettyPrinterImpl printer;
        printer.gen_src = 1;
        VString text;
        DovTokenList messages;
        EXPECT_EQ(printer.PrintToString(text, entry, &messages), 0);
        EXPECT_STREQ(text.CStr(), source);
        EXPECT_EQ(HasText(messages, "SourcePrint: bad order of fixed clauses in DECL_DD_ENTRY"), badFixedOrder);
        delete entry;
    }
}

}  // namespace
