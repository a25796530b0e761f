// The grep's query files: the file argument, the whole-file reader,
// the reader of named sections, and both through Prepare with real files.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tests/transform/grep_test_util.h"
#include "transform/transform.h"

namespace {

using vemlo_test::GrepRun;
using vemlo_test::Messages;
using vemlo_test::ScratchDir;
using Strings = std::vector<std::string>;

using vemlo_test::Str;

TEST(GrepQueryFile, SplitTable) {
    struct Case {
        const char* qf;
        const char* file;
        const char* name;
    };
    const Case cases[] = {
        {"q.txt", "q.txt", ""},
        {"q.txt:main", "q.txt", "MAIN"},
        {"q.txt:", "q.txt", ""},
        {"C:q.txt", "C:q.txt", ""},
        {"C:dir/q.txt:Main", "C:dir/q.txt", "MAIN"},
        {":x", ":x", ""},
        {"C:", "C:", ""},
        {"C::x", "C:", "X"},
        {"ab:c:d", "ab", "C:D"},
        {"dir/q.txt:sec-1", "dir/q.txt", "SEC-1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.qf);
        VString file = "stale", name = "stale";
        WyrGrepSplitQueryFile(c.qf, file, name);
        EXPECT_EQ(Str(file), c.file);
        EXPECT_EQ(Str(name), c.name);
    }
}

// What the section reader gives for a file and a wanted name; "<none>" when
// no section has the name.
std::string Named(const std::string& content, const char* name) {
    std::istringstream is(content);
    VString text = "<none>";
    WyrGrepReadResult r = WyrGrepReadNamedQuery(is, name, text, VString::kMaxLen);
    if (r == WyrGrepReadResult::kTooLong) return "<too long>";
    if (r == WyrGrepReadResult::kNotFound) {
        EXPECT_EQ(Str(text), "<none>");
    }
    return Str(text);
}

TEST(GrepQueryFile, NamedSectionsTable) {
    struct Case {
        const char* what;
        std::string content;
        const char* name;
        const char* expected;
    };
    const Case cases[] = {
        {"mixed case header with blanks", "query   Main  \nSTMT_MOVE\n", "MAIN", "STMT_MOVE"},
        {"keyword run into the name", "QUERYMAIN\nSTMT_IF\n", "MAIN", "STMT_IF"},
        {"the keyword alone names nothing", "QUERY\nSTMT_IF\n", "MAIN", "<none>"},
        {"a longer name is another name", "QUERY MAINX\nSTMT_IF\n", "MAIN", "<none>"},
        {"two sections: the later wins", "QUERY MAIN\nSTMT_IF\nQUERY MAIN\nSTMT_MOVE\n", "MAIN", "STMT_MOVE"},
        {"no header carries the name", "QUERY OTHER\nSTMT_IF\n", "MAIN", "<none>"},
        {"blanks before '#': a query line", "QUERY MAIN\n  # not a comment\n", "MAIN", "# not a comment"},
        {"comment lines skipped", "# c\nQUERY MAIN\n# c\nSTMT_MOVE\n* c\nOR STMT_IF\n#", "MAIN",
         "STMT_MOVE\nOR STMT_IF"},
        {"a commented header is no header", "*QUERY MAIN\nSTMT_IF\n", "MAIN", "<none>"},
        {"trimmed and joined", "QUERY MAIN\n \t STMT_MOVE  \n\tOR\r\n   STMT_IF \t\n\n", "MAIN",
         "STMT_MOVE\nOR\nSTMT_IF"},
        {"empty lines inside are kept", "QUERY MAIN\n\n\nSTMT_MOVE\n\n\nOR STMT_IF\n\n\n", "MAIN",
         "STMT_MOVE\n\n\nOR STMT_IF"},
        {"reading goes on past empty lines", "QUERY MAIN\nSTMT_IF\n\n\nQUERY MAIN\n\nSTMT_MOVE\n", "MAIN",
         "STMT_MOVE"},
        {"another header ends the section", "QUERY MAIN\nSTMT_IF\nQUERY B\nSTMT_MOVE\n", "MAIN", "STMT_IF"},
        {"lines between sections are skipped", "QUERY A\nx\nQUERY MAIN\nSTMT_IF\nQUERY B\ny\nz\nQUERY C\n", "MAIN",
         "STMT_IF"},
        {"last line without a line feed", "QUERY MAIN\nSTMT_MOVE", "MAIN", "STMT_MOVE"},
        {"carriage returns", "QUERY MAIN\r\nSTMT_MOVE\r\nOR STMT_IF\r\n", "MAIN", "STMT_MOVE\nOR STMT_IF"},
        {"an empty section", "\n\nQUERY MAIN\n\n\n", "MAIN", ""},
        {"a header on the unterminated last line starts nothing", "QUERY MAIN", "MAIN", "<none>"},
        {"NUL bytes stay in the line", std::string("QUERY MAIN\nA\0B\n", 15), "MAIN", nullptr},
        {"empty file", "", "MAIN", "<none>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.expected)
            EXPECT_EQ(Named(c.content, c.name), c.expected);
        else
            EXPECT_EQ(Named(c.content, c.name), std::string("A\0B", 3));
    }
}

std::string Whole(const std::string& content) {
    std::istringstream is(content);
    VString text = "stale";
    EXPECT_EQ(WyrGrepReadWholeQuery(is, text, VString::kMaxLen), WyrGrepReadResult::kOk);
    return Str(text);
}

TEST(GrepQueryFile, WholeFileTable) {
    using namespace std::string_literals;
    struct Case {
        const char* what;
        std::string content;
        std::string expected;
    };
    const Case cases[] = {
        {"taken as it is", " STMT_MOVE\n OR STMT_IF \n", " STMT_MOVE\n OR STMT_IF \n"},
        {"empty file", "", ""},
        {"one block starting with '#'", "# find moves\nSTMT_MOVE\n", "# find moves\nSTMT_MOVE\n"},
        {"a long one block starting with '#'", "#" + std::string(6000, 'x') + "\nSTMT_MOVE",
         "#" + std::string(6000, 'x') + "\nSTMT_MOVE"},
        {"comment blocks give way", "#c\0*d\0STMT_IF\0rest"s, "STMT_IF"},
        {"the first block that is no comment", "A\0B"s, "A"},
        {"a comment block before the end", "#c\0"s, ""},
        {"header lines mean nothing here", "QUERY MAIN\nSTMT_IF\n", "QUERY MAIN\nSTMT_IF\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Whole(c.content), c.expected);
    }
}

TEST(GrepQueryFile, LimitIsReportedNotCut) {
    const std::uint32_t limit = 10;
    struct Case {
        const char* what;
        std::string content;
        const char* name;  // null: the whole file
        bool too_long;
    };
    const Case cases[] = {
        {"whole file at the limit", std::string(10, 'a'), nullptr, false},
        {"whole file past the limit", std::string(11, 'a'), nullptr, true},
        {"a line at the limit", "QUERY M\n" + std::string(10, 'a') + "\n", "M", false},
        {"a line past the limit", "QUERY M\n" + std::string(11, 'a') + "\n", "M", true},
        {"a section past the limit", "QUERY M\naaaaa\nbbbbb\n", "M", true},
        {"a section at the limit", "QUERY M\naaaa\nbbbbb\n\n\n\n", "M", false},
        {"leading and trailing empty lines do not count", "QUERY M\n\n\n\naaaaaaaaaa\n\n\n\n\n", "M", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::istringstream is(c.content);
        VString text;
        WyrGrepReadResult r = c.name ? WyrGrepReadNamedQuery(is, c.name, text, limit)
                                     : WyrGrepReadWholeQuery(is, text, limit);
        EXPECT_EQ(r == WyrGrepReadResult::kTooLong, c.too_long);
        if (!c.too_long) {
            EXPECT_LE(text.Len(), 10);
        }
    }
}

// The arguments of the table through Prepare: each names a real file
// whose text tells which one was read.
TEST(GrepQueryFile, QueryFileArgumentsThroughPrepare) {
    ScratchDir dir;
    dir.Write("q.txt", "QUERY MAIN\nSTMT_MOVE\nQUERY OTHER\nSTMT_IF\n");
    dir.Write("C:q.txt", "STMT_GOTO");
    dir.Write("C:dir/q.txt", "query   Main  \nSTMT_ADD\n");
    dir.Write(":x", "STMT_DISPLAY");
    struct Case {
        const char* qf;
        const char* query;
    };
    const Case cases[] = {
        {"q.txt", "QUERY MAIN\nSTMT_MOVE\nQUERY OTHER\nSTMT_IF\n"},
        {"q.txt:main", "STMT_MOVE"},
        {"q.txt:MAIN", "STMT_MOVE"},
        {"q.txt:Main", "STMT_MOVE"},
        {"q.txt:other", "STMT_IF"},
        {"q.txt:", "QUERY MAIN\nSTMT_MOVE\nQUERY OTHER\nSTMT_IF\n"},
        {"C:q.txt", "STMT_GOTO"},
        {"C:dir/q.txt:Main", "STMT_ADD"},
        {"C:dir/q.txt:main", "STMT_ADD"},
        {"C:dir/q.txt:MAIN", "STMT_ADD"},
        {":x", "STMT_DISPLAY"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.qf);
        GrepRun run;
        run.grep.query_file = c.qf;
        run.grep.print_query = 1;
        run.Prepare();
        EXPECT_EQ(Str(run.grep.query_text), c.query);
        ASSERT_FALSE(run.msgs.IsEmpty());
        EXPECT_EQ(Messages(run.msgs)[0], std::string("INFO|Query: ") + c.query);
    }
}

TEST(GrepQueryFile, MissingSectionKeepsOptionQ) {
    ScratchDir dir;
    dir.Write("q.txt", "QUERY OTHER\nSTMT_IF\n");
    GrepRun with_q;
    with_q.grep.query_text = "STMT_MOVE";
    with_q.grep.query_file = "q.txt:main";
    EXPECT_EQ(with_q.Prepare(), 0);
    EXPECT_EQ(Str(with_q.grep.query_text), "STMT_MOVE");
    EXPECT_TRUE(with_q.msgs.IsEmpty());

    GrepRun without_q;
    without_q.grep.query_file = "q.txt:main";
    EXPECT_EQ(without_q.Prepare(), 'T');
    EXPECT_EQ(Messages(without_q.msgs), (Strings{"ERR|No query specified"}));
}

// Prepare of `run` with the query "STMT_MOVE" and the query file `qf`,
// which it refuses with the one error "<before><file><after>" (the file part
// of the argument), the query text kept as nothing was read.
void RefusedQueryFile(GrepRun& run, const char* qf, const std::string& before, const std::string& after) {
    run.grep.query_text = "STMT_MOVE";
    run.grep.query_file = qf;
    EXPECT_EQ(run.Prepare(), 'T');
    VString file, name;
    WyrGrepSplitQueryFile(qf, file, name);
    EXPECT_EQ(Messages(run.msgs), (Strings{"ERR|" + before + Str(file) + after}));
    EXPECT_EQ(Str(run.grep.query_text), "STMT_MOVE");
}

TEST(GrepQueryFile, UnreadableFiles) {
    ScratchDir dir;
    std::filesystem::create_directory(dir.Path() / "adir");
    for (const char* qf : {"nothere.txt", "nothere.txt:main", "adir", "adir:main"}) {
        SCOPED_TRACE(qf);
        GrepRun run;
        RefusedQueryFile(run, qf, "Cannot open query file '", "'");
        EXPECT_EQ(run.msgs.First()->Beg(), DovNullPosn);
    }
}

TEST(GrepQueryFile, TooLongFileIsAnError) {
    ScratchDir dir;
    dir.Write("long.txt", std::string(30, 'a'));
    dir.Write("sec.txt", "QUERY M\n" + std::string(30, 'a') + "\n");
    const std::uint32_t saved = WyrGrep::max_query_len;
    WyrGrep::max_query_len = 20;
    for (const char* qf : {"long.txt", "sec.txt:m"}) {
        SCOPED_TRACE(qf);
        GrepRun run;
        RefusedQueryFile(run, qf, "Query file '", "' is too long");
    }
    WyrGrep::max_query_len = saved;
}

// Every Prepare reads the query file again: a changed file gives the new
// query to the next input file.
TEST(GrepQueryFile, ReadAgainForEveryFile) {
    ScratchDir dir;
    dir.Write("q.txt", "STMT_MOVE");
    GrepRun run;
    run.grep.query_file = "q.txt";
    EXPECT_EQ(run.Prepare(), 0);
    EXPECT_EQ(Str(run.grep.query_text), "STMT_MOVE");
    dir.Write("q.txt", "STMT_IF");
    EXPECT_EQ(run.Prepare(), 0);
    EXPECT_EQ(Str(run.grep.query_text), "STMT_IF");
    EXPECT_EQ(Str(run.grep.query.text), "STMT_IF");
}

}  // namespace
