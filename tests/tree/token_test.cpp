#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "lbase/fast_ostream.h"
#include "lbase/tic.h"
#include "tests/support/child_process.h"
#include "tree/tree.h"

namespace {

DovToken* Tok(int code, const char* image = "", DovTxtPosn beg = {}, DovTxtPosn end = {}) {
    return new DovToken(code, image, DovTxtPosnRange{beg, end});
}

void Add(DovTokenList& list, DovToken* t) { list.AppendToken(t); }

std::string Debug(const DovToken& t) {
    std::ostringstream os;
    t.Print(os);
    return os.str();
}

std::string Debug(const DovTokenList& l) {
    std::ostringstream os;
    l.Print(os);
    return os.str();
}

std::string Msg(const DovTokenList& l) {
    std::ostringstream os;
    os << l;
    return os.str();
}

std::string Tic(const DovTokenList& l) {
    std::ostringstream os;
    l.PutTic(os);
    return os.str();
}

std::vector<int> Codes(const DovTokenList& l) {
    std::vector<int> out;
    for (const DovToken* t : l) out.push_back(t->code);
    return out;
}

TEST(Token, TicFormOfAUserWord) {
    DovToken t(TK_USER_DEFD_WORD, "ABC", {DovTxtPosn(4, 7, 1), DovTxtPosn(4, 9, 1)});
    std::ostringstream os;
    t.PutTic(os);
    EXPECT_EQ(os.str(), "T419,3:ABC[4,7,n1][4,9,n1]");

    DovTokenList list;
    Add(list, new DovToken(t));
    EXPECT_EQ(Tic(list), "-T419,3:ABC[4,7,n1][4,9,n1]#");
    EXPECT_EQ(Tic(DovTokenList()), "#");
}

TEST(Token, ListsRoundTripThroughTic) {
    DovTokenList list;
    Add(list, Tok(SEP_SPACE, " ", DovTxtPosn(1, 11, 1), DovTxtPosn(1, 12, 1)));
    Add(list, Tok(CM_COMMENT, "* with \"quotes\" #- and T", DovTxtPosn(2, 6, 2), DovTxtPosn(2, 40, 2)));
    Add(list, Tok(RW_MOVE));
    Add(list, Tok('A', "", DovTxtPosn(3000, 300, 0), DovTxtPosn(70000, 0, 3)));
    Add(list, Tok(MSG_ERR, "line\nbreak", DovTxtPosn(9, 0, 1), DovTxtPosn(9, 0, 1)));
    std::string text = Tic(list);

    DovTokenList back;
    std::istringstream in(text + "rest");
    VString msg;
    ASSERT_EQ(back.GetTic(in, msg), 0) << msg;
    EXPECT_EQ(Tic(back), text);
    EXPECT_EQ(Codes(back), Codes(list));
    EXPECT_TRUE((*++back.begin())->image == "* with \"quotes\" #- and T");
    EXPECT_EQ(back.Last()->range.beg, DovTxtPosn(9, 0, 1));
    std::string rest;
    in >> rest;
    EXPECT_EQ(rest, "rest");

    DovTokenList empty;
    std::istringstream in2("#");
    EXPECT_EQ(empty.GetTic(in2, msg), 0);
    EXPECT_TRUE(empty.IsEmpty());
}

// A stored list of many tokens reads back whole and in order behind the
// tokens the list already had (and in time linear in its length).
TEST(Token, LongListsReadBackInOrder) {
    constexpr int kTokens = 100000;
    DovTokenList list;
    for (int i = kTokens - 1; i >= 0; --i) {
        DovToken* t = Tok(1 + i % 255, "", DovTxtPosn(static_cast<std::uint32_t>(i + 1), 0, 1));
        list.PushFront(t);
    }
    std::istringstream in(Tic(list));
    DovTokenList back;
    Add(back, Tok(RW_MOVE));
    VString msg;
    ASSERT_EQ(back.GetTic(in, msg), 0) << msg;
    std::vector<int> codes = Codes(back);
    ASSERT_EQ(codes.size(), static_cast<std::size_t>(kTokens + 1));
    EXPECT_EQ(codes[0], RW_MOVE);
    for (int i = 0; i < kTokens; ++i) ASSERT_EQ(codes[static_cast<std::size_t>(i + 1)], 1 + i % 255) << i;
    EXPECT_EQ(back.Last()->range.beg.Line(), static_cast<std::uint32_t>(kTokens));
}

struct BadTic {
    const char* text;
    char result;
    const char* message;  // prefix of the message
    int tokens_kept;
};

TEST(Token, BadTicText) {
    const BadTic cases[] = {
        {"-T419,1:A[1,0,n1][1,1,n1]x", '<', "DovTokenList::GetTic: '#' is expected", 1},
        {"-T419,1:A[1,0,n1][1,1,n1]", '<', "DovTokenList::GetTic: '#' is expected", 1},
        {"", '<', "DovTokenList::GetTic: '#' is expected", 0},
        {"-X419,1:A[1,0,n1][1,1,n1]#", '<', "DovToken::GetTic: 'T' is expected", 0},
        {"-T-5,1:A[1,0,n1][1,1,n1]#", ';', "GetTicIntNo: negative", 0},
        {"-T40000,1:A[1,0,n1][1,1,n1]#", ';', "DovToken::GetTic: token code 40000 is out of range", 0},
        {"-T419,1:A[1,0,n1][1,1,n1]-T419,5:AB", '9', "EOF", 1},
        {"-T419,1:A(1,0,n1)[1,1,n1]#", '<', "DovTxtPosn::GetTic: '[' is expected", 0},
        {"-", '<', "DovToken::GetTic: 'T' is expected", 0},
    };
    for (const BadTic& c : cases) {
        SCOPED_TRACE(c.text);
        DovTokenList list;
        std::istringstream in(c.text);
        VString msg;
        EXPECT_EQ(list.GetTic(in, msg), c.result);
        EXPECT_EQ(std::string(msg.CStr()).rfind(c.message, 0), 0u) << msg;
        EXPECT_EQ(static_cast<int>(Codes(list).size()), c.tokens_kept);
    }
}

TEST(Token, TicReaderSurvivesMutatedInput) {
    DovTokenList list;
    Add(list, Tok(TK_USER_DEFD_WORD, "ABC", DovTxtPosn(4, 7, 1), DovTxtPosn(4, 9, 1)));
    Add(list, Tok(CM_COMMENT, "*> note", DovTxtPosn(5, 0, 1), DovTxtPosn(5, 7, 1)));
    Add(list, Tok(MSG_WARN, "", DovTxtPosn(6, 1, 1), DovTxtPosn(6, 1, 1)));
    const std::string good = Tic(list);
    const std::string alphabet = "-T#[],:0123456789ns\n9999999999";
    std::mt19937 rng(5);
    for (int round = 0; round < 3000; ++round) {
        std::string text = good;
        int edits = 1 + static_cast<int>(rng() % 4);
        for (int e = 0; e < edits; ++e) {
            std::size_t at = rng() % (text.size() + 1);
            switch (rng() % 3) {
                case 0: text.insert(at, 1, alphabet[rng() % alphabet.size()]); break;
                case 1: if (at < text.size()) text.erase(at, 1); break;
                default: if (at < text.size()) text[at] = alphabet[rng() % alphabet.size()]; break;
            }
        }
        DovTokenList back;
        std::istringstream in(text);
        VString msg;
        char r = back.GetTic(in, msg);
        if (r == 0) {
            // Whatever was accepted writes out again and reads back the same.
            std::string again = Tic(back);
            DovTokenList twice;
            std::istringstream in2(again);
            ASSERT_EQ(twice.GetTic(in2, msg), 0) << text;
            EXPECT_EQ(Tic(twice), again);
        } else {
            EXPECT_FALSE(msg.IsEmpty()) << text;
        }
    }
}

TEST(Token, DebugForm) {
    EXPECT_EQ(Debug(DovToken(65, "")), "TokenChar 'A'");
    EXPECT_EQ(Debug(DovToken(2000, "")), "Token #2000");
    EXPECT_EQ(Debug(DovToken(0, "")), "LEX_EOF");
    EXPECT_EQ(Debug(DovToken(OP_UN_PLUS, "")), "OP_UN_PLUS ");
    EXPECT_EQ(Debug(DovToken(UW_USER_FIG_CONST, "HIGH-ONES")), "UW_USER_FIG_CONST HIGH-ONES");
    DovSrcFileNames().FindOrAdd("PROG1.cbl", false, true);
    int ix = DovSrcFileNames().FindOrAdd("PROG1.cbl", false, false);
    DovToken placed(TK_USER_DEFD_WORD, "ABC", {DovTxtPosn(12, 7, ix), DovTxtPosn(12, 9, ix)});
    EXPECT_EQ(Debug(placed), "TK_USER_DEFD_WORD ABC posn=[beg:PROG1.cbl:12:8, end:PROG1.cbl:12:10]");
    DovToken end_only(SEP_DOT, "", {DovTxtPosn(), DovTxtPosn(3, 0, ix)});
    EXPECT_EQ(Debug(end_only), "SEP_DOT posn=[beg:(null), end:PROG1.cbl:3:1]");
}

struct FormCase {
    int code;
    const char* image;
    const char* message;  // the message form
    const char* text;     // DovTokenText
};

TEST(Token, MessageFormAndText) {
    const FormCase cases[] = {
        {TK_USER_DEFD_WORD, "", "user-word ", ""},
        {TK_USER_DEFD_WORD, "WS-A", "user-word WS-A", "WS-A"},
        {SEP_SPACE, "   ", " ", " "},
        {PRESERVED_SPACE, "", "PRESERVED_SPACE", " "},
        {PRESERVED_STRING, "X'1F'", "PRESERVED_STRING X'1F'", "X'1F'"},
        {RW_MOVE, "", "keyword MOVE", "MOVE"},
        {RW_I_O, "", "keyword I-O", "I-O"},
        {SEP_LEFT_PAR, "", "(", "("},
        {ST_RIGHT_PAR, "", ")", ")"},
        {SEP_EQEQ, "", "==", "=="},
        {OP_EXP, "", "**", "**"},
        {OP_GE, "", ">=", ">="},
        {ST_VERT, "", "|", "|"},
        {ST_RIGHT_ANGLE, "", "ST_RIGHT_ANGLE", "\xac"},
        {TK_NONNUM_LIT, "'AB'", "nonnum-literal 'AB'", "'AB'"},
        {TK_PIC_CHAR_STRING, "9(5)V99", "pic-char-string 9(5)V99", "9(5)V99"},
        {UW_CONSTANT_NAME, "K", "constant-name K", "K"},
        {UW_USER_FIG_CONST, "HI", "figurative-const-name HI", "HI"},
        {ST_DELIM_IDENT, "\"t\"", "delimited-identifier \"t\"", "\"t\""},
        {RW_DATA_DIVISION, "", "RW_DATA_DIVISION", "DATA_DIVISION"},
        {CMB_NOT_ON_AT, "", "CMB_NOT_ON_AT", "NOT"},
        {TK_CICS, "", "TK_CICS", "CICS"},
        {STK_SELECT, "", "STK_SELECT", "SELECT"},
        {CTK_RESP2, "", "CTK_RESP2", "RESP2"},
        {MSG_ERR, "bad", "MSG_ERR bad", "MSG_ERR bad"},
        {SEP_EOF, "", "SEP_EOF", "SEP_EOF"},
        // Words and comments give their own text, not their debug form.
        {TK_FUNC_NAME_NO_ARGS, "CURRENT-DATE", "TK_FUNC_NAME_NO_ARGS CURRENT-DATE", "CURRENT-DATE"},
        {CM_COMMENT, "* note", "CM_COMMENT * note", "* note"},
        {65, "", "TokenChar 'A'", "TokenChar 'A'"},
    };
    for (const FormCase& c : cases) {
        SCOPED_TRACE(c.message);
        DovToken t(c.code, c.image);
        std::ostringstream os;
        os << t;
        EXPECT_EQ(os.str(), c.message);
        EXPECT_EQ(std::string(DovTokenMsgStr(t).CStr()), c.message);
        EXPECT_EQ(std::string(DovTokenText(t).CStr()), c.text);
    }
}

TEST(Token, SeparatorTests) {
    for (int code = 256; code <= 1734; ++code) {
        DovToken t(code, "");
        bool sep = (code >= 396 && code <= 400) || (code >= 402 && code <= 411) || code == 414;
        bool blank = code == SEP_SPACE || code == SEP_COMMA || code == SEP_SEMI;
        EXPECT_EQ(t.IsSeparator(), sep ? 1 : 0) << code;
        EXPECT_EQ(t.IsBlankSeparator(), blank ? 1 : 0) << code;
        EXPECT_EQ(DovIsBlankSeparator(&t), blank ? 1 : 0) << code;
    }
}

TEST(Token, CopyIsDeep) {
    DovToken a(TK_USER_DEFD_WORD, "ABC", {DovTxtPosn(1, 2, 3), DovTxtPosn(4, 5, 6)});
    DovToken b(a);
    EXPECT_EQ(b.code, a.code);
    EXPECT_TRUE(b.image == "ABC");
    EXPECT_NE(b.image.Ptr(), a.image.Ptr());
    EXPECT_EQ(b.range.beg, DovTxtPosn(1, 2, 3));
    EXPECT_EQ(b.range.end, DovTxtPosn(4, 5, 6));
}

TEST(TokenList, FirstSignificantAndLast) {
    DovTokenList list;
    EXPECT_EQ(list.FirstSignificant(), nullptr);
    EXPECT_EQ(list.Last(), nullptr);
    Add(list, Tok(SEP_SPACE));
    Add(list, Tok(SEP_COMMA));
    Add(list, Tok(CM_COMMENT, "*"));
    EXPECT_EQ(list.FirstSignificant(), nullptr);
    Add(list, Tok(SEP_SEMI));
    Add(list, Tok(RW_MOVE));
    Add(list, Tok(SEP_DOT));
    ASSERT_NE(list.FirstSignificant(), nullptr);
    EXPECT_EQ(list.FirstSignificant()->code, RW_MOVE);
    EXPECT_EQ(list.Last()->code, SEP_DOT);
}

TEST(TokenList, PopAndPush) {
    DovTokenList list;
    EXPECT_EQ(list.PopBack(), nullptr);
    EXPECT_EQ(list.PopFront(), nullptr);
    DovToken* t = Tok(RW_ADD);
    DovToken* kept = t;
    list.AppendToken(t);
    EXPECT_EQ(t, nullptr);
    DovToken* popped = list.PopBack();
    EXPECT_EQ(popped, kept);
    EXPECT_TRUE(list.IsEmpty());
    delete popped;

    Add(list, Tok(RW_ADD));
    Add(list, Tok(RW_TO));
    DovToken* front = Tok(SEP_SPACE);
    list.PushFront(front);
    EXPECT_EQ(front, nullptr);
    EXPECT_EQ(Codes(list), (std::vector<int>{SEP_SPACE, RW_ADD, RW_TO}));
    std::unique_ptr<DovToken> last(list.PopBack()), first(list.PopFront());
    EXPECT_EQ(last->code, RW_TO);
    EXPECT_EQ(first->code, SEP_SPACE);
    EXPECT_EQ(Codes(list), (std::vector<int>{RW_ADD}));

    DovToken* none = nullptr;
    list.AppendToken(none);
    list.PushFront(none);
    EXPECT_EQ(Codes(list), (std::vector<int>{RW_ADD}));
}

TEST(TokenList, AppendAndPrependLists) {
    DovTokenList a, b, c;
    Add(a, Tok(RW_ADD));
    Add(b, Tok(RW_TO));
    Add(b, Tok(SEP_DOT));
    a.AppendList(b);
    EXPECT_TRUE(b.IsEmpty());
    EXPECT_EQ(Codes(a), (std::vector<int>{RW_ADD, RW_TO, SEP_DOT}));
    Add(c, Tok(CM_COMMENT));
    Add(c, Tok(SEP_SPACE));
    a.PrependList(c);
    EXPECT_TRUE(c.IsEmpty());
    EXPECT_EQ(Codes(a), (std::vector<int>{CM_COMMENT, SEP_SPACE, RW_ADD, RW_TO, SEP_DOT}));
    // Into an empty list, and from an empty one.
    c.AppendList(a);
    EXPECT_EQ(Codes(c).size(), 5u);
    c.PrependList(a);
    c.AppendList(a);
    EXPECT_EQ(Codes(c).size(), 5u);
    // A list moved onto itself stays as it is instead of becoming a ring.
    c.AppendList(c);
    c.PrependList(c);
    EXPECT_EQ(Codes(c), (std::vector<int>{CM_COMMENT, SEP_SPACE, RW_ADD, RW_TO, SEP_DOT}));
}

TEST(TokenList, AppendItems) {
    DovTokenList list;
    Add(list, Tok(RW_MOVE));
    auto* item = new DovTokenItem(Tok(TK_USER_DEFD_WORD, "X"));
    Add(item->list, Tok(CM_COMMENT, "*1"));
    Add(item->list, Tok(CM_COMMENT, "*2"));
    list.AppendItem(item);
    EXPECT_EQ(Codes(list), (std::vector<int>{RW_MOVE, CM_COMMENT, CM_COMMENT, TK_USER_DEFD_WORD}));

    auto* dropped = new DovTokenItem(Tok(SEP_DOT));
    Add(dropped->list, Tok(SEP_SPACE));
    list.AppendItemDropToken(dropped);
    EXPECT_EQ(Codes(list), (std::vector<int>{RW_MOVE, CM_COMMENT, CM_COMMENT, TK_USER_DEFD_WORD, SEP_SPACE}));
    list.AppendItem(nullptr);
    list.AppendItemDropToken(nullptr);
    EXPECT_EQ(Codes(list).size(), 5u);
}

TEST(TokenList, RemoveIf) {
    DovTokenList list;
    for (int code : {SEP_SPACE, RW_MOVE, SEP_COMMA, SEP_SPACE, TK_USER_DEFD_WORD, SEP_SEMI, SEP_DOT, SEP_SPACE})
        Add(list, Tok(code));
    list.RemoveBlankSeparators();
    EXPECT_EQ(Codes(list), (std::vector<int>{RW_MOVE, TK_USER_DEFD_WORD, SEP_DOT}));
    list.RemoveIf([](DovToken* t) { return t->code == SEP_DOT ? 1 : 0; });
    EXPECT_EQ(Codes(list), (std::vector<int>{RW_MOVE, TK_USER_DEFD_WORD}));
    list.RemoveIf([](DovToken*) { return 1; });
    EXPECT_TRUE(list.IsEmpty());
}

TEST(TokenList, CopiesAreDeep) {
    DovTokenList list;
    Add(list, Tok(TK_USER_DEFD_WORD, "ABC", DovTxtPosn(1, 0, 1), DovTxtPosn(1, 2, 1)));
    Add(list, Tok(SEP_DOT));
    DovTokenList copy(list);
    EXPECT_EQ(Tic(copy), Tic(list));
    EXPECT_NE(copy.First(), list.First());
    EXPECT_NE(copy.First()->image.Ptr(), list.First()->image.Ptr());

    DovTokenList other;
    Add(other, Tok(RW_ADD));
    other.Assign(list);
    EXPECT_EQ(Tic(other), Tic(list));
    // Assigning a list to itself keeps it.
    other.Assign(other);
    EXPECT_EQ(Tic(other), Tic(list));
}

TEST(TokenList, AssignmentOperatorAnnouncesItself) {
    auto result = vemlo_test::RunInChild([] {
        DovTokenList a, b;
        DovToken* t = new DovToken(RW_ADD, "");
        b.AppendToken(t);
        a = b;
        a = a;
        std::cout << Codes(a).size() << std::endl;
    });
    EXPECT_EQ(result.out,
              "=== &DovTokenList::operator = (const DovTokenList &tl)\n"
              "=== &DovTokenList::operator = (const DovTokenList &tl)\n1\n");
}

TEST(TokenList, MessagesAndPositions) {
    DovTokenList list;
    EXPECT_EQ(list.HasUnplacedToken(), 0);
    DovTxtPosnRange none = list.PosnRange();
    EXPECT_TRUE(none.IsNull());

    list.AddNewToken(MSG_WARN, DovTxtPosn(7, 3, 1), "watch out");
    ASSERT_NE(list.Last(), nullptr);
    EXPECT_EQ(list.Last()->code, MSG_WARN);
    EXPECT_TRUE(list.Last()->image == "watch out");
    EXPECT_EQ(list.Last()->range.beg, DovTxtPosn(7, 3, 1));
    EXPECT_EQ(list.Last()->range.end, DovTxtPosn(7, 3, 1));

    Add(list, Tok(CM_COMMENT, "*"));  // unplaced comments do not count
    EXPECT_EQ(list.HasUnplacedToken(), 0);
    Add(list, Tok(TK_USER_DEFD_WORD, "A", DovTxtPosn(8, 1, 1), DovTxtPosn(8, 2, 1)));
    Add(list, Tok(SEP_SPACE, "", DovTxtPosn(), DovTxtPosn()));
    EXPECT_EQ(list.HasUnplacedToken(), 1);

    DovTxtPosnRange r = list.PosnRange();
    EXPECT_EQ(r.beg, DovTxtPosn(7, 3, 1));
    EXPECT_EQ(r.end, DovTxtPosn(8, 2, 1));

    // A begin that is already set stays; the end comes from the last placed
    // token.
    DovTxtPosnRange wide{DovTxtPosn(1, 1, 1), DovTxtPosn(2, 2, 1)};
    list.WidenPosnRange(wide);
    EXPECT_EQ(wide.beg, DovTxtPosn(1, 1, 1));
    EXPECT_EQ(wide.end, DovTxtPosn(8, 2, 1));

    Add(list, Tok(SEP_DOT, "", DovTxtPosn(8, 2, 1), DovTxtPosn()));
    EXPECT_EQ(list.HasUnplacedToken(), 1);
}

TEST(TokenList, MoveImagesTo) {
    DovTokenList list;
    Add(list, Tok(TK_USER_DEFD_WORD, "A"));
    Add(list, Tok(SEP_SPACE, ""));
    Add(list, Tok(TK_USER_DEFD_WORD, "B"));
    VStringList images;
    images.Append("first");
    list.MoveImagesTo(images);
    EXPECT_TRUE(list.IsEmpty());
    std::ostringstream os;
    os << images;
    EXPECT_EQ(os.str(), "CL{ first, A, , B }CL");
}

TEST(TokenList, PrintedForms) {
    DovTokenList list;
    EXPECT_EQ(Debug(list), "{}");
    EXPECT_EQ(Msg(list), "{}");
    Add(list, Tok(RW_MOVE));
    Add(list, Tok(TK_USER_DEFD_WORD, "X"));
    EXPECT_EQ(Debug(list), "{RW_MOVE, TK_USER_DEFD_WORD X}");
    EXPECT_EQ(Msg(list), "{keyword MOVE, user-word X}");
    EXPECT_EQ(Tic(list), "-T" + std::to_string(RW_MOVE) + ",0:[0,0,n0][0,0,n0]-T419,1:X[0,0,n0][0,0,n0]#");
    EXPECT_EQ(list.HasUnplacedToken(), 1);
    DovTokenList copy(list);
    EXPECT_EQ(Codes(copy).size(), 2u);
    delete list.PopBack();
    EXPECT_EQ(list.Last()->code, RW_MOVE);
}

int DropMultipleOfThree(DovToken* t) { return t->code % 3 == 0; }

// Every list operation against a plain vector of codes, in a random order:
// the list must keep its tokens, its last token and further appends exact
// after each of them (appends link in behind the ring's last token).
TEST(TokenList, StaysConsistentThroughEveryOperation) {
    std::mt19937 rng(32);
    DovTokenList list;
    std::vector<int> model;
    int next = 1;
    auto fill = [&](DovTokenList& l, std::vector<int>& m, int n) {
        for (int i = 0; i < n; ++i) {
            Add(l, Tok(next));
            m.push_back(next++);
        }
    };
    for (int step = 0; step < 4000; ++step) {
        const int op = static_cast<int>(rng() % 14);
        switch (op) {
        case 0:
        case 1:
            fill(list, model, 1 + static_cast<int>(rng() % 3));
            break;
        case 2: {
            DovToken* t = Tok(next);
            list.PushFront(t);
            EXPECT_EQ(t, nullptr);
            model.insert(model.begin(), next++);
            break;
        }
        case 3: {
            DovTokenList other;
            std::vector<int> more;
            fill(other, more, static_cast<int>(rng() % 4));
            list.AppendList(other);
            EXPECT_TRUE(other.IsEmpty());
            model.insert(model.end(), more.begin(), more.end());
            // The emptied list is usable again.
            fill(other, more, 1);
            EXPECT_EQ(Codes(other), std::vector<int>{more.back()});
            break;
        }
        case 4: {
            DovTokenList other;
            std::vector<int> more;
            fill(other, more, static_cast<int>(rng() % 4));
            list.PrependList(other);
            EXPECT_TRUE(other.IsEmpty());
            model.insert(model.begin(), more.begin(), more.end());
            break;
        }
        case 5:
            if (DovToken* t = list.PopFront()) {
                ASSERT_FALSE(model.empty());
                EXPECT_EQ(t->code, model.front());
                model.erase(model.begin());
                delete t;
            } else {
                EXPECT_TRUE(model.empty());
            }
            break;
        case 6:
            if (DovToken* t = list.PopBack()) {
                ASSERT_FALSE(model.empty());
                EXPECT_EQ(t->code, model.back());
                model.pop_back();
                delete t;
            } else {
                EXPECT_TRUE(model.empty());
            }
            break;
        case 7:
            if (rng() % 4 == 0) {
                list.RemoveIf(DropMultipleOfThree);
                std::erase_if(model, [](int c) { return c % 3 == 0; });
            }
            break;
        case 8: {
            DovTokenList copy(list);
            EXPECT_EQ(Codes(copy), model);
            fill(copy, model, 1);
            list.Assign(copy);
            break;
        }
        case 9:
            if (rng() % 8 == 0) {
                list.Clear();
                model.clear();
            }
            break;
        case 10:
            list.AddNewToken(next, DovTxtPosn(1, 8, 1), "message");
            model.push_back(next++);
            break;
        case 11: {
            auto* item = new DovTokenItem(Tok(next + 1));
            Add(item->list, Tok(next));
            model.push_back(next);
            if (rng() % 2) {
                list.AppendItem(item);
                model.push_back(next + 1);
            } else {
                list.AppendItemDropToken(item);
            }
            next += 2;
            break;
        }
        case 12: {
            DovTokenList stored;
            std::vector<int> more;
            fill(stored, more, static_cast<int>(rng() % 3));
            std::istringstream is(Tic(stored));
            VString message;
            ASSERT_EQ(list.GetTic(is, message), TIC_OK) << message;
            model.insert(model.end(), more.begin(), more.end());
            break;
        }
        case 13: {
            // An item's kept list emptied by AppendList takes appends again.
            DovTokenItem item;
            std::vector<int> kept;
            fill(item.list, kept, 2);
            list.AppendList(item.list);
            model.insert(model.end(), kept.begin(), kept.end());
            fill(item.list, kept, 1);
            EXPECT_EQ(Codes(item.list), std::vector<int>{kept.back()});
            break;
        }
        }
        ASSERT_EQ(Codes(list), model) << "after operation " << op << " at step " << step;
        if (model.empty()) {
            EXPECT_EQ(list.Last(), nullptr);
            EXPECT_TRUE(list.IsEmpty());
        } else {
            ASSERT_NE(list.Last(), nullptr);
            EXPECT_EQ(list.Last()->code, model.back());
        }
        // Keep the list from growing without bound.
        if (model.size() > 200) {
            list.Clear();
            model.clear();
        }
    }
}

// The list is a ring through its last token: joining lists at either end,
// and taking the only token from either end, must leave both lists whole.
TEST(TokenList, JoinsAndEmptiesAtBothEnds) {
    struct Case {
        std::vector<int> mine, other;
        bool prepend;
        std::vector<int> joined;
    };
    const Case cases[] = {
        {{}, {}, false, {}},          {{}, {7}, false, {7}},           {{1}, {}, true, {1}},
        {{1}, {7}, false, {1, 7}},    {{1}, {7}, true, {7, 1}},        {{1, 2, 3}, {7, 8}, false, {1, 2, 3, 7, 8}},
        {{1, 2, 3}, {7, 8}, true, {7, 8, 1, 2, 3}},                    {{}, {7, 8}, true, {7, 8}},
    };
    for (const Case& c : cases) {
        DovTokenList mine, other;
        for (int code : c.mine) Add(mine, Tok(code));
        for (int code : c.other) Add(other, Tok(code));
        if (c.prepend)
            mine.PrependList(other);
        else
            mine.AppendList(other);
        EXPECT_TRUE(other.IsEmpty());
        EXPECT_EQ(Codes(mine), c.joined);
        EXPECT_EQ(mine.First() ? mine.First()->code : -1, c.joined.empty() ? -1 : c.joined.front());
        EXPECT_EQ(mine.Last() ? mine.Last()->code : -1, c.joined.empty() ? -1 : c.joined.back());
        // Appending after a join goes behind the joined last token.
        Add(mine, Tok(9));
        std::vector<int> more = c.joined;
        more.push_back(9);
        EXPECT_EQ(Codes(mine), more);
    }
    for (bool back : {false, true}) {
        DovTokenList one;
        Add(one, Tok(5));
        DovToken* t = back ? one.PopBack() : one.PopFront();
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->code, 5);
        delete t;
        EXPECT_TRUE(one.IsEmpty());
        EXPECT_EQ(one.First(), nullptr);
        EXPECT_EQ(one.Last(), nullptr);
        Add(one, Tok(6));
        EXPECT_EQ(Codes(one), (std::vector<int>{6}));
    }
}

TEST(TokenItem, PrintedForms) {
    DovTokenItem item(Tok(TK_USER_DEFD_WORD, "X"));
    Add(item.list, Tok(CM_COMMENT, "*c"));
    Add(item.list, Tok(SEP_SPACE));
    std::ostringstream dbg, msg;
    item.Print(dbg);
    msg << item;
    EXPECT_EQ(dbg.str(), "TK_USER_DEFD_WORD X, {CM_COMMENT *c, SEP_SPACE}");
    EXPECT_EQ(msg.str(), "user-word X, {CM_COMMENT *c,  }");
}

}  // namespace
