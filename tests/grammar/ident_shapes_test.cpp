// Golden shapes of the identification division as the environment and
// data division rules see it: PROGRAM-ID attributes, a second program
// without its header, COPY markers after PROGRAM-ID.
#include <gtest/gtest.h>

#include "tests/grammar/data_fixture.h"
#include "tree/oper.h"

namespace {

using vemlo_test::FindOper;
using vemlo_test::ParseCobol;
using vemlo_test::Shape;

TEST(IdentShapes, CommonInitialInEitherOrder) {
    for (const char* attr : {"COMMON INITIAL", "INITIAL COMMON"}) {
        auto p = ParseCobol({"IDENTIFICATION DIVISION.", std::string("PROGRAM-ID. P IS ") + attr + " PROGRAM.",
                             "PROCEDURE DIVISION.", "    STOP RUN."});
        EXPECT_EQ(p.SyntaxErrors(), 0);
        EXPECT_EQ(Shape(FindOper(p.root, PARA_PROGRAM_ID)), "PARA_PROGRAM_ID(def:P,EX_PROG_COMMON_INITIAL)");
    }
}

TEST(IdentShapes, ASecondProgramWithoutHeaderIsASyntaxError) {
    auto p = ParseCobol({"IDENTIFICATION DIVISION.", "PROGRAM-ID. P.", "PROCEDURE DIVISION.", "    STOP RUN.",
                         "END PROGRAM P.", "DATA DIVISION.", "WORKING-STORAGE SECTION.", "01 A PIC X."});
    EXPECT_GT(p.SyntaxErrors(), 0);
    EXPECT_FALSE(p.Said("IDENTIFICATION DIVISION header is missing"));
}

// D09: a COPY marker after PROGRAM-ID has no slot; its tokens stay in the
// tree and the environment division still parses.
TEST(IdentTrials, ReplaceAfterProgramId) {
    auto p = ParseCobol({"IDENTIFICATION DIVISION.", "PROGRAM-ID. P.", "REPLACE OFF.", "ENVIRONMENT DIVISION.",
                         "CONFIGURATION SECTION.", "SOURCE-COMPUTER. X-86.", "PROCEDURE DIVISION.",
                         "    STOP RUN."});
    EXPECT_EQ(p.SyntaxErrors(), 0);
    EXPECT_NE(FindOper(p.root, PARA_SOURCE_COMPUTER), nullptr);
}

}  // namespace
