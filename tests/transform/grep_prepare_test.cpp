// The grep's Prepare: the missing query, print-query, both forms of the
// compile error with the caret picture, assignments refused, and long
// queries compiled exactly as written.
#include <gtest/gtest.h>

#include <string>

#include "tests/transform/grep_test_util.h"
#include "tree/leaf.h"
#include "transform/transform.h"

namespace {

using vemlo_test::GrepRun;
using vemlo_test::Messages;
using vemlo_test::ScratchDir;
using Strings = std::vector<std::string>;

std::string Str(const VString& s) { return std::string(s.CStr(), static_cast<std::size_t>(s.Len())); }

TEST(GrepPrepare, NoQuery) {
    GrepRun run;
    EXPECT_EQ(run.Prepare(), 'T');
    EXPECT_EQ(Messages(run.msgs), (Strings{"ERR|No query specified"}));
    EXPECT_EQ(run.msgs.First()->Beg(), DovNullPosn);
    // An empty query file is no query either.
    ScratchDir dir;
    dir.Write("empty.txt", "");
    GrepRun from_file;
    from_file.grep.query_file = "empty.txt";
    EXPECT_EQ(from_file.Prepare(), 'T');
    EXPECT_EQ(Messages(from_file.msgs), (Strings{"ERR|No query specified"}));
}

TEST(GrepPrepare, CompiledQuery) {
    GrepRun run;
    run.grep.query_text = "STMT_MOVE";
    EXPECT_EQ(run.Prepare(), 0);
    EXPECT_TRUE(run.msgs.IsEmpty());
    ASSERT_NE(run.grep.query.chain, nullptr);
    DovExprOper move(STMT_MOVE), other(STMT_IF);
    EXPECT_NE(run.grep.query.Match(&move), 0);
    EXPECT_EQ(run.grep.query.Match(&other), 0);
}

// Both forms of the compile error. The long form shows the column plus one
// and the caret picture; the short form the query in printable form and the
// column as the compiler gives it.
TEST(GrepPrepare, CompileErrorTable) {
    struct Case {
        const char* what;
        const char* query;
        int code;
        const char* text;
        int column;           // 0-based, as the compiler gives it
        const char* picture;  // long form, after its first line
        const char* printable;
    };
    const Case cases[] = {
        {"one line", "OP ~ STMT_MOVE", 87, "Unknown or disallowed command", 5,
         "OP ~ STMT_MOVE\n-----^--------\n", "OP ~ STMT_MOVE"},
        {"a tab shows as a blank", "OP\t~ STMT_MOVE", 87, "Unknown or disallowed command", 5,
         "OP ~ STMT_MOVE\n-----^--------\n", "OP\\t~ STMT_MOVE"},
        {"several lines", "STMT_MOVE\nSTMT_IF", 87, "Unknown or disallowed command", 10,
         "STMT_MOVE\n---------\nSTMT_IF\n^------\n", "STMT_MOVE\\nSTMT_IF"},
        {"column at the end", "STMT_MOVE AND", 91, "Unexpected ')'", 13, "STMT_MOVE AND\n-------------^\n",
         "STMT_MOVE AND"},
        {"column at the end of a later line", "STMT_MOVE\nAND (STMT_IF", 92, "Expected ')' missing", 22,
         "STMT_MOVE\n---------\nAND (STMT_IF\n------------^\n", "STMT_MOVE\\nAND (STMT_IF"},
        {"a name that is no operation", "OP == NO_SUCH_NAME", 85, "Invalid operation name", 6,
         "OP == NO_SUCH_NAME\n------^-----------\n", "OP == NO_SUCH_NAME"},
        {"an assignment", "NODE V AND OP = V", 87, "Unknown or disallowed command", 14,
         "NODE V AND OP = V\n--------------^--\n", "NODE V AND OP = V"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GrepRun long_form;
        long_form.grep.query_text = c.query;
        EXPECT_EQ(long_form.Prepare(), c.code);
        EXPECT_EQ(Messages(long_form.msgs), (Strings{"ERR|Incorrect query: " + std::string(c.text) + " at col. " +
                                                     std::to_string(c.column + 1) + ".\n" + c.picture}));
        EXPECT_EQ(long_form.msgs.First()->Beg(), DovNullPosn);
        EXPECT_EQ(long_form.grep.query.chain, nullptr);

        GrepRun short_form;
        short_form.grep.query_text = c.query;
        short_form.grep.print_err_pos = 0;
        EXPECT_EQ(short_form.Prepare(), c.code);
        EXPECT_EQ(Messages(short_form.msgs),
                  (Strings{"ERR|Incorrect Query '" + std::string(c.printable) + "': " + c.text + " at col " +
                           std::to_string(c.column)}));
    }
}

// The grep only searches: a query that would change the tree is refused,
// although the language has the assignment.
TEST(GrepPrepare, AssignmentsAreRefused) {
    for (const char* text : {"NODE V AND OP = V", "STR S AND IMAGE = 'x'", "INT N AND INTVALUE = 5"}) {
        SCOPED_TRACE(text);
        DovQuery allowed(text);
        allowed.allowAssignments = true;
        VString message;
        int column = -1;
        EXPECT_EQ(allowed.Compile(nullptr, message, column), 0);

        GrepRun run;
        run.grep.query_text = text;
        run.grep.print_err_pos = 0;
        EXPECT_EQ(run.Prepare(), 87);
        const std::string t = text;
        const std::string at = std::to_string(t.find(" = ") + 1);
        EXPECT_EQ(Messages(run.msgs),
                  (Strings{"ERR|Incorrect Query '" + t + "': Unknown or disallowed command at col " + at}));
        EXPECT_EQ(run.grep.query.chain, nullptr);
    }
}

TEST(GrepPrepare, CaretPictureTable) {
    struct Case {
        const char* query;
        int column;
        const char* picture;
    };
    const Case cases[] = {
        {"MOVE X", 2, "MOVE X\n--^---\n"},
        {"A\tB", 1, "A B\n-^-\n"},
        {"ABC", 3, "ABC\n---^\n"},
        {"ABC", 40, "ABC\n---^\n"},
        {"AB\nCD", 3, "AB\n--\nCD\n^-\n"},
        {"AB\nCD", 5, "AB\n--\nCD\n--^\n"},
        {"AB\n", 0, "AB\n^-\n\n\n"},
        {"", 0, "\n^\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query);
        EXPECT_EQ(WyrGrepCaretPicture(c.query, c.column), c.picture);
    }
}

TEST(GrepPrepare, PrintQueryComesBeforeTheCompile) {
    GrepRun run;
    run.grep.query_text = "OP ~ STMT_MOVE";
    run.grep.print_query = 1;
    run.grep.print_err_pos = 0;
    EXPECT_EQ(run.Prepare(), 87);
    EXPECT_EQ(Messages(run.msgs),
              (Strings{"INFO|Query: OP ~ STMT_MOVE",
                       "ERR|Incorrect Query 'OP ~ STMT_MOVE': Unknown or disallowed command at col 5"}));
    EXPECT_EQ(run.msgs.First()->Beg(), DovNullPosn);
    // And the query as it is, line feeds included.
    GrepRun lines;
    lines.grep.query_text = "STMT_MOVE\nOR STMT_IF";
    lines.grep.print_query = 1;
    EXPECT_EQ(lines.Prepare(), 0);
    EXPECT_EQ(Messages(lines.msgs), (Strings{"INFO|Query: STMT_MOVE\nOR STMT_IF"}));
}

// The text of a failed Prepare stays, and the next Prepare tries again; a
// failed compile leaves nothing compiled from before.
TEST(GrepPrepare, FailedCompileReplacesTheOldOne) {
    GrepRun run;
    run.grep.query_text = "STMT_MOVE";
    ASSERT_EQ(run.Prepare(), 0);
    run.grep.query_text = "OP ~ STMT_MOVE";
    EXPECT_EQ(run.Prepare(), 87);
    EXPECT_EQ(Str(run.grep.query_text), "OP ~ STMT_MOVE");
    DovExprOper move(STMT_MOVE);
    EXPECT_EQ(run.grep.query.Match(&move), 0);
}

// A query that ends in a long tail: only the last words of the text make a
// STMT_MOVE node match, so a text cut anywhere before them matches none.
std::string LongQuery(std::size_t length, const char* joint) {
    const std::string tail = std::string(joint) + "OR STMT_MOVE";
    std::string text = "IMAGE == '";
    text += std::string(length - text.size() - 1 - tail.size(), 'x');
    text += "'" + tail;
    return text;
}

TEST(GrepPrepare, LongQueriesCompileAsWritten) {
    DovExprOper move(STMT_MOVE);
    DovTokenString xs(std::string(20, 'x').c_str());

    // Option q, one line of 10,000 characters.
    const std::string one_line = LongQuery(10000, " ");
    ASSERT_EQ(one_line.size(), 10000u);
    {
        GrepRun run;
        run.grep.query_text = VString(one_line.data(), static_cast<int>(one_line.size()));
        run.grep.print_query = 1;
        EXPECT_EQ(run.Prepare(), 0);
        EXPECT_EQ(Messages(run.msgs), (Strings{"INFO|Query: " + one_line}));
        EXPECT_NE(run.grep.query.Match(&move), 0);
        EXPECT_EQ(run.grep.query.Match(&xs), 0);
    }

    ScratchDir dir;
    // The same line in a named section.
    dir.Write("sec.txt", "# long\nQUERY LONG\n" + one_line + "\nQUERY OTHER\nSTMT_IF\n");
    {
        GrepRun run;
        run.grep.query_file = "sec.txt:long";
        EXPECT_EQ(run.Prepare(), 0);
        EXPECT_EQ(Str(run.grep.query_text), one_line);
        EXPECT_NE(run.grep.query.Match(&move), 0);
    }
    // A whole file of 50,000 characters over several lines, a comment of
    // the query language first.
    std::string file_text = "// a long query\n" + LongQuery(50000 - 16, "\n");
    ASSERT_EQ(file_text.size(), 50000u);
    dir.Write("whole.txt", file_text);
    {
        GrepRun run;
        run.grep.query_file = "whole.txt";
        EXPECT_EQ(run.Prepare(), 0);
        EXPECT_EQ(Str(run.grep.query_text), file_text);
        EXPECT_EQ(Str(run.grep.query.text), file_text);
        EXPECT_NE(run.grep.query.Match(&move), 0);
    }
    // A long query that does not compile is quoted whole in both forms.
    std::string bad = one_line + " STMT_IF";
    {
        GrepRun run;
        run.grep.query_text = VString(bad.data(), static_cast<int>(bad.size()));
        run.grep.print_err_pos = 0;
        EXPECT_EQ(run.Prepare(), 87);
        ASSERT_EQ(Messages(run.msgs).size(), 1u);
        EXPECT_EQ(Messages(run.msgs)[0],
                  "ERR|Incorrect Query '" + bad + "': Unknown or disallowed command at col " +
                      std::to_string(one_line.size() + 1));
    }
    {
        GrepRun run;
        run.grep.query_text = VString(bad.data(), static_cast<int>(bad.size()));
        EXPECT_EQ(run.Prepare(), 87);
        EXPECT_EQ(Messages(run.msgs)[0], "ERR|Incorrect query: Unknown or disallowed command at col. " +
                                             std::to_string(one_line.size() + 2) + ".\n" + bad + "\n" +
                                             std::string(one_line.size() + 1, '-') + "^" + std::string(6, '-') +
                                             "\n");
    }
}

// Bytes a terminal would not show are escaped in the short form, NULs too.
TEST(GrepPrepare, ShortFormIsPrintable) {
    EXPECT_EQ(Str(WyrGrepPrintable(VString("A\0B\r\n\x01", 6))), "A\\0x 0B\\r\\n\\0x 1");
    EXPECT_EQ(Str(WyrGrepPrintable("plain")), "plain");
    EXPECT_EQ(Str(WyrGrepPrintable("")), "");
}

}  // namespace
