#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "lbase/lbase.h"

namespace {

int FileIx(const char* name) { return DovSrcFileNames().FindOrAdd(name, false, true); }

std::string Tic(const DovTxtPosn& p) {
    std::ostringstream os;
    p.PutTic(os);
    return os.str();
}

TEST(DovTxtPosn, SpecialPositions) {
    EXPECT_TRUE(DovNullPosn.IsNull());
    EXPECT_TRUE(DovInftyPosn.IsInfinite());
    EXPECT_TRUE(DovTxtPosn(0, 0, 3).IsNull());
    EXPECT_TRUE(DovTxtPosn(0, 2, 0).IsSet());
    EXPECT_TRUE(DovSrcFileName(0) == "-(bad)-");
    EXPECT_TRUE(DovSrcFileName(60000) == "-(bad)-");
}

TEST(DovTxtPosn, PrintedForm) {
    int prog = FileIx("PROG1.cbl");
    struct {
        DovTxtPosn p;
        std::string want;
    } cases[] = {
        {DovTxtPosn(12, 7, prog), "PROG1.cbl:12:8"},
        {DovTxtPosn(0, 0, 3), "(null)"},
        {DovTxtPosn(0, 1, prog), "(infty)"},
        {DovTxtPosn(0, 2, prog), "PROG1.cbl:0:3"},
        {DovTxtPosn(5, 0, 4000), "-(bad)-:5:1"},
        {DovTxtPosn(5, 0, DovTxtPosn::kNoFile), "-(bad)-:5:1"},
        {DovTxtPosn(70000, 299, prog), "PROG1.cbl:70000:300"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(std::string(DovTxtPosnStr(c.p).CStr()), c.want);
    }
    std::ostringstream os;
    os << std::hex << DovTxtPosnRange{DovTxtPosn(12, 7, prog), DovTxtPosn(12, 10, prog)};
    EXPECT_EQ(os.str(), "[beg:PROG1.cbl:12:8, end:PROG1.cbl:12:11]");
}

TEST(DovTxtPosn, Compare) {
    EXPECT_EQ(DovTxtPosnCompare(DovTxtPosn(1, 1, 1), DovTxtPosn(900, 2, 2)), -100);
    EXPECT_EQ(DovTxtPosnCompare(DovTxtPosn(5, 3, 1), DovTxtPosn(5, 4, 1)), -1);
    EXPECT_EQ(DovTxtPosnCompare(DovTxtPosn(6, 3, 1), DovTxtPosn(5, 4, 1)), 1);
    EXPECT_EQ(DovTxtPosnCompare(DovTxtPosn(5, 4, 1), DovTxtPosn(5, 4, 1)), 0);
}

TEST(DovTxtPosn, TicForms) {
    int prog = FileIx("PROG1.cbl");
    DovTxtPosn p(12, 7, prog);
    EXPECT_EQ(Tic(p), "[12,7,n" + std::to_string(prog) + "]");
    DovPutTicFileNames = true;
    EXPECT_EQ(Tic(p), "[12,7,s9:PROG1.cbl]");
    DovPutTicFileNames = false;
    EXPECT_EQ(Tic(DovTxtPosn(1, 0, DovTxtPosn::kNoFile)), "[1,0,n-1]");
}

TEST(DovTxtPosn, WideValuesRoundTrip) {
    for (int i = 0; i < 40; ++i) FileIx(DovFormat("file%d.cpy", i).CStr());
    DovTxtPosnRange r{DovTxtPosn(3000, 300, 40), DovTxtPosn(123456, 65000, 41)};
    std::stringstream ss;
    r.PutTic(ss);
    DovTxtPosnRange back;
    VString msg;
    ASSERT_EQ(back.GetTic(ss, msg), 0) << msg;
    EXPECT_EQ(back.beg, r.beg);
    EXPECT_EQ(back.end, r.end);
    EXPECT_EQ(back.beg.Line(), 3000u);
    EXPECT_EQ(back.beg.Column(), 300u);
    EXPECT_EQ(back.beg.FileIndex(), 40u);
}

TEST(DovTxtPosn, ReadNamedFile) {
    std::istringstream in("[3,0,s7:NEWFILE]");
    DovTxtPosn p;
    VString msg;
    ASSERT_EQ(p.GetTic(in, msg), 0);
    EXPECT_TRUE(DovSrcFileName(p.FileIndex()) == "NEWFILE");
    int count = DovSrcFileNames().At(static_cast<int>(p.FileIndex())).count;
    std::istringstream again("[4,0,s7:NEWFILE]");
    DovTxtPosn q;
    ASSERT_EQ(q.GetTic(again, msg), 0);
    EXPECT_EQ(q.FileIndex(), p.FileIndex());
    EXPECT_EQ(DovSrcFileNames().At(static_cast<int>(p.FileIndex())).count, count + 1);
}

TEST(DovTxtPosn, ReadWithFileIndexMap) {
    int map[2] = {5, 6};
    DovFileIndexMap m{map, 2};
    DovTicFileIndexMap = &m;
    DovTxtPosn p;
    VString msg;
    std::istringstream ok("[3,0,n1]");
    EXPECT_EQ(p.GetTic(ok, msg), 0);
    EXPECT_EQ(p.FileIndex(), 6u);
    std::istringstream none("[3,0,n-1]");
    EXPECT_EQ(p.GetTic(none, msg), 0);
    EXPECT_EQ(p.FileIndex(), DovTxtPosn::kNoFile);
    std::istringstream out("[3,0,n2]");
    EXPECT_EQ(p.GetTic(out, msg), '<');
    EXPECT_TRUE(msg == "DovTxtPosn::GetTic: file_ix 2 is out of range -1..2") << msg;
    DovTicFileIndexMap = nullptr;
}

TEST(DovTxtPosn, BadText) {
    struct {
        const char* text;
        char result;
        const char* message;
    } cases[] = {
        {"(3,0,n1]", '<', "DovTxtPosn::GetTic: '[' is expected"},
        {"[3,0,x1]", '<', "DovTxtPosn::GetTic: bad char that qualifies file_name"},
        {"[3,0,s1:A)", '<', "DovTxtPosn::GetTic: ']' expected after file_name"},
        {"[-3,0,n1]", ';', "GetTicIntNo: negative number -3 is not allowed"},
        {"[3,0,n1", ';', nullptr},
        {"[99999999999,0,n1]", '<', "DovTxtPosn::GetTic: line 99999999999 is out of range"},
        {"[3,70000,n1]", '<', "DovTxtPosn::GetTic: column 70000 is out of range"},
        {"[3,0,n70000]", '<', "DovTxtPosn::GetTic: file_ix 70000 is out of range"},
    };
    for (const auto& c : cases) {
        std::istringstream in(c.text);
        DovTxtPosn p;
        VString msg;
        EXPECT_EQ(p.GetTic(in, msg), c.result) << c.text;
        if (c.message) {
            EXPECT_TRUE(msg == c.message) << c.text << ": " << msg;
        }
    }
}

}  // namespace
