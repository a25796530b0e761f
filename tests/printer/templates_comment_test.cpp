// Comment lines in every line format.
#include <gtest/gtest.h>

#include <string>

#include "printer/templates/comment.h"
#include "tests/printer/printer_fixture.h"

namespace {

using vemlo_test::PrintPass;

std::string Comment(int format, const std::string& text, const std::string& before = "", int whole = 0) {
    DovPrettyPrinterImpl p;
    p.gen_line_format = format;
    PrintPass pass(p);
    for (char c : before) PrintChar(c, 0, 0);
    PrintComment(VString(text.c_str()), whole);
    return pass.Text();
}

TEST(PrintComment, LineFormats) {
    struct Case {
        int format;
        const char* text;
        const char* out;
    };
    const Case cases[] = {
        {DOV_GEN_LF_FIXED, "* NOTE", "      * NOTE\n"},
        {DOV_GEN_LF_NA, "/ PAGE", "      / PAGE\n"},
        {DOV_GEN_LF_VAR, "* NOTE", "      * NOTE\n"},
        {DOV_GEN_LF_FREE, "* NOTE", "* NOTE\n"},
        {DOV_GEN_LF_FSC_FREE, "* NOTE", " *> NOTE\n"},
        {DOV_GEN_LF_FSC_FREE, "/ PAGE", " PAGE\n"},
        // '#' lines keep their indicator in column 1.
        {DOV_GEN_LF_FIXED, "#include", "#include\n"},
        // A leading carriage return: the indicator first, from column 1.
        {DOV_GEN_LF_FIXED, "\r* AT ONE", "* AT ONE\n"},
        {DOV_GEN_LF_FREE, "\r* AT ONE", "* AT ONE\n"},
        {DOV_GEN_LF_FSC_FREE, "\r* AT ONE", " AT ONE\n"},
        // The indicator's bit 7 is cleared.
        {DOV_GEN_LF_FIXED, "\xaa BIT", "      * BIT\n"},
        {DOV_GEN_LF_FSC_FREE, "\xaa BIT", " *> BIT\n"},
        {DOV_GEN_LF_FREE, "\xaf SLASH", "/ SLASH\n"},
        // An empty comment is an empty line.
        {DOV_GEN_LF_FIXED, "", "\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.format << " '" << c.text << "'");
        EXPECT_EQ(Comment(c.format, c.text), c.out);
    }
}

TEST(PrintComment, EndsTheCurrentLineFirst) {
    EXPECT_EQ(Comment(DOV_GEN_LF_FIXED, "* C", "MOVE"), "       MOVE\n      * C\n");
    EXPECT_EQ(Comment(DOV_GEN_LF_FIXED, "", "MOVE"), "       MOVE\n\n");
}

TEST(PrintComment, CutAtTheRightMarginUnlessWhole) {
    const std::string body(100, 'x');
    const std::string cut = Comment(DOV_GEN_LF_FIXED, "*" + body);
    EXPECT_EQ(cut, "      *" + std::string(65, 'x') + "\n");
    const std::string whole = Comment(DOV_GEN_LF_FIXED, "*" + body, "", 1);
    EXPECT_EQ(whole.substr(0, 7 + 65), "      *" + std::string(65, 'x'));
    // Beyond the margin PutcLine keeps only the identification area; with
    // none set the whole body is written.
    EXPECT_EQ(whole, "      *" + body + "\n");
}

TEST(PrintComment, Trace) {
    DovPrettyPrinterImpl p;
    p.debug_flags = DOV_PDBG_CHARS;
    PrintPass pass(p);
    testing::internal::CaptureStdout();
    PrintComment(VString("* T"), 0);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.rfind("$PrintComment: * T\n", 0), 0u) << out;
}

}  // namespace
