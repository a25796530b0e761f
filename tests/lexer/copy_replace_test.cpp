// COPY, REPLACE, EXEC SQL INCLUDE and -INC.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/lexer/lexer_fixture.h"
#include "tests/support/corpus.h"
#include "tree/expr.h"

namespace {

using vemlo_test::LexerTest;
using V = std::vector<std::string>;

class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() { unsetenv(name_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
};

class CopyReplace : public LexerTest {
protected:
    CopyReplace() { UseFolder(dir.Path()); }

    void UseFolder(const std::string& folder) {
        lexer.copyDirs = VStringArray(1);
        lexer.copyDirs.items[lexer.copyDirs.count++] = folder.c_str();
    }

    // The words of the COPY layer up to the end of the main file: words and
    // literals by their image, other tokens by name. A marker is followed by
    // its node as "{OPER arg...}" with the path's last component and the
    // depth of an inlined member.
    V Words(const std::string& source) {
        V out;
        if (!Open(source)) return {"(cannot open)"};
        for (int guard = 0; guard < 10000; ++guard) {
            ItemPtr item(lexer.GetCopylessTextWord());
            const int code = item->token->code;
            if (code == SEP_EOF) break;
            if (code == TK_CHAR_STRING || code == TK_NONNUM_LIT) {
                out.push_back(item->token->image.CStr());
                continue;
            }
            out.push_back(Describe(item->token));
            if (DovExpr* node = lexer.TakeMarkerNode(code)) {
                out.push_back(NodeText(node));
                nodes.emplace_back(node);
            }
        }
        return out;
    }

    static std::string NodeText(const DovExpr* node) {
        std::string text = std::string("{") + DovOperName(node->Oper());
        if (node->Oper() == STMT_INLINED_COPY_BEG || node->Oper() == STMT_INLINED_INCLUDE_BEG) {
            std::string path = node->Args(2)->Image().CStr();
            text += " " + path.substr(path.rfind('/') + 1) + " " + node->Args(3)->Image().CStr();
        } else if (node->Oper() == STMT_INLINED_COPY_END || node->Oper() == STMT_INLINED_INCLUDE_END) {
            std::string path = node->Args(0)->Image().CStr();
            text += " " + path.substr(path.rfind('/') + 1) + " " + node->Args(1)->Image().CStr();
        }
        return text + "}";
    }

    std::string Member(const std::string& name, const std::string& text) { return dir.Write(name, text); }

    std::vector<std::unique_ptr<DovExpr>> nodes;
};

TEST_F(CopyReplace, MemberBetweenMarkers) {
    Member("MEM.cpy", Fixed("MOVE A TO B."));
    EXPECT_EQ(Words(Fixed("X. COPY MEM.") + Fixed("Y.")),
              (V{"X", "SEP_DOT", "SEP_INLINED_COPY", "{STMT_INLINED_COPY_BEG MEM.cpy 1}", "MOVE", "A", "TO", "B",
                 "SEP_DOT", "SEP_COPY_EOF", "{STMT_INLINED_COPY_END MEM.cpy 1}", "Y", "SEP_DOT"}));
    EXPECT_TRUE(Messages().empty());
    // The statement keeps its words: COPY before the name, the period last.
    DovExpr* copy = nodes[0].get();
    EXPECT_EQ(copy->ArgSlots(0)->tokens.First()->code, TK_COPY);
    EXPECT_STREQ(copy->Args(0)->Image().CStr(), "MEM");
    EXPECT_EQ(copy->Tokens().Last()->code, SEP_DOT);
    EXPECT_EQ(copy->Flag(), 1);
}

TEST_F(CopyReplace, NestedMembersAndMissingOnes) {
    Member("OUTER.cpy", Fixed("A. COPY INNER.") + Fixed("B."));
    Member("INNER.cpy", Fixed("C."));
    EXPECT_EQ(Words(Fixed("COPY OUTER.")),
              (V{"SEP_INLINED_COPY", "{STMT_INLINED_COPY_BEG OUTER.cpy 1}", "A", "SEP_DOT", "SEP_INLINED_COPY",
                 "{STMT_INLINED_COPY_BEG INNER.cpy 2}", "C", "SEP_DOT", "SEP_COPY_EOF",
                 "{STMT_INLINED_COPY_END INNER.cpy 2}", "B", "SEP_DOT", "SEP_COPY_EOF",
                 "{STMT_INLINED_COPY_END OUTER.cpy 1}"}));
    EXPECT_EQ(Words(Fixed("COPY NOWHERE. Z.")),
              (V{"SEP_UNINLINED_COPY", "{STMT_UNINLINED_COPY}", "Z", "SEP_DOT"}));
    EXPECT_EQ(MessageTexts(), V{"969@1:Cannot find/open file 'NOWHERE' in directories on Copylib path"});
}

// A member that is not found is reported at its name in the statement that
// names it, wherever the reading of the including file stands by then (the
// line after the period, past a comment line, or the end of the file).
TEST_F(CopyReplace, AMissingMemberIsReportedAtItsName) {
    struct Case {
        const char* what;
        std::string source;
        std::uint32_t line, column;  // 0-based column
    } const cases[] = {
        {"period ends the line", Fixed("COPY NOWHERE.") + Fixed("Z."), 1, 12},
        {"a comment line follows", Fixed("COPY NOWHERE.") + Fixed("REMARK", '*') + Fixed("Z."), 1, 12},
        {"text follows on the line", Fixed("COPY NOWHERE. Z.") + Fixed("Y."), 1, 12},
        {"statement over three lines", Fixed("COPY") + Fixed("    NOWHERE") + Fixed("    .") + Fixed("Z."), 2, 11},
        {"the file's last line", Fixed("Z.") + Fixed("COPY NOWHERE."), 2, 12},
        {"a literal names it", Fixed("COPY 'NOWHERE'.") + Fixed("Z."), 1, 12},
        {"-INC line", "-INC NOWHERE\n" + Fixed("Z."), 1, 5},
        {"EXEC SQL INCLUDE", Fixed("EXEC SQL INCLUDE NOWHERE END-EXEC.") + Fixed("Z."), 1, 24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Messages().clear();
        Words(c.source);
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0].text, "Cannot find/open file 'NOWHERE' in directories on Copylib path");
        EXPECT_EQ(Messages()[0].posn.Line(), c.line);
        EXPECT_EQ(Messages()[0].posn.Column(), c.column);
    }
}

TEST_F(CopyReplace, Replacing) {
    Member("MEM.cpy", Fixed("MOVE A TO B. MOVE A C TO D, E.") + Fixed("ADD 1 TO X."));
    struct Case {
        const char* what;
        std::string phrases;
        std::string member;  // the member's words, blank-separated
    };
    const Case cases[] = {
        {"pseudo-text", "==A== BY ==B==", "MOVE B TO B . MOVE B C TO D E . ADD 1 TO X ."},
        {"words", "A BY Q", "MOVE Q TO B . MOVE Q C TO D E . ADD 1 TO X ."},
        {"two words, partial match", "==A C== BY ==Z== ==TO B== BY ==INTO W==",
         "MOVE A INTO W . MOVE Z TO D E . ADD 1 TO X ."},
        {"empty replacement", "==MOVE A TO B.== BY ====", "MOVE A C TO D E . ADD 1 TO X ."},
        {"no cascade", "==1== BY ==5== ==5== BY ==7==", "MOVE A TO B . MOVE A C TO D E . ADD 5 TO X ."},
        {"comma", "==,== BY ==OR==", "MOVE A TO B . MOVE A C TO D OR E . ADD 1 TO X ."},
        {"first phrase first", "==A== BY ==ONE== ==A C== BY ==BOTH==",
         "MOVE ONE TO B . MOVE ONE C TO D E . ADD 1 TO X ."},
        {"literal and qualified word", "X IN Y BY ==Q== \"Z\" BY ==W==",
         "MOVE A TO B . MOVE A C TO D E . ADD 1 TO X ."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Messages().clear();
        V words = Words(Fixed("COPY MEM REPLACING " + c.phrases + ".") + Fixed("A."));
        ASSERT_GE(words.size(), 6u);
        // SEP_DOT and SEP_COMMA as their spelling, for reading.
        std::string spelled;
        for (std::size_t i = 2; i + 4 < words.size(); ++i) {
            std::string w = words[i] == "SEP_DOT" ? "." : words[i] == "SEP_COMMA" ? "," : words[i];
            spelled += (spelled.empty() ? "" : " ") + w;
        }
        EXPECT_EQ(spelled, c.member);
        // The text after the member is not replaced.
        EXPECT_EQ(words[words.size() - 2], "A");
        EXPECT_TRUE(Messages().empty()) << MessageTexts()[0];
    }
}

// Partial-word tags: the text around a tag joins with what replaces it into
// one text word, also where the tag is replaced by nothing, which leaves no
// gap: a word is joined across it as if it had never been there, while a
// blank of the source still separates.
TEST_F(CopyReplace, TextAroundAReplacedTagJoinsIntoOneWord) {
    struct Case {
        const char* what;
        std::string member;  // TAGS.cpy
        std::string statement;
        std::string words;   // the text words that follow, blank-separated
    };
    const Case cases[] = {
        {"a prefix tag and an emptied tag inside the words",
         Fixed("01 :PFX:-A::.") + Fixed("   05 :PFX:-A::-VAR0 PIC X."),
         "COPY TAGS REPLACING ==:PFX:== BY ==XX== ==::== BY ====.", "01 XX-A . 05 XX-A-VAR0 PIC X ."},
        {"tags at the start and the end of words",
         Fixed("01 :P:-REC:S:.") + Fixed("   05 :S:FLD-:P: PIC X.") + Fixed("   05 :P:-MID:S:-END PIC X."),
         "COPY TAGS REPLACING ==:P:== BY ==W== ==:S:== BY ====.",
         "01 W-REC . 05 FLD-W PIC X . 05 W-MID-END PIC X ."},
        {"blanks of the source around an emptied tag",
         Fixed("01 A ::B.") + Fixed("   05 C:: D PIC X."), "COPY TAGS REPLACING ==::== BY ====.",
         "01 A B . 05 C D PIC X ."},
        {"a text of two tags replaced by nothing, a blank between them",
         Fixed("01 R-:A: :B:-S."), "COPY TAGS REPLACING ==:A: :B:== BY ====.", "01 R--S ."},
        {"a REPLACE statement",
         Fixed("01 :T:-A::-B."), "REPLACE ==:T:== BY ==K== ==::== BY ====. COPY TAGS.", "01 K-A-B ."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Messages().clear();
        Member("TAGS.cpy", c.member);
        ASSERT_TRUE(Open(Fixed(c.statement)));
        std::string words;
        for (const ItemPtr& item : Items(&DovLexer::GetTextWord)) {
            const int code = item->token->code;
            if (code == SEP_REPLACE || code == SEP_INLINED_COPY || code == SEP_COPY_EOF) continue;
            words += (words.empty() ? "" : " ") +
                     (code == SEP_DOT ? std::string(".") : std::string(item->token->image.CStr()));
        }
        EXPECT_EQ(words, c.words);
        EXPECT_TRUE(Messages().empty()) << MessageTexts()[0];
        lexer.CloseInput();
    }
}

TEST_F(CopyReplace, ManyPhrasesAndLongTexts) {
    // More phrases and longer texts than any fixed table would hold.
    std::string member, copy = Fixed("COPY BIG REPLACING"), want;
    for (int i = 0; i < 12; ++i) {
        const std::string n = std::to_string(i);
        member += Fixed("W" + n);
        copy += Fixed("==W" + n + "== BY ==R" + n + "==");
        want += "R" + n + " ";
    }
    std::string from, to;
    copy += Fixed("==");
    for (int i = 0; i < 40; ++i) {
        const std::string n = std::to_string(i);
        member += Fixed("L" + n);
        copy += Fixed("L" + n);
        to += Fixed("T" + n);
        want += "T" + n + " ";
    }
    copy += Fixed("== BY ==") + to + Fixed("==.");
    Member("BIG.cpy", member);
    std::string got;
    for (const std::string& w : Words(copy))
        if (w[0] != '{' && w.rfind("SEP_", 0) != 0) got += w + " ";
    EXPECT_EQ(got, want);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(CopyReplace, ReplaceStatementStaysInForceAcrossMembers) {
    Member("MEM.cpy", Fixed("MOVE \"FAIL\" TO R."));
    Member("REP.cpy", Fixed("MOVE OLD TO R."));
    V words = Words(Fixed("REPLACE ==\"FAIL\"== BY ==\"PASS\"==.") + Fixed("COPY MEM.") +
                    Fixed("MOVE \"FAIL\" TO S.") + Fixed("COPY REP REPLACING ==OLD== BY ==\"FAIL\"==.") +
                    Fixed("REPLACE OFF.") + Fixed("MOVE \"FAIL\" TO T."));
    V want = {"SEP_REPLACE",
              "{STMT_REPLACE}",
              "SEP_INLINED_COPY",
              "{STMT_INLINED_COPY_BEG MEM.cpy 1}",
              "MOVE",
              "\"PASS\"",
              "TO",
              "R",
              "SEP_DOT",
              "SEP_COPY_EOF",
              "{STMT_INLINED_COPY_END MEM.cpy 1}",
              "MOVE",
              "\"PASS\"",
              "TO",
              "S",
              "SEP_DOT",
              // REPLACING first, then REPLACE on what it gave.
              "SEP_INLINED_COPY",
              "{STMT_INLINED_COPY_BEG REP.cpy 1}",
              "MOVE",
              "\"PASS\"",
              "TO",
              "R",
              "SEP_DOT",
              "SEP_COPY_EOF",
              "{STMT_INLINED_COPY_END REP.cpy 1}",
              "SEP_REPLACE",
              "{STMT_REPLACE_OFF}",
              "MOVE",
              "\"FAIL\"",
              "TO",
              "T",
              "SEP_DOT"};
    EXPECT_EQ(words, want);
    EXPECT_TRUE(Messages().empty());
    // A second REPLACE ends the first.
    EXPECT_EQ(Words(Fixed("REPLACE ==A== BY ==B==. A.") + Fixed("REPLACE ==C== BY ==D==. A C.")),
              (V{"SEP_REPLACE", "{STMT_REPLACE}", "B", "SEP_DOT", "SEP_REPLACE", "{STMT_REPLACE}", "A", "D",
                 "SEP_DOT"}));
}

TEST_F(CopyReplace, CopyOfLibrary) {
    Member("lib/MEM.cpy", Fixed("IN-LIB."));
    Member("MEM.cpy", Fixed("IN-DIR."));
    {
        ScopedEnv env("VEMLO_TEST_LIB", dir.Path("lib").c_str());
        EXPECT_EQ(Words(Fixed("COPY MEM OF VEMLO_TEST_LIB.")),
                  (V{"SEP_INLINED_COPY", "{STMT_INLINED_COPY_BEG MEM.cpy 1}", "IN-LIB", "SEP_DOT", "SEP_COPY_EOF",
                     "{STMT_INLINED_COPY_END MEM.cpy 1}"}));
        EXPECT_NE(nodes[0]->Args(2)->Image().Find("/lib/MEM.cpy"), -1);
        EXPECT_TRUE(Messages().empty());
    }
    ScopedEnv env("VEMLO_TEST_LIB", nullptr);
    nodes.clear();
    EXPECT_EQ(Words(Fixed("COPY MEM IN VEMLO_TEST_LIB.")),
              (V{"SEP_INLINED_COPY", "{STMT_INLINED_COPY_BEG MEM.cpy 1}", "IN-DIR", "SEP_DOT", "SEP_COPY_EOF",
                 "{STMT_INLINED_COPY_END MEM.cpy 1}"}));
    EXPECT_EQ(MessageTexts(),
              V{"969@1:Environment variable 'VEMLO_TEST_LIB' is not defined, so library name is ignored"});
}

TEST_F(CopyReplace, ExecSqlInclude) {
    Member("SQLMEM.cpy", Fixed("01 HOST PIC X."));
    EXPECT_EQ(Words(Fixed("EXEC SQL INCLUDE SQLMEM END-EXEC.") + Fixed("EXEC SQL SELECT END-EXEC.")),
              (V{"SEP_INLINED_COPY", "{STMT_INLINED_INCLUDE_BEG SQLMEM.cpy 1}", "01", "HOST", "PIC", "X", "SEP_DOT",
                 "SEP_COPY_EOF", "{STMT_INLINED_INCLUDE_END SQLMEM.cpy 1}", "EXEC", "SQL", "SELECT", "END-EXEC",
                 "SEP_DOT"}));
    // The period right after END-EXEC belongs to the statement.
    DovExpr* include = nodes[0].get();
    EXPECT_EQ(include->Tokens().Last()->code, SEP_DOT);
    EXPECT_EQ(include->ArgSlots(0)->tokens.First()->image, "EXEC");
    Messages().clear();
    EXPECT_EQ(Words(Fixed("EXEC SQL INCLUDE SQLCA END-EXEC")),
              (V{"SEP_UNINLINED_COPY", "{STMT_UNINLINED_INCLUDE}"}));
    EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(CopyReplace, IncludeMemberComesBeforeWhatFollowsEndExec) {
    // What follows END-EXEC belongs to the including file and comes after
    // the member, also the end of that file.
    Member("SQLMEM.cpy", Fixed("01 HOST PIC X."));
    const V member = {"SEP_INLINED_COPY", "{STMT_INLINED_INCLUDE_BEG SQLMEM.cpy 1}", "01", "HOST", "PIC", "X",
                      "SEP_DOT", "SEP_COPY_EOF", "{STMT_INLINED_INCLUDE_END SQLMEM.cpy 1}"};
    V want = member;
    EXPECT_EQ(Words(Fixed("EXEC SQL INCLUDE SQLMEM END-EXEC")), want);
    want.push_back("NEXT");
    EXPECT_EQ(Words(Fixed("EXEC SQL INCLUDE SQLMEM END-EXEC") + Fixed("NEXT")), want);
    want = member;
    want.insert(want.end(), {"SEP_LEFT_PAR", "NEXT"});
    EXPECT_EQ(Words(Fixed("EXEC SQL INCLUDE SQLMEM END-EXEC(NEXT")), want);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(CopyReplace, IncLines) {
    Member("INCMEM.cpy", Fixed("INCLUDED."));
    EXPECT_EQ(Words(Fixed("A.") + "-INC INCMEM\n" + Fixed("B.")),
              (V{"A", "SEP_DOT", "SEP_COPY_INC", "{STMT_INLINED_COPY_BEG INCMEM.cpy 1}", "INCLUDED", "SEP_DOT",
                 "SEP_COPY_EOF", "{STMT_INLINED_COPY_END INCMEM.cpy 1}", "B", "SEP_DOT"}));
    EXPECT_EQ(Words(Fixed("A.") + "-INC ABSENT\n" + Fixed("B.")),
              (V{"A", "SEP_DOT", "SEP_UNINLINED_COPY", "{STMT_UNINLINED_COPY}", "B", "SEP_DOT"}));
}

TEST_F(CopyReplace, BadStatementsAreReportedAndLexingGoesOn) {
    Member("MEM.cpy", Fixed("M."));
    struct Case {
        std::string source;
        V words;
        std::string message;
    };
    const Case cases[] = {
        {Fixed("COPY MEM REPLACING A C. NEXT."), {"C", "SEP_DOT", "NEXT", "SEP_DOT"},
         "970@1:We expect word BY after text-1 in COPY statement"},
        {Fixed("COPY MEM") + Fixed("MOVE X TO Y."), {"MOVE", "X", "TO", "Y", "SEP_DOT"},
         "970@2:COPY statement should be ended with separator period. Ignored."},
        {Fixed("COPY MEM COPY REPLACING A BY B. NEXT."),
         {"SEP_INLINED_COPY", "{STMT_INLINED_COPY_BEG MEM.cpy 1}", "M", "SEP_DOT", "SEP_COPY_EOF",
          "{STMT_INLINED_COPY_END MEM.cpy 1}", "NEXT", "SEP_DOT"},
         "970@1:COPY statement embedded within a COPY statement. Ignored."},
        {Fixed("COPY . NEXT."), {"NEXT", "SEP_DOT"}, "970@1:We expect file name after COPY word. Ignored"},
        {Fixed("COPY MEM OF . NEXT."), {"NEXT", "SEP_DOT"},
         "970@1:Expect library name after OF/IN word in COPY statement"},
        {Fixed("REPLACE OFF NEXT."), {"NEXT", "SEP_DOT"},
         "970@1:REPLACE OFF statement should be ended with separator period. Ignored."},
        {Fixed("REPLACE ==A== C. A."), {"C", "SEP_DOT", "A", "SEP_DOT"},
         "970@1:We expect word BY after text-1 in REPLACE statement"},
        {Fixed("REPLACE ==== BY ==B==. A."), {"A", "SEP_DOT"}, "970@1:The text after REPLACE keyword cannot be empty"},
        {Fixed("REPLACE ==A"), {}, "970@1:End-of-file in pseudo-text"},
        {Fixed("EXEC SQL INCLUDE . NEXT."), {"NEXT", "SEP_DOT"},
         "970@1:We expect file name after EXEC SQL INCLUDE. Ignored"},
        {Fixed("EXEC SQL INCLUDE MEM NEXT."), {"NEXT", "SEP_DOT"},
         "970@1:We expect END-EXEC after file name in EXEC SQL INCLUDE. Ignored"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        Messages().clear();
        EXPECT_EQ(Words(c.source), c.words);
        ASSERT_FALSE(Messages().empty());
        EXPECT_EQ(MessageTexts()[0], c.message);
    }
}

TEST_F(CopyReplace, DroppedStatementKeepsItsWordsForTheNextToken) {
    ASSERT_TRUE(Open(Fixed("COPY MEM") + Fixed("MOVE X.")));
    ItemPtr move(lexer.GetCopylessTextWord());
    EXPECT_EQ(Describe(move->token), "TK_CHAR_STRING MOVE");
    EXPECT_EQ(Kept(*move), (V{"TK_COPY COPY", "SEP_SPACE", "TK_CHAR_STRING MEM", "SEP_SPACE"}));
}

// The NIST programs of COPY REPLACING and REPLACE say in their comments what
// each test expects of the text that reaches the compiler.
class NistCopyReplace : public CopyReplace {
protected:
    // The words of a program, blank-separated, with separators spelled.
    std::string Program(const char* name) {
        auto root = vemlo_test::CorpusDir();
        UseFolder((*root / "nist-copy").string());
        lexer.copySuffixes = VStringArray(2);
        lexer.copySuffixes.items[lexer.copySuffixes.count++] = ".CPY";
        lexer.dials = DovNoDials();
        DovDialsAdd(lexer.dials, DIAL_ANSI85);
        lexer.Reset();
        std::string text;
        if (lexer.SetInput((*root / "nist" / name).c_str()) != 0) return "(cannot open)";
        for (int guard = 0; guard < 1000000; ++guard) {
            ItemPtr item(lexer.GetCopylessTextWord());
            const int code = item->token->code;
            if (code == SEP_EOF) break;
            delete lexer.TakeMarkerNode(code);
            std::string w = code == TK_CHAR_STRING || code == TK_NONNUM_LIT ? item->token->image.CStr()
                            : code == SEP_DOT                                 ? "."
                            : code == SEP_LEFT_PAR                            ? "("
                            : code == SEP_RIGHT_PAR                           ? ")"
                            : code == SEP_INLINED_COPY                        ? "<<"
                            : code == SEP_COPY_EOF                            ? ">>"
                            : code == SEP_UNINLINED_COPY                      ? "<COPY?>"
                                                                              : Describe(item->token);
            text += w + " ";
        }
        lexer.CloseInput();
        return text;
    }
    static bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
};

TEST_F(NistCopyReplace, ProgramsSeeTheTextTheirCommentsExpect) {
    VEMLO_REQUIRE_CORPUS();
    std::string sm206 = Program("SM206A.CBL");
    // KP001: PERFORM FAIL. replaced by nothing.
    EXPECT_TRUE(Has(sm206, "<< PST-TEST-001 . MOVE \"PSEUDO-TEXT\" TO FEATURE . MOVE \"PST-TEST-001\" TO PAR-NAME "
                           "PERFORM PASS . PST-WRITE-001 . PERFORM PRINT-DETAIL . >>"));
    // KP003: +00001 becomes +2, the word 1 becomes -3.
    EXPECT_TRUE(Has(sm206, "ADD +2 TO WRK-DS-09V00-901 . SUBTRACT -3 FROM"));
    // KP004: the continued word HOWEVER belongs to the pseudo-text.
    EXPECT_TRUE(Has(sm206, "ADD 5 TO WRK-DS-09V00-901 . MOVE +2 TO WRK-DS-09V00-902 ."));
    EXPECT_TRUE(Has(sm206, "PERFORM DE-LETE ."));
    // KP005: replacement text is not replaced again.
    EXPECT_TRUE(Has(sm206, "<< MOVE 5 TO WRK-DS-09V00-901 . >>"));
    // KP006: the continued number 001005 is one word and matches neither.
    EXPECT_TRUE(Has(sm206, "<< ADD 001005 TO WRK-DS-09V00-901 . >>"));
    // KP007: the comment inside the text does not stop the match.
    EXPECT_TRUE(Has(sm206, "<< PERFORM PASS . >>"));
    // KP009: "G" replaced by "T".
    EXPECT_TRUE(Has(sm206, "<< IF WRK-XN-00001 = \"T\" >>"));

    std::string sm208 = Program("SM208A.CBL");
    // REPLACE in force across the member KK208A.
    EXPECT_TRUE(Has(sm208, "<< MOVE \"PASS\" TO P-OR-F . >>"));
    EXPECT_FALSE(Has(sm208, "<< MOVE \"FAIL\""));

    std::string sm401 = Program("SM401M.CBL");
    EXPECT_TRUE(Has(sm401, "<< DISPLAY \"COW SHEEP PIG HORSE LAMB DOG CAT \" . >>"));

    for (const char* name : {"SM201A.CBL", "SM203A.CBL", "SM205A.CBL", "SM207A.CBL"}) {
        SCOPED_TRACE(name);
        Messages().clear();
        std::string text = Program(name);
        EXPECT_FALSE(Has(text, "<COPY?>"));
        for (const auto& m : Messages()) EXPECT_LT(m.severity, MSG_ERR) << m.text;
    }
}

}  // namespace
