// The parse run: statuses, the grammar and printer hooks, lex-only mode, the
// lexer's settings and a clean start after every kind of return.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "parser/parser.h"
#include "tests/lexer/temp_dir.h"
#include "tests/support/child_process.h"
#include "tree/walk.h"

namespace {

struct Caught {
    int level;
    DovTxtPosn posn;
    std::string text;
};

std::vector<Caught> callbackMessages;
std::vector<Caught> hookMessages;
std::vector<std::string> progressTexts;
std::vector<DovExpr*> slotPosnRoots;
std::function<int()> grammarBody;
std::vector<std::string> grammarCalls;

void CatchCallback(int level, const DovTxtPosn& posn, const VString& text) {
    callbackMessages.push_back({level, posn, text.CStr()});
}
void CatchHook(int level, const DovTxtPosn& posn, const VString& text) {
    hookMessages.push_back({level, posn, text.CStr()});
}
void CatchProgress(const DovTxtPosn& posn, const VString& text) {
    EXPECT_TRUE(posn.IsNull());
    progressTexts.push_back(text.CStr());
}

class ParseRun : public ::testing::Test {
protected:
    void SetUp() override {
        savedGrammar = DovGrammar;
        savedSlotPosn = DovSlotPosnHook;
        savedHook = DovMessageHook;
        DovGrammar = DovGrammarHooks();
        DovGrammar.parse = [] {
            grammarCalls.push_back("parse");
            EXPECT_NE(WorkingParser, nullptr);
            return grammarBody ? grammarBody() : 0;
        };
        DovGrammar.clearState = [] { grammarCalls.push_back("clear"); };
        DovGrammar.dropLeftovers = [] { grammarCalls.push_back("drop"); };
        DovSlotPosnHook = [](DovExpr* root) { slotPosnRoots.push_back(root); };
        DovMessageHook = CatchHook;
        callbackMessages.clear();
        hookMessages.clear();
        progressTexts.clear();
        slotPosnRoots.clear();
        grammarCalls.clear();
        grammarBody = nullptr;
        parser.messageCallback = CatchCallback;
        VString error;
        ASSERT_EQ(parser.ResolveDialectDefaults(error), 0);
        source = dir.Write("prog.cbl",
                           "000100 IDENTIFICATION DIVISION.\n"
                           "000200 PROGRAM-ID. P.\n"
                           "000300 PROCEDURE DIVISION.\n"
                           "000400     STOP RUN.\n");
    }
    void TearDown() override {
        DovGrammar = savedGrammar;
        DovSlotPosnHook = savedSlotPosn;
        DovMessageHook = savedHook;
        grammarBody = nullptr;
        EXPECT_EQ(WorkingParser, nullptr);
    }

    // Parses the test source; the tree is kept in `root`.
    int ParseSource() {
        delete root;
        root = nullptr;
        return parser.Parse(source.c_str(), root, &messages);
    }

    ~ParseRun() override { delete root; }

    vemlo_test::TempDir dir;
    std::string source;
    DovParserImpl parser;
    DovExpr* root = nullptr;
    DovTokenList messages;
    DovGrammarHooks savedGrammar;
    DovSlotPosnFn savedSlotPosn = nullptr;
    DovMessageCallback savedHook = nullptr;
};

int CountCode(const DovTokenList& list, int code) {
    int n = 0;
    for (const DovToken* t : list) n += t->code == code;
    return n;
}

TEST_F(ParseRun, AMissingFileGivesTheLexersStatusAndMessage) {
    DovNullNode placeholder;
    root = &placeholder;  // the caller's root is cleared
    EXPECT_EQ(parser.Parse(dir.Path("absent.cbl").c_str(), root, &messages), 11);
    EXPECT_EQ(root, nullptr);
    if (root == &placeholder) root = nullptr;
    EXPECT_EQ(WorkingParser, nullptr);
    ASSERT_EQ(CountCode(messages, MSG_ERR), 1);
    EXPECT_NE(messages.First()->image.Find("absent.cbl"), -1) << messages.First()->image;
    EXPECT_TRUE(grammarCalls.empty());
    // The same object parses the next file.
    messages.Clear();
    EXPECT_EQ(ParseSource(), 0);
    ASSERT_NE(root, nullptr);
}

TEST_F(ParseRun, DialectsTheGrammarRefusesGive20BeforeTheFileIsOpened) {
    for (int dialect : {DIAL_WANG, DIAL_DML}) {
        SCOPED_TRACE(dialect);
        callbackMessages.clear();
        DovParserImpl refusing;
        refusing.messageCallback = CatchCallback;
        DovDialsAdd(refusing.dials, DIAL_ANSI85);
        DovDialsAdd(refusing.dials, dialect);
        DovExpr* none = nullptr;
        DovTokenList list;
        EXPECT_EQ(refusing.Parse(dir.Path("absent.cbl").c_str(), none, &list), 20);
        EXPECT_EQ(none, nullptr);
        EXPECT_TRUE(list.IsEmpty());
        ASSERT_EQ(callbackMessages.size(), 1u);
        EXPECT_EQ(callbackMessages[0].level, MSG_SEVERE);
        EXPECT_EQ(callbackMessages[0].text,
                  std::string("Parser cannot parse this mix of dialects: ") + DovDialsText(refusing.dials).CStr());
        EXPECT_EQ(refusing.lexer.dials, DovNoDials());  // the lexer is not touched
        EXPECT_EQ(WorkingParser, nullptr);
        // And it parses once the set is acceptable.
        refusing.dials = DovNoDials();
        DovDialsAdd(refusing.dials, DIAL_MF);
        EXPECT_EQ(refusing.Parse(source.c_str(), none, &list), 0);
        delete none;
    }
    // An installed grammar answers for itself.
    DovGrammar.acceptsDials = [](DovDials) { return false; };
    EXPECT_EQ(ParseSource(), 20);
}

TEST_F(ParseRun, LexOnlyReadsEveryTokenAndBuildsNoTree) {
    parser.lexOnly = 1;
    DovNullNode placeholder;
    root = &placeholder;
    EXPECT_EQ(parser.Parse(source.c_str(), root, &messages), 0);
    EXPECT_EQ(root, nullptr);
    if (root == &placeholder) root = nullptr;
    EXPECT_TRUE(grammarCalls.empty());
    EXPECT_EQ(parser.lineCount, 4);
    // IDENTIFICATION DIVISION . PROGRAM-ID . P . PROCEDURE DIVISION . STOP RUN . and the end
    EXPECT_EQ(parser.tokenCount, 14);
    EXPECT_EQ(WorkingParser, nullptr);
    // Messages still reach the list, and still leave the status at 0.
    const std::string bad = dir.Write("bad.cbl", "000100 MOVE 'OPEN TO X.\n");
    EXPECT_EQ(parser.Parse(bad.c_str(), root, &messages), 0);
    EXPECT_EQ(CountCode(messages, MSG_ERR), 1);
    EXPECT_EQ(parser.lineCount, 1);
}

TEST_F(ParseRun, WarningsOnlyWithWarningsOffGive1AndAnEmptyList) {
    grammarBody = [] {
        WorkingParser->ParserError(MSG_WARN, DovTxtPosn(2, 7, 0), "a warning");
        WorkingParser->ParserError(MSG_INFO, DovTxtPosn(2, 7, 0), "some information");
        return 0;
    };
    parser.keepWarnings = 0;
    EXPECT_EQ(ParseSource(), 1);
    EXPECT_TRUE(messages.IsEmpty());
    ASSERT_EQ(callbackMessages.size(), 1u);  // information goes to the callback only
    EXPECT_EQ(callbackMessages[0].level, MSG_INFO);
    parser.keepWarnings = 1;
    EXPECT_EQ(ParseSource(), 1);
    EXPECT_EQ(CountCode(messages, MSG_WARN), 1);
}

TEST_F(ParseRun, AnErrorAlreadyInTheListGives2) {
    messages.AddNewToken(MSG_ERR, DovNullPosn, "from before");
    EXPECT_EQ(ParseSource(), 2);
    messages.Clear();
    grammarBody = [] {
        WorkingParser->ParserError(MSG_WARN, DovNullPosn, "w");
        WorkingParser->ParserError(MSG_ERR, DovNullPosn, "e");
        WorkingParser->ParserError(MSG_WARN, DovNullPosn, "w");
        return 0;
    };
    EXPECT_EQ(ParseSource(), 2);
    // Severe messages go to the callback and leave the status alone.
    messages.Clear();
    grammarBody = [] {
        WorkingParser->ParserError(MSG_SEVERE, DovNullPosn, "s");
        return 0;
    };
    EXPECT_EQ(ParseSource(), 0);
    ASSERT_EQ(callbackMessages.size(), 1u);
    EXPECT_EQ(callbackMessages[0].level, MSG_SEVERE);
}

TEST_F(ParseRun, ANestedParseIsRefusedWith23) {
    DovParserImpl other;
    int inner = -1, innerOther = -1;
    grammarBody = [&] {
        DovExpr* r = nullptr;
        DovTokenList l;
        inner = parser.Parse(source.c_str(), r, &l);
        innerOther = other.Parse(source.c_str(), r, &l);
        EXPECT_EQ(WorkingParser, &parser);  // the working instance stays registered
        EXPECT_TRUE(l.IsEmpty());
        return 0;
    };
    EXPECT_EQ(ParseSource(), 0);
    EXPECT_EQ(inner, 23);
    EXPECT_EQ(innerOther, 23);
    ASSERT_EQ(hookMessages.size(), 2u);
    EXPECT_EQ(hookMessages[0].level, MSG_TERMINAL);
    EXPECT_TRUE(hookMessages[0].posn.IsNull());
    EXPECT_EQ(hookMessages[0].text, "Cannot have more than one working instance of DovParserImpl object");
    EXPECT_EQ(WorkingParser, nullptr);
    grammarBody = nullptr;
    EXPECT_EQ(ParseSource(), 0);
    delete root;
    EXPECT_EQ(other.Parse(source.c_str(), root, &messages), 0);
}

TEST_F(ParseRun, AGrammarFailureGives3AndTheNextParseStartsClean) {
    grammarBody = [] {
        DovParserImpl* p = WorkingParser;
        p->ParserError(MSG_ERR, DovNullPosn, "syntax error");
        // Leave every kind of state behind: a pending error node inside a
        // loose data list, an open program holding the current section, a
        // loose record on the level stack, queued tokens, a pushed-back item.
        DovExpr* errNode = GenErrNode(p);
        p->dataList = DovListExpr(DECL_DD_LIST, errNode, nullptr);
        DovExpr* program = new DovExprOper(COBOL_PROGRAM);
        p->programStack[p->programCount++] = program;
        p->currentSection = new DovExprOper(SECTION_PROC);
        program->SetArg(0, p->currentSection);
        p->levelStack[0].holder = new DovExprOper(DECL_DD);
        p->levelStack[0].level = 1;
        p->levelDepth = 1;
        p->parkedMarkers = new DovExprOper(DECL_DD_LIST);
        p->trailingTokens.AddNewToken(SEP_DOT, DovNullPosn, ".");
        p->noteQueue.AddNewToken(CM_COMMENT, DovNullPosn, "* note");
        p->pushedBack = new DovTokenItem(new DovToken(SEP_DOT, "."));
        p->noteComment = new DovToken(CM_PERSISTENT, "* ");
        DovTokenItem* exec = new DovTokenItem(new DovToken(TK_CHAR_STRING, "SELECT"));
        CollectExecToken(exec);
        p->currencySign = '#';
        p->procDivision = 1;
        p->nameClassification = 0;
        return 1;
    };
    DovNullNode placeholder;
    root = &placeholder;
    EXPECT_EQ(parser.Parse(source.c_str(), root, &messages), 3);
    EXPECT_EQ(root, nullptr);
    if (root == &placeholder) root = nullptr;
    EXPECT_EQ(CountCode(messages, MSG_ERR), 1);  // the messages stay
    EXPECT_EQ(WorkingParser, nullptr);
    EXPECT_EQ(grammarCalls, (std::vector<std::string>{"clear", "parse", "drop"}));

    bool checked = false;
    grammarBody = [&] {
        DovParserImpl* p = WorkingParser;
        EXPECT_EQ(p->errNode, nullptr);
        EXPECT_EQ(p->dataList, nullptr);
        EXPECT_EQ(p->parkedMarkers, nullptr);
        EXPECT_EQ(p->programCount, 1);
        EXPECT_EQ(p->programStack[0], p->root);
        EXPECT_EQ(p->programStack[1], nullptr);
        EXPECT_EQ(p->currentSection, nullptr);
        EXPECT_EQ(p->levelDepth, 0);
        EXPECT_TRUE(p->trailingTokens.IsEmpty());
        EXPECT_TRUE(p->noteQueue.IsEmpty());
        EXPECT_EQ(p->pushedBack, nullptr);
        EXPECT_EQ(p->noteComment, nullptr);
        EXPECT_EQ(p->execList, nullptr);
        EXPECT_EQ(p->currencySign, '$');
        EXPECT_EQ(p->procDivision, 0);
        EXPECT_EQ(p->nameClassification, 1);
        EXPECT_EQ(p->messages, &messages);
        checked = true;
        return 0;
    };
    messages.Clear();
    EXPECT_EQ(ParseSource(), 0);
    EXPECT_TRUE(checked);
    ASSERT_NE(root, nullptr);
}

TEST_F(ParseRun, TheLexersErrorFlagFailsTheParse) {
    grammarBody = [] {
        WorkingParser->lexer.errorFlag = 1;
        return 0;
    };
    EXPECT_EQ(ParseSource(), 3);
    EXPECT_EQ(root, nullptr);
    EXPECT_EQ(parser.lexer.errorFlag, 0);
}

TEST_F(ParseRun, WithoutAGrammarTheParseFails) {
    DovGrammar.parse = nullptr;
    EXPECT_EQ(ParseSource(), 3);
    ASSERT_EQ(CountCode(messages, MSG_ERR), 1);
    EXPECT_TRUE(messages.First()->image == "DovParserImpl::Parse: no grammar is installed");
}

TEST_F(ParseRun, ASuccessfulParseFinishesTheTree) {
    DovToken* trailing = nullptr;
    grammarBody = [&] {
        WorkingParser->trailingTokens.AddNewToken(CM_COMMENT, DovTxtPosn(9, 0, 0), "* after");
        trailing = WorkingParser->trailingTokens.First();
        return 0;
    };
    parser.progressCallback = CatchProgress;
    EXPECT_EQ(ParseSource(), 0);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->Oper(), COBOL_FILE);
    EXPECT_EQ(parser.root, nullptr);  // the parser forgot it
    DovExpr* end = DovArgOrNull(root, 1);
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(end->Oper(), END_COBOL_FILE);
    EXPECT_EQ(end->Tokens().First(), trailing);
    EXPECT_TRUE(parser.trailingTokens.IsEmpty());
    // Marked as coming from the source, slots included.
    EXPECT_EQ(root->Flag(), 1);
    EXPECT_EQ(end->Flag(), 1);
    EXPECT_EQ(root->ArgSlots(1)->code, 1);
    // Empty slots hold null nodes.
    ASSERT_NE(DovArgOrNull(root, 0), nullptr);
    EXPECT_EQ(DovArgOrNull(root, 0)->Oper(), NULL_NODE);
    EXPECT_EQ(slotPosnRoots, std::vector<DovExpr*>{root});
    EXPECT_EQ(progressTexts,
              (std::vector<std::string>{"Preparing SourcePrint", "*", "Computing Lengths & Offsets", "*"}));

    // Without the layout and without filling.
    progressTexts.clear();
    parser.lengthsAndOffsets = 0;
    parser.fillNullArgs = 0;
    grammarBody = nullptr;
    EXPECT_EQ(ParseSource(), 0);
    EXPECT_EQ(progressTexts, (std::vector<std::string>{"Preparing SourcePrint", "*"}));
    EXPECT_EQ(DovArgOrNull(root, 0), nullptr);
    // Without a printer hook the slot positions are skipped.
    DovSlotPosnHook = nullptr;
    EXPECT_EQ(ParseSource(), 0);
}

TEST_F(ParseRun, PrintTreeShowsTheTreeOrNull) {
    vemlo_test::ChildResult r = vemlo_test::RunInChild([&] {
        parser.printTree = 1;
        ParseSource();
        grammarBody = [] { return 1; };
        ParseSource();
        std::cout.flush();
    });
    ASSERT_TRUE(r.exited);
    const std::string head = "***Program Tree after parsing***\n";
    ASSERT_EQ(r.out.find(head), 0u) << r.out;
    EXPECT_NE(r.out.find("COBOL_FILE"), std::string::npos);
    EXPECT_NE(r.out.find("\n\n" + head + "(NULL)\n\n"), std::string::npos) << r.out;
}

TEST_F(ParseRun, TheLexerGetsTheSettings) {
    parser.lexOnly = 1;
    parser.sqlSwitch = 0;
    parser.cicsSwitch = 1;
    parser.lineFormat = DOV_LF_VAR;
    parser.progidComments = 1;
    parser.sepSpaceRequired = 0;
    parser.inlineCopy = 0;
    parser.oldCopy = 1;
    parser.copyNameCase = 2;
    parser.progressInterval = 7;
    parser.progressCallback = CatchProgress;
    parser.copyDirs = VStringArray(1);
    for (int i = 0; i < 20; ++i) parser.copyDirs.Append(DovFormat("dir%d", i));
    for (int i = 0; i < 130; ++i) parser.excludedKeywords.Append(DovFormat("NOWORD%d", i));
    parser.copySuffixes.Append(".CBL");
    EXPECT_EQ(ParseSource(), 0);
    const DovLexer& lx = parser.lexer;
    EXPECT_EQ(lx.sqlSwitch, 0);
    EXPECT_EQ(lx.cicsSwitch, 1);
    EXPECT_EQ(lx.dials, parser.dials);
    EXPECT_EQ(lx.lineFormat, DOV_LF_VAR);
    EXPECT_EQ(lx.progidComments, 1);
    EXPECT_EQ(lx.sepSpaceRequired, 0);
    EXPECT_EQ(lx.copyInline, 0);
    EXPECT_EQ(lx.oldCopy, 1);
    EXPECT_EQ(lx.copyNameCase, 2);
    EXPECT_EQ(lx.progressInterval, 7);
    EXPECT_EQ(lx.progress, CatchProgress);
    EXPECT_EQ(lx.copyDirs.count, 20);
    EXPECT_TRUE(lx.copyDirs.items[19] == "dir19");
    EXPECT_EQ(lx.excludedKeywords.count, 130);
    // The suffixes as given (the lexer may add its own last try).
    ASSERT_GE(lx.copySuffixes.count, 2);
    EXPECT_TRUE(lx.copySuffixes.items[1] == ".CBL");
    // SQL only when the grammar can parse it too.
    parser.sqlSwitch = 1;
    DovCanParseSql = 0;
    EXPECT_EQ(ParseSource(), 0);
    EXPECT_EQ(parser.lexer.sqlSwitch, 0);
    DovCanParseSql = 1;
    EXPECT_EQ(ParseSource(), 0);
    EXPECT_EQ(parser.lexer.sqlSwitch, 1);
}

TEST_F(ParseRun, AssignmentKeepsTheLexerAndResetsTheParseState) {
    DovParserImpl options;
    options.primaryDialect = DIAL_RM;
    DovLexer* before = &parser.lexer;
    parser.currencySign = '#';
    parser = options;
    EXPECT_EQ(&parser.lexer, before);
    EXPECT_EQ(parser.primaryDialect, DIAL_RM);
    EXPECT_EQ(parser.currencySign, '$');
}

}  // namespace
