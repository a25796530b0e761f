// The procedure division structure: header phrases, declaratives, sections,
// paragraphs (digit names too), sentences, procedure-name references, the
// programs around it (PROGRAM-ID, END PROGRAM, nesting), the grammar hook.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/grammar/grammar_fixture.h"
#include "tests/lexer/temp_dir.h"
#include "tree/walk.h"

namespace {

using vemlo_grammar_test::FindAll;
using vemlo_grammar_test::FindFirst;
using vemlo_grammar_test::GrammarRun;
using vemlo_grammar_test::Shape;

void UseDialect(GrammarRun& run, int dialect) {
    run.parser().primaryDialect = dialect;
    run.parser().dials = DovNoDials();
    VString error;
    run.parser().ResolveDialectDefaults(error);
}

std::string Program(const std::string& header, const std::string& body) {
    return "       IDENTIFICATION DIVISION.\n       PROGRAM-ID. T.\n       PROCEDURE DIVISION" + header + ".\n" + body;
}

// The statements of every statement list of a tree, in order, each as its
// operation and the file name and line where it begins.
std::vector<std::string> StatementsAndPlaces(DovExpr* root) {
    std::vector<std::string> out;
    for (DovExpr* list : FindAll(root, STMT_LIST)) {
        for (int i = 0; i < list->NumArgs(); ++i) {
            DovExpr* statement = list->Args(i);
            if (!statement) continue;
            const DovTxtPosn at = DovSrcPosnBeg(statement);
            std::string file = DovSrcFileNames().At(static_cast<int>(at.FileIndex())).name.CStr();
            file = file.substr(file.rfind('/') + 1);
            out.push_back(std::string(DovOperName(statement->Oper())) + "@" + file + ":" + std::to_string(at.Line()));
        }
    }
    return out;
}

// The header's phrases, slots 0-3 of DIVISION_PROCEDURE.
std::string Header(const GrammarRun& run) {
    const DovExpr* pd = run.ProcedureDivision();
    if (!pd) return "(none)";
    std::string out;
    for (int i = 0; i < 4; ++i) out += (i ? "|" : "") + Shape(pd->Args(i));
    return out;
}

TEST(ProcedureHeader, UsingChainingReturningAndLinkage) {
    struct Case {
        const char* header;
        const char* phrases;  // PD_MNEMONIC|PD_LINKAGE|PD_USING|PD_GIVING
    } const cases[] = {
        {"", "null|null|null|null"},
        {" USING A BY VALUE B C",
         "null|null|EX_PROC_USING(EX_PROC_PARAM_LIST(EX_PROC_PARAM(null,A,EX_PT_BY_REFERENCE),"
         "EX_PROC_PARAM(EX_PT_BY_VALUE,B,EX_PT_BY_VALUE),EX_PROC_PARAM(null,C,EX_PT_BY_VALUE)))|null"},
        {" USING BY CONTENT D REFERENCE E F RETURNING G",
         "null|null|EX_PROC_USING(EX_PROC_PARAM_LIST(EX_PROC_PARAM(EX_PT_BY_CONTENT,D,EX_PT_BY_CONTENT),"
         "EX_PROC_PARAM(EX_PT_BY_REFERENCE,E,EX_PT_BY_REFERENCE),EX_PROC_PARAM(null,F,EX_PT_BY_REFERENCE)))|G"},
        {" CHAINING A OF R GIVING B",
         "null|null|EX_PROC_CHAINING(EX_PROC_PARAM_LIST(EX_PROC_PARAM(null,A OF R,EX_PT_BY_REFERENCE)))|B"},
        {" WITH PASCAL LINKAGE", "null|EX_CALL_WITH_LINKAGE(PASCAL)|null|null"},
        {" CONV USING A", "CONV|null|EX_PROC_USING(EX_PROC_PARAM_LIST(EX_PROC_PARAM(null,A,EX_PT_BY_REFERENCE)))|null"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.header);
        GrammarRun run;
        UseDialect(run, DIAL_MF);
        EXPECT_EQ(run.ParseText(Program(c.header, "           STOP RUN.\n")), 0) << run.MessageText();
        EXPECT_EQ(Header(run), c.phrases);
        EXPECT_EQ(run.TokenDifference(), "");
    }
}

TEST(ProcedureHeader, ASecondUsingStartsAgainByReference) {
    GrammarRun run;
    ASSERT_EQ(run.ParseText(Program(" USING BY VALUE A", "           STOP RUN.\n       END PROGRAM T.\n") +
                            "       IDENTIFICATION DIVISION.\n       PROGRAM-ID. U.\n"
                            "       PROCEDURE DIVISION USING B.\n           STOP RUN.\n"),
              0)
        << run.MessageText();
    const std::vector<DovExpr*> params = FindAll(run.root(), EX_PROC_PARAM);
    ASSERT_EQ(params.size(), 2u);
    EXPECT_EQ(Shape(params[0]), "EX_PROC_PARAM(EX_PT_BY_VALUE,A,EX_PT_BY_VALUE)");
    EXPECT_EQ(Shape(params[1]), "EX_PROC_PARAM(null,B,EX_PT_BY_REFERENCE)");
    EXPECT_EQ(run.TokenDifference(), "");
}

TEST(ProcedureBody, SectionsParagraphsSentencesAndReferences) {
    struct Case {
        const char* body;   // from column 8
        const char* shape;  // of PD_SECTIONS
        int dialect = DIAL_MF;
    } const cases[] = {
        // A paragraph named by digits and GO TO it; an empty sentence;
        // PERFORM without THRU leaves PROC_RANGE_TO empty.
        {"100.\n    GO TO 100.\n200.\n    .\n    PERFORM 100.\n",
         "SECTION_PROC_LIST(SECTION_PROC(-,-,PARA_PROC_LIST(PARA_PROC(def:100,SENTENCE_LIST(SENTENCE(STMT_LIST("
         "STMT_GOTO(EX_LIST(100)))))),PARA_PROC(def:200,SENTENCE_LIST(SENTENCE_EMPTY,SENTENCE(STMT_LIST("
         "STMT_PERFORM_PROC(EX_PROC_RANGE(100,-),null))))))))"},
        // Sentences before any paragraph, a segment number, qualified names.
        {"    STOP RUN.\nS1 SECTION 50.\nP1.\n    PERFORM P1 OF S1 THROUGH P2 IN S1.\n",
         "SECTION_PROC_LIST(SECTION_PROC(-,-,PARA_PROC_LIST(PARA_PROC(-,SENTENCE_LIST(SENTENCE(STMT_LIST("
         "STMT_STOP(EX_RUN,null,null))))))),SECTION_PROC(def:S1,50,PARA_PROC_LIST(PARA_PROC(def:P1,SENTENCE_LIST("
         "SENTENCE(STMT_LIST(STMT_PERFORM_PROC(EX_PROC_RANGE(P1 OF S1,P2 OF S1),null))))))))"},
        // GO TO with several names (DEPENDING) and without any; EXIT's forms.
        {"P1.\n    GO TO P1 P2 DEPENDING K. GO TO.\n    EXIT PROGRAM. EXIT PARAGRAPH. EXIT SECTION. EXIT PERFORM.\n",
         "SECTION_PROC_LIST(SECTION_PROC(-,-,PARA_PROC_LIST(PARA_PROC(def:P1,SENTENCE_LIST(SENTENCE(STMT_LIST("
         "STMT_GOTO_DEPENDING(EX_LIST(P1,P2),EX_DEPENDING_ON(K)))),SENTENCE(STMT_LIST(STMT_GOTO(null))),SENTENCE(STMT_LIST(STMT_EXIT_PROGRAM("
         "null))),SENTENCE(STMT_LIST(STMT_EXIT_PARAGRAPH)),SENTENCE(STMT_LIST(STMT_EXIT_SECTION)),SENTENCE("
         "STMT_LIST(STMT_EXIT_PERFORM(null))))))))", DIAL_ACU},
        {"P1.\n    EXIT PERFORM CYCLE NEXT SENTENCE CONTINUE GOBACK.\n",
         "SECTION_PROC_LIST(SECTION_PROC(-,-,PARA_PROC_LIST(PARA_PROC(def:P1,SENTENCE_LIST(SENTENCE(STMT_LIST("
         "STMT_EXIT_PERFORM(EX_EXIT_CYCLE),STMT_NEXT_SENTENCE,STMT_CONTINUE,STMT_GOBACK(null))))))))", DIAL_ACU},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        GrammarRun run;
        UseDialect(run, c.dialect);
        std::string body;
        for (std::size_t at = 0; at < std::string(c.body).size();) {
            const std::string all = c.body;
            const std::size_t end = all.find('\n', at);
            body += "       " + all.substr(at, end - at) + "\n";
            at = end + 1;
        }
        EXPECT_EQ(run.ParseText(Program("", body)), 0) << run.MessageText();
        EXPECT_EQ(Shape(run.ProcedureDivision()->Args(7)), c.shape);
        EXPECT_EQ(run.TokenDifference(), "");
    }
}

TEST(ProcedureBody, DigitParagraphNamesAreElementsOfTheirText) {
    GrammarRun run;
    ASSERT_EQ(run.ParseText(Program("", "       100.\n           GO TO 100.\n")), 0) << run.MessageText();
    const DovExpr* def = FindFirst(run.root(), NAMED_OBJ_DEF);
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(std::string(def->Image().CStr()), "T");  // the program's name comes first
    DovExpr* para = FindFirst(run.root(), PARA_PROC);
    ASSERT_NE(para, nullptr);
    EXPECT_EQ(std::string(para->Args(0)->Image().CStr()), "100");
    DovExpr* use = FindFirst(FindFirst(run.root(), STMT_GOTO), NAME_USE);
    ASSERT_NE(use, nullptr);
    EXPECT_EQ(std::string(use->Image().CStr()), "100");
}

TEST(ProcedureBody, Declaratives) {
    GrammarRun run;
    UseDialect(run, DIAL_MF);
    ASSERT_EQ(run.ParseText(Program("", "       DECLARATIVES.\n       D1 SECTION.\n       D-P.\n           EXIT.\n"
                                        "       END DECLARATIVES.\n       M SECTION.\n           STOP RUN.\n")),
              0)
        << run.MessageText();
    const DovExpr* pd = run.ProcedureDivision();
    EXPECT_EQ(Shape(pd->Args(5)),
              "DECLARATIVE_SECTIONS(SECTION_PROC_LIST(SECTION_PROC(def:D1,null,PARA_PROC_LIST(PARA_PROC(def:D-P,"
              "SENTENCE_LIST(SENTENCE(STMT_LIST(STMT_EXIT))))))),END_DECLARATIVES)");
    EXPECT_EQ(Shape(pd->Args(7)),
              "SECTION_PROC_LIST(SECTION_PROC(def:M,null,PARA_PROC_LIST(PARA_PROC(-,SENTENCE_LIST(SENTENCE(STMT_LIST("
              "STMT_STOP(EX_RUN,null,null))))))))");
    EXPECT_EQ(run.TokenDifference(), "");
}

std::vector<int> hooked;
void RecordHook(void* cell) {
    DovExpr* node = *static_cast<DovExpr**>(cell);
    hooked.push_back(node ? node->Oper() : 0);
}

TEST(ProcedureBody, TheGrammarHookSeesEveryDivisionElementAndEndProgram) {
    GrammarRun run;
    UseDialect(run, DIAL_MF);
    run.parser().grammarHook = RecordHook;
    hooked.clear();
    ASSERT_EQ(run.ParseText(Program("", "       DECLARATIVES.\n       D1 SECTION.\n           EXIT.\n"
                                        "       END DECLARATIVES.\n       P1.\n           STOP RUN.\n           .\n"
                                        "       END PROGRAM T.\n")),
              0)
        << run.MessageText();
    // The data division's value comes first: a null node when it is absent.
    const std::vector<int> expected = {NULL_NODE, DIVISION_PROCEDURE, SECTION_PROC,   SENTENCE,
                                       DECLARATIVE_SECTIONS, PARA_PROC, SENTENCE, SENTENCE_EMPTY,
                                       END_COBOL_PROGRAM};
    EXPECT_EQ(hooked, expected);
}

TEST(Programs, HeadersAttributesAndNesting) {
    GrammarRun run;
    ASSERT_EQ(run.ParseText("       IDENTIFICATION DIVISION.\n       PROGRAM-ID. O.\n       PROCEDURE DIVISION.\n"
                            "           STOP RUN.\n"
                            "       IDENTIFICATION DIVISION.\n       PROGRAM-ID. I IS COMMON INITIAL PROGRAM.\n"
                            "       PROCEDURE DIVISION.\n           EXIT PROGRAM.\n       END PROGRAM I.\n"
                            "       IDENTIFICATION DIVISION.\n       PROGRAM-ID. \"J\" INITIAL COMMON.\n"
                            "       END PROGRAM \"J\".\n"
                            "       END PROGRAM O.\n"),
              0)
        << run.MessageText();
    const std::vector<DovExpr*> programs = FindAll(run.root(), COBOL_PROGRAM);
    ASSERT_EQ(programs.size(), 3u);
    EXPECT_EQ(Shape(programs[0]->Args(5)), "END_COBOL_PROGRAM(O)");
    EXPECT_EQ(Shape(programs[1]->Args(0)),
              "DIVISION_IDENTIFICATION(DIVISION_IDENTIFICATION_HEADER,PARA_PROGRAM_ID(def:I,EX_PROG_COMMON_INITIAL))");
    EXPECT_EQ(Shape(programs[2]->Args(0)),
              "DIVISION_IDENTIFICATION(DIVISION_IDENTIFICATION_HEADER,PARA_PROGRAM_ID(def:\"J\",EX_PROG_COMMON_INITIAL))");
    // Both inner programs are nested in O.
    EXPECT_EQ(programs[1]->Parent(), programs[0]->Args(4));
    EXPECT_EQ(programs[2]->Parent(), programs[0]->Args(4));
    EXPECT_EQ(run.TokenDifference(), "");
}

TEST(Programs, TheFirstProgramMayLackItsHeaders) {
    struct Case {
        const char* source;
        const char* id;
        std::vector<std::string> messages;
    } const cases[] = {
        {"       PROGRAM-ID. T.\n       PROCEDURE DIVISION.\n           STOP RUN.\n",
         "DIVISION_IDENTIFICATION(null,PARA_PROGRAM_ID(def:T,null))",
         {"WARNING: IDENTIFICATION DIVISION header is missing"}},
        {"       PROCEDURE DIVISION.\n           STOP RUN.\n", "DIVISION_IDENTIFICATION(null,null)",
         {"WARNING: IDENTIFICATION DIVISION header is missing", "WARNING: PROGRAM-ID paragraph is missing"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        GrammarRun run;
        EXPECT_EQ(run.ParseText(c.source), 1);
        EXPECT_EQ(Shape(run.Program()->Args(0)), c.id);
        EXPECT_EQ(run.Messages(), c.messages);
        EXPECT_EQ(run.TokenDifference(), "");
        // Not for the mf dialect.
        GrammarRun mf;
        UseDialect(mf, DIAL_MF);
        EXPECT_EQ(mf.ParseText(c.source), 0) << mf.MessageText();
    }
}

TEST(Programs, ALaterProgramWithoutItsHeadersIsASyntaxError) {
    GrammarRun run;
    EXPECT_EQ(run.ParseText("       IDENTIFICATION DIVISION.\n       PROGRAM-ID. A.\n       END PROGRAM A.\n"
                            "       PROGRAM-ID. B.\n"),
              3);
    EXPECT_EQ(run.SyntaxErrors(), 1) << run.MessageText();
}

TEST(Programs, AnEndProgramOfAnotherNameIsReportedAndItsTokensKept) {
    GrammarRun run;
    EXPECT_EQ(run.ParseText("       IDENTIFICATION DIVISION.\n       PROGRAM-ID. A.\n       PROCEDURE DIVISION.\n"
                            "           STOP RUN.\n       END PROGRAM B.\n"),
              2);
    EXPECT_EQ(run.Messages(), std::vector<std::string>{"ERROR: END PROGRAM B does not end the current Program. Ignored."});
    EXPECT_EQ(Shape(run.Program()->Args(5)), "END_COBOL_PROGRAM(B)");
    EXPECT_EQ(run.TokenDifference(), "");
}

// CONFLICT C05: a COPY marker right after the header goes to the
// division's slot; one among the sentences is a procedure element.
TEST(ProcedureBody, CopyMarkersAfterTheHeaderAndAmongSentences) {
    GrammarRun run;
    vemlo_test::TempDir members;
    members.Write("MEMB.cpy", "           CONTINUE.\n");
    run.parser().copyDirs.Append(members.Path().c_str());
    run.parser().copySuffixes.Append(".cpy");
    ASSERT_EQ(run.ParseText(Program("", "       COPY MEMB.\n       P1.\n           COPY MEMB.\n           STOP RUN.\n")), 0)
        << run.MessageText();
    const DovExpr* pd = run.ProcedureDivision();
    EXPECT_EQ(pd->Args(4) ? pd->Args(4)->Oper() : 0, STMT_INLINED_COPY_BEG);
    const std::vector<DovExpr*> paras = FindAll(pd->Args(7), PARA_PROC);
    ASSERT_EQ(paras.size(), 2u);
    std::vector<int> ops;
    for (int i = 0; i < paras[1]->Args(1)->NumArgs(); ++i) ops.push_back(paras[1]->Args(1)->Args(i)->Oper());
    EXPECT_EQ(ops, (std::vector<int>{STMT_INLINED_COPY_BEG, SENTENCE, STMT_INLINED_COPY_END, SENTENCE}));
    EXPECT_EQ(run.TokenDifference(), "");
}

// Wang entries are not built: a parse under the Wang dialect is refused
// with status 20 before the grammar runs, and gives no tree.
TEST(Programs, WangSourcesAreRefused) {
    GrammarRun run;
    UseDialect(run, DIAL_WANG);
    EXPECT_EQ(run.ParseText("       IDENTIFICATION DIVISION.\n       PROGRAM-ID. W.\n       PROCEDURE DIVISION.\n"
                            "           STOP RUN.\n"),
              20);
    EXPECT_EQ(run.root(), nullptr);
}

// COPY members that begin or end where the tree has no place for a marker:
// inside a condition, between "SOURCE-COMPUTER." and the computer name,
// before the CONFIGURATION SECTION header. Such a marker is folded into the
// text: no syntax error, every token in its place, and a member whose begin
// is folded has its end folded too. Markers where the tree takes them stay
// nodes; between an IF's condition and its first statement a statement may
// stand, so a member's end there is one.
TEST(CopyFolding, MarkersWhereTheTreeHasNoPlaceGoIntoTheText) {
    vemlo_test::TempDir members;
    members.Write("M8.cpy", "           8\n");
    members.Write("MIF.cpy", "           IF A = 1\n");
    members.Write("MNAME.cpy", "           X-1.\n");
    members.Write("MCONF.cpy", "       CONFIGURATION SECTION.\n       SOURCE-COMPUTER. X-1.\n");
    members.Write("MSTOP.cpy", "           STOP RUN.\n");
    members.Write("MOR.cpy", "              OR A = 2\n");
    members.Write("MA.cpy", "              A\n");
    members.Write("MMOVE.cpy", "           MOVE 2\n");
    const std::string id = "       IDENTIFICATION DIVISION.\n       PROGRAM-ID. T.\n";
    const std::string data = "       DATA DIVISION.\n       WORKING-STORAGE SECTION.\n       01 A PIC 9.\n";
    const std::string proc = "       PROCEDURE DIVISION.\n       P1.\n";
    struct Case {
        const char* what;
        std::string source;
        std::size_t begins, ends;  // marker nodes left in the tree
    };
    const Case cases[] = {
        {"an operand of a condition",
         id + data + proc + "           IF A =\n           COPY M8.\n           PERFORM P1 ELSE STOP RUN.\n", 0, 0},
        {"a member ending after a condition, where its end is the first statement",
         id + data + proc + "           COPY MIF.\n           PERFORM P1\n           ELSE STOP RUN.\n", 1, 1},
        {"the computer name",
         id + "       ENVIRONMENT DIVISION.\n       CONFIGURATION SECTION.\n       SOURCE-COMPUTER. COPY MNAME.\n" +
             "       OBJECT-COMPUTER. X-2.\n" + proc + "           STOP RUN.\n",
         0, 0},
        {"the section header", id + "       ENVIRONMENT DIVISION.\n       COPY MCONF.\n" + proc + "           STOP RUN.\n",
         0, 0},
        {"a sentence", id + proc + "           COPY MSTOP.\n", 1, 1},
        // Inside a sentence, where a statement could stand but the member
        // goes on with the statement before it.
        {"a member that goes on with a condition",
         id + data + proc + "           IF A = 1\n           COPY MOR.\n           PERFORM P1 ELSE STOP RUN.\n", 0, 0},
        {"a member that adds a receiving field",
         id + data + proc + "           MOVE 1 TO A\n           COPY MA.\n           STOP RUN.\n", 0, 0},
        {"a program that goes on with the member's statement",
         id + data + proc + "           MOVE 1 TO A\n           COPY MMOVE.\n           TO A\n           STOP RUN.\n", 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GrammarRun run;
        run.parser().copyDirs.Append(members.Path().c_str());
        run.parser().copySuffixes.Append(".cpy");
        run.ParseText(c.source);
        EXPECT_EQ(run.SyntaxErrors(), 0) << run.MessageText();
        EXPECT_EQ(FindAll(run.root(), STMT_INLINED_COPY_BEG).size(), c.begins);
        EXPECT_EQ(FindAll(run.root(), STMT_INLINED_COPY_END).size(), c.ends);
        EXPECT_EQ(run.TokenDifference(), "");
    }
}

// A COPY inside a sentence (after another statement, not at a sentence's
// start) stands where a statement may stand: the member's begin and end
// are statements of their own in the statement list where they stand, and
// every statement begins at its own first word, in its own file.
TEST(CopyMarkers, InsideASentenceTheyAreStatementsOfTheirOwn) {
    vemlo_test::TempDir members;
    members.Write("SETB.cpy", "      * SETS B\n           MOVE 1 TO B\n");
    members.Write("ENDS.cpy", "           MOVE 1 TO B.\n");
    const std::string head = "       IDENTIFICATION DIVISION.\n       PROGRAM-ID. T.\n       DATA DIVISION.\n"
                             "       WORKING-STORAGE SECTION.\n       01 A PIC 9.\n       01 B PIC 9.\n"
                             "       PROCEDURE DIVISION.\n";  // lines 1-7
    const std::string beg = "STMT_INLINED_COPY_BEG", end = "STMT_INLINED_COPY_END";
    struct Case {
        const char* what;
        std::string body;  // from line 8
        std::vector<std::string> statements;
    } const cases[] = {
        {"after a MOVE in the same sentence",
         "           MOVE 1 TO A\n           COPY SETB.\n           MOVE 2 TO A\n           STOP RUN.\n",
         {"STMT_MOVE@snippet.cbl:8", beg + "@snippet.cbl:9", "STMT_MOVE@SETB.cpy:2", end + "@SETB.cpy:2",
          "STMT_MOVE@snippet.cbl:10", "STMT_STOP@snippet.cbl:11"}},
        {"after a statement inside an IF",
         "           IF A = 1\n              MOVE 1 TO A\n           COPY SETB.\n              MOVE 2 TO A\n"
         "           END-IF\n           STOP RUN.\n",
         {"STMT_IF@snippet.cbl:8", "STMT_STOP@snippet.cbl:13", "STMT_MOVE@snippet.cbl:9", beg + "@snippet.cbl:10",
          "STMT_MOVE@SETB.cpy:2", end + "@SETB.cpy:2", "STMT_MOVE@snippet.cbl:11"}},
        {"inside an EVALUATE WHEN",
         "           EVALUATE A\n           WHEN 1\n              MOVE 1 TO A\n           COPY SETB.\n"
         "           WHEN OTHER\n              MOVE 2 TO A\n           END-EVALUATE\n           STOP RUN.\n",
         {"STMT_EVALUATE@snippet.cbl:8", "STMT_STOP@snippet.cbl:15", "STMT_MOVE@snippet.cbl:10",
          beg + "@snippet.cbl:11", "STMT_MOVE@SETB.cpy:2", end + "@SETB.cpy:2", "STMT_MOVE@snippet.cbl:13"}},
        {"twice in a row",
         "           MOVE 1 TO A\n           COPY SETB.\n           COPY SETB.\n           STOP RUN.\n",
         {"STMT_MOVE@snippet.cbl:8", beg + "@snippet.cbl:9", "STMT_MOVE@SETB.cpy:2", end + "@SETB.cpy:2",
          beg + "@snippet.cbl:10", "STMT_MOVE@SETB.cpy:2", end + "@SETB.cpy:2", "STMT_STOP@snippet.cbl:11"}},
        {"supplying the sentence's period", "           MOVE 1 TO A\n           COPY ENDS.\n           STOP RUN.\n",
         {"STMT_MOVE@snippet.cbl:8", beg + "@snippet.cbl:9", "STMT_MOVE@ENDS.cpy:1", "STMT_STOP@snippet.cbl:10"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GrammarRun run;
        UseDialect(run, DIAL_VSII);
        run.parser().copyDirs.Append(members.Path().c_str());
        run.parser().copySuffixes.Append(".cpy");
        run.ParseText(head + c.body);
        EXPECT_EQ(run.SyntaxErrors(), 0) << run.MessageText();
        EXPECT_EQ(StatementsAndPlaces(run.root()), c.statements);
        EXPECT_EQ(run.TokenDifference(), "");
    }
}

// The flag marker after the header's period reduces before the next token
// is read: the paragraph name right after it is already an Area-A name.
TEST(ProcedureBody, TheProcedureFlagHoldsForTheFirstTokenAfterTheHeader) {
    GrammarRun run;
    ASSERT_EQ(run.ParseText(Program("", "       P1.\n           STOP RUN.\n")), 0) << run.MessageText();
    const DovExpr* def = FindFirst(FindFirst(run.root(), PARA_PROC), NAMED_OBJ_DEF);
    ASSERT_NE(def, nullptr);
    bool area_a = false;
    for (const DovToken* t : const_cast<DovExpr*>(def)->Tokens()) area_a = area_a || t->code == TK_AREA_A_NAME;
    EXPECT_TRUE(area_a);
}

TEST(Programs, AnEndProgramWithNoProgramOpenKeepsItsTokens) {
    GrammarRun run;
    EXPECT_EQ(run.ParseText("       IDENTIFICATION DIVISION.\n       PROGRAM-ID. A.\n       PROCEDURE DIVISION.\n"
                            "           STOP RUN.\n       END PROGRAM A.\n       END PROGRAM A.\n"),
              2);
    EXPECT_EQ(run.Messages(), std::vector<std::string>{"ERROR: There are no more programs to END. Ignored."});
    EXPECT_EQ(run.TokenDifference(), "");
}

}  // namespace

// Where a COPY is folded into the text, no node begins at the words of the
// COPY or at the end of the member: the member's first word begins at its
// own place in the member, and the statement after the member at its own
// first word in the program.
TEST(CopyFolding, NoNodeBeginsAtTheFoldedWords) {
    vemlo_test::TempDir members;
    members.Write("M8.cpy", "      * EIGHT\n           8\n");
    GrammarRun run;
    run.parser().copyDirs.Append(members.Path().c_str());
    run.parser().copySuffixes.Append(".cpy");
    run.ParseText("       IDENTIFICATION DIVISION.\n       PROGRAM-ID. T.\n       DATA DIVISION.\n"
                  "       WORKING-STORAGE SECTION.\n       01 A PIC 9.\n       PROCEDURE DIVISION.\n       P1.\n"
                  "           IF A =\n           COPY M8.\n           PERFORM P1 ELSE STOP RUN.\n");
    EXPECT_EQ(run.SyntaxErrors(), 0) << run.MessageText();
    EXPECT_EQ(run.TokenDifference(), "");
    ASSERT_EQ(FindAll(run.root(), STMT_INLINED_COPY_BEG).size(), 0u);
    const std::vector<std::string> statements = StatementsAndPlaces(run.root());
    EXPECT_EQ(statements, (std::vector<std::string>{"STMT_IF@snippet.cbl:8", "STMT_PERFORM_PROC@snippet.cbl:10",
                                                    "STMT_STOP@snippet.cbl:10"}));
    DovExpr* eight = FindFirst(FindFirst(run.root(), STMT_IF), INT_NUM_CONST);
    ASSERT_NE(eight, nullptr);
    const DovTxtPosn at = DovSrcPosnBeg(eight);
    EXPECT_EQ(at.Line(), 2u);
    EXPECT_EQ(at.Column(), 11u);
    EXPECT_NE(at.FileIndex(), DovSrcPosnBeg(run.root()).FileIndex());
}


