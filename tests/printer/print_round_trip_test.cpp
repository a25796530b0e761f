// The round trip of every corpus program that parses, and of the line
// format fixtures: printed from source (gen-src) it comes back byte for
// byte, main file and copybooks, also when their line ends are CR LF or a
// carriage return alone and a byte-order mark stands in front; printed
// through the templates alone it
// parses again, under the same options, to an equal tree (compared by
// operation names, argument shape and the images of leaves, without
// positions, tokens and comments).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/files.h"
#include "grammar/cobol_grammar.h"
#include "tests/lexer/temp_dir.h"
#include "tests/printer/printer_fixture.h"
#include "tests/support/corpus.h"
#include "tests/support/tree_shape.h"
#include "tree/walk.h"

namespace {

namespace fs = std::filesystem;

struct Suite {
    std::string name;
    std::vector<fs::path> programs;
    fs::path copybooks;  // empty: none
    std::vector<std::string> options;
    const char* suffix;  // copybook suffix, or null
};

std::vector<Suite> Suites() {
    std::vector<Suite> suites;
    const fs::path data = fs::path(__FILE__).parent_path() / "data";
    suites.push_back({"fixed",
                      {data / "round_trip_fixed.cbl", data / "round_trip_replace.cbl", data / "round_trip_display.cbl"},
                      {},
                      {"-lang=ansi85", "-line-format=fixed"},
                      nullptr});
    suites.push_back({"free", {data / "round_trip_free.cbl"}, {}, {"-lang=ansi85", "-line-format=free"}, nullptr});
    suites.push_back({"var", {data / "round_trip_var.cbl"}, {}, {"-lang=ansi85", "-line-format=var"}, nullptr});
    // Floating comments, with and without text after the mark.
    suites.push_back({"free-mf", {data / "round_trip_free_mf.cbl"}, {}, {"-lang=mf", "-line-format=free"}, nullptr});
    if (auto dir = vemlo_test::CorpusDir()) {
        struct Folder {
            const char *name, *copybooks, *lang, *suffix;
        } folders[] = {{"nist", "nist-copy", "ansi85", ".CPY"},
                       {"sql", "sql", "mf", nullptr},
                       {"genapp", "genapp", "vsii", nullptr},
                       {"course", "course", "vsii", nullptr}};
        for (const Folder& f : folders) {
            Suite s{f.name, {}, *dir / f.copybooks, {std::string("-lang=") + f.lang}, f.suffix};
            for (const auto& file : vemlo_test::CorpusFiles(f.name))
                if (file.extension() != ".cpy" && file.extension() != ".CPY") s.programs.push_back(file);
            suites.push_back(s);
        }
    }
    return suites;
}

// A parser set up with a suite's options and the given copybook folder.
class SuiteParser {
public:
    SuiteParser(const Suite& suite, const fs::path& copybooks) {
        const DovCommandLineFlagTable& table = *parser_.DefineOptions(kDovParserOptionGroups);
        std::vector<std::string> words = suite.options;
        if (!copybooks.empty()) words.push_back("-copylib-dir=" + copybooks.string());
        if (suite.suffix) words.push_back(std::string("-copylib-sfx=") + suite.suffix);
        std::vector<const char*> argv;
        for (const auto& w : words) argv.push_back(w.c_str());
        VStringList files, problems;
        ok_ = SetCLFlag(table, 0, static_cast<int>(argv.size()), argv.data(), files, problems) == 0;
        VString error;
        ok_ = ok_ && parser_.ResolveDialectDefaults(error) == 0;
    }
    bool Ok() const { return ok_; }
    DovExpr* Parse(const fs::path& file) {
        DovExpr* root = nullptr;
        DovTokenList messages;
        parser_.Parse(file.string().c_str(), root, &messages);
        return root;
    }

private:
    DovParserImpl parser_;
    bool ok_ = false;
};

void SetLineFormat(const Suite& suite, DovPrettyPrinterImpl& printer) {
    if (suite.options.back() == "-line-format=free") printer.gen_line_format = DOV_GEN_LF_FREE;
    if (suite.options.back() == "-line-format=var") printer.gen_line_format = DOV_GEN_LF_VAR;
}

// Corpus programs that do not round-trip yet, one "<test> <program>" per line
// (test: source or templates; anything after the program is its reason),
// read from data/round_trip_known.txt. The templates do not yet print every
// node the corpus holds.
// A listed program that fails is reported, not failed; any other failure
// fails, and a listed program that now passes is named so that its line can
// go.
const std::set<std::string>& KnownRoundTripFailures(const std::string& test) {
    static std::map<std::string, std::set<std::string>> known;
    if (known.empty()) {
        std::ifstream in(fs::path(__FILE__).parent_path() / "data" / "round_trip_known.txt");
        std::string line;
        while (std::getline(in, line)) {
            if (line.empty() || line[0] == '#') continue;
            std::istringstream words(line);
            std::string kind, program;
            if (words >> kind >> program) known[kind].insert(program);
        }
        known[""];
    }
    return known[test];
}

void ReportRoundTrip(const std::string& test, const std::vector<std::string>& failures,
                     const std::set<std::string>& failed) {
    const std::set<std::string>& known = KnownRoundTripFailures(test);
    int listed = 0;
    for (const std::string& f : failures) {
        const std::string program = f.substr(0, f.find(": "));
        if (known.count(program)) {
            ++listed;
            std::cout << "  known: " << test << " " << f << "\n";
        } else {
            ADD_FAILURE() << f;
        }
    }
    for (const std::string& program : known)
        if (!failed.count(program)) std::cout << "  now passes, remove its line: " << test << " " << program << "\n";
    std::cout << "  known " << test << " round-trip failures: " << listed << "\n";
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The source of a copybook written as `name`: the file of the copybook
// folder whose name, with or without its extension, is `name` (letter case
// aside).
fs::path CopybookSource(const fs::path& folder, const std::string& name) {
    if (folder.empty() || !fs::is_directory(folder)) return {};
    for (const auto& e : fs::directory_iterator(folder)) {
        const std::string file = Lower(e.path().filename().string()), stem = Lower(e.path().stem().string());
        if (file == Lower(name) || stem == Lower(name)) return e.path();
    }
    return {};
}

// The first line where `got` differs from `want`, both shown.
std::string FirstDifference(const std::string& want, const std::string& got) {
    std::istringstream a(want), b(got);
    std::string la, lb;
    for (int line = 1;; ++line) {
        const bool ha = static_cast<bool>(std::getline(a, la)), hb = static_cast<bool>(std::getline(b, lb));
        if (!ha && !hb) return "line ends differ";
        if (!ha || !hb || la != lb)
            return "line " + std::to_string(line) + ": source \"" + (ha ? la : "<end>") + "\", printed \"" +
                   (hb ? lb : "<end>") + "\"";
    }
}

// Prints every program of the suites from source and compares the main file
// and each copybook written with its source, byte for byte; the differences
// go to `failures`, the counts to `programs` and `parsed`.
void RoundTripFromSource(const std::vector<Suite>& suites, const vemlo_test::TempDir& scratch, int& programs,
                         int& parsed, std::vector<std::string>& failures) {
    for (const Suite& suite : suites) {
        SuiteParser parser(suite, suite.copybooks);
        ASSERT_TRUE(parser.Ok()) << suite.name;
        for (const fs::path& program : suite.programs) {
            ++programs;
            DovExpr* root = parser.Parse(program);
            if (!root) continue;
            ++parsed;
            const fs::path copies = scratch.Fresh("copies");
            DovPrettyPrinterImpl printer;
            printer.gen_src = 1;
            printer.gen_copy_dir = copies.string().c_str();
            SetLineFormat(suite, printer);
            VString text;
            DovTokenList messages;
            const int rc = printer.PrintToString(text, root, &messages);
            delete root;
            const std::string name = suite.name + "/" + program.filename().string();
            if (rc != 0) {
                failures.push_back(name + ": print result " + std::to_string(rc) +
                                   (messages.First() ? std::string(": ") + messages.First()->image.CStr() : ""));
                continue;
            }
            const std::string printed(text.CStr(), static_cast<std::size_t>(text.Len()));
            const std::string source = vemlo_test::ReadFileBytes(program);
            if (printed != source)
                failures.push_back(name + ": main file differs: " + FirstDifference(source, printed));
            for (const auto& e : fs::recursive_directory_iterator(copies)) {
                if (!e.is_regular_file()) continue;
                const std::string rel = fs::relative(e.path(), copies).string();
                const fs::path source = CopybookSource(suite.copybooks, rel);
                if (source.empty() || vemlo_test::ReadFileBytes(source) != vemlo_test::ReadFileBytes(e.path()))
                    failures.push_back(name + ": copybook " + rel + " differs");
            }
        }
    }
}

void ReportFromSource(int programs, int parsed, const std::vector<std::string>& failures) {
    ASSERT_GT(parsed, 0) << "none of the " << programs << " programs parses into a tree";
    std::cout << "Printed from source: " << parsed << " of " << programs << " programs\n";
    std::set<std::string> failed;
    for (const std::string& f : failures) failed.insert(f.substr(0, f.find(": ")));
    ReportRoundTrip("source", failures, failed);
}

TEST(PrintRoundTrip, PrintedFromSourceEveryParsedProgramComesBackByteForByte) {
    DovInstallGrammar();
    const vemlo_test::TempDir scratch;
    int programs = 0, parsed = 0;
    std::vector<std::string> failures;
    RoundTripFromSource(Suites(), scratch, programs, parsed, failures);
    ReportFromSource(programs, parsed, failures);
}

// The layouts a source file may have besides LF line ends: CR LF, a carriage
// return alone, and each of LF and CR LF behind a UTF-8 byte-order mark.
std::string InLayout(const std::string& text, int layout) {
    static const char* const kLineEnds[] = {"\r\n", "\r", "\n", "\r\n"};
    return (layout >= 2 ? "\xEF\xBB\xBF" : "") + vemlo_test::WithLineEnds(text, kLineEnds[layout % 4]);
}

// The suites with every program and copybook written into `scratch` in one
// of the layouts, taken in turn.
std::vector<Suite> InOtherLayouts(const std::vector<Suite>& suites, const vemlo_test::TempDir& scratch) {
    std::vector<Suite> out;
    int next = 0;
    auto convert = [&next](const fs::path& from, const fs::path& to) {
        std::ofstream(to, std::ios::binary) << InLayout(vemlo_test::ReadFileBytes(from), next++ % 4);
    };
    for (const Suite& suite : suites) {
        Suite s = suite;
        const fs::path folder = scratch.Fresh("layouts/" + suite.name);
        s.programs.clear();
        for (const fs::path& program : suite.programs) {
            s.programs.push_back(folder / program.filename());
            convert(program, s.programs.back());
        }
        if (!suite.copybooks.empty()) {
            s.copybooks = folder / "copy";
            fs::create_directories(s.copybooks);
            for (const auto& e : fs::directory_iterator(suite.copybooks))
                if (e.is_regular_file()) convert(e.path(), s.copybooks / e.path().filename());
        }
        out.push_back(s);
    }
    return out;
}

// Every program and copybook of the suites, its line ends made CR LF or a
// lone carriage return, some of them behind a byte-order mark: printed from
// source, each comes back byte for byte as well, its line ends and its mark
// kept, the main file and each copybook as it was.
TEST(PrintRoundTrip, PrintedFromSourceEveryParsedProgramKeepsItsLineEndsAndByteOrderMark) {
    DovInstallGrammar();
    const vemlo_test::TempDir scratch;
    int programs = 0, parsed = 0;
    std::vector<std::string> failures;
    RoundTripFromSource(InOtherLayouts(Suites(), scratch), scratch, programs, parsed, failures);
    ReportFromSource(programs, parsed, failures);
}

TEST(PrintRoundTrip, PrintedThroughTheTemplatesEveryParsedProgramParsesToAnEqualTree) {
    DovInstallGrammar();
    const vemlo_test::TempDir scratch;
    int programs = 0, parsed = 0;
    std::vector<std::string> failures;
    for (const Suite& suite : Suites()) {
        SuiteParser parser(suite, suite.copybooks);
        ASSERT_TRUE(parser.Ok()) << suite.name;
        for (const fs::path& program : suite.programs) {
            ++programs;
            DovExpr* root = parser.Parse(program);
            if (!root) continue;
            ++parsed;
            const std::vector<std::string> before = vemlo_test::TreeShape(root);
            const fs::path out = scratch.Fresh("out");
            const fs::path copies = scratch.Fresh("copies");
            DovPrettyPrinterImpl printer;
            printer.gen_copy_dir = copies.string().c_str();
            SetLineFormat(suite, printer);
            DovTokenList messages;
            const fs::path printed = out / program.filename();
            const int rc = printer.PrintToFile(printed.string().c_str(), root, &messages);
            delete root;
            const std::string name = suite.name + "/" + program.filename().string();
            if (rc != 0) {
                failures.push_back(name + ": print result " + std::to_string(rc));
                continue;
            }
            // The copybooks are found again under their suffix.
            if (suite.suffix)
                for (const auto& e : fs::recursive_directory_iterator(copies))
                    if (e.is_regular_file() && e.path().extension().empty())
                        fs::copy_file(e.path(), e.path().string() + suite.suffix);
            SuiteParser again(suite, copies);
            DovExpr* second = again.Parse(printed);
            if (!second) {
                failures.push_back(name + ": the printed text does not parse");
                continue;
            }
            const std::vector<std::string> after = vemlo_test::TreeShape(second);
            delete second;
            if (before != after) failures.push_back(name + ": trees differ, " + vemlo_test::ShapeDifference(before, after, 3));
        }
    }
    ASSERT_GT(parsed, 0) << "none of the " << programs << " programs parses into a tree";
    std::cout << "Printed through the templates and parsed again: " << parsed << " of " << programs << " programs\n";
    std::set<std::string> failed;
    for (const std::string& f : failures) failed.insert(f.substr(0, f.find(": ")));
    ReportRoundTrip("templates", failures, failed);
}

// The program T.cbl and its copybook KTEXT.cpy, parsed under `lang` and
// printed from source with a copy folder: the program comes back byte for
// byte, and so does the copybook, in its own file under the copy folder.
void ExpectBackFromSource(const vemlo_test::TempDir& scratch, const char* lang, const std::string& program,
                          const std::string& copybook) {
    const fs::path in = scratch.Fresh("in"), copies = scratch.Fresh("copies");
    std::ofstream(in / "T.cbl") << program;
    std::ofstream(in / "KTEXT.cpy") << copybook;
    Suite suite{"fixture", {}, in, {lang}, ".cpy"};
    SuiteParser parser(suite, in);
    ASSERT_TRUE(parser.Ok());
    DovExpr* root = parser.Parse(in / "T.cbl");
    ASSERT_NE(root, nullptr);
    DovPrettyPrinterImpl printer;
    printer.gen_src = 1;
    printer.gen_copy_dir = copies.string().c_str();
    VString text;
    DovTokenList messages;
    EXPECT_EQ(printer.PrintToString(text, root, &messages), 0);
    delete root;
    EXPECT_EQ(std::string(text.CStr()), program);
    EXPECT_EQ(vemlo_test::ReadFileBytes(copies / "KTEXT.cpy"), copybook);
}

// T.cbl of `in`, with its copybooks there (suffix .cpy, ANSI-85), printed
// through the templates into `out` and its copybooks into `copies`, then
// parsed again from there: "" when the print succeeds and the tree is equal,
// else what went wrong.
std::string TemplatesRoundTrip(const fs::path& in, const fs::path& out, const fs::path& copies) {
    Suite suite{"fixture", {}, in, {"-lang=ansi85"}, ".cpy"};
    SuiteParser parser(suite, in);
    if (!parser.Ok()) return "bad options";
    DovExpr* root = parser.Parse(in / "T.cbl");
    if (!root) return "the program does not parse";
    const std::vector<std::string> before = vemlo_test::TreeShape(root);
    DovPrettyPrinterImpl printer;
    printer.gen_copy_dir = copies.string().c_str();
    DovTokenList messages;
    const int rc = printer.PrintToFile((out / "T.cbl").string().c_str(), root, &messages);
    delete root;
    if (rc != 0) return "print result " + std::to_string(rc);
    SuiteParser again(suite, copies);
    DovExpr* second = again.Parse(out / "T.cbl");
    if (!second) return "the printed text does not parse:\n" + vemlo_test::ReadFileBytes(out / "T.cbl");
    const std::string difference = vemlo_test::ShapeDifference(before, vemlo_test::TreeShape(second));
    delete second;
    return difference.empty() ? "" : difference + vemlo_test::ReadFileBytes(out / "T.cbl");
}

// The kinds of line end a text holds ("CR LF", "CR", "LF"), and "mark" for a
// byte-order mark in front.
std::set<std::string> Layout(const std::string& text) {
    std::set<std::string> kinds;
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) kinds.insert("mark");
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            kinds.insert("CR LF"), ++i;
        else if (text[i] == '\r')
            kinds.insert("CR");
        else if (text[i] == '\n')
            kinds.insert("LF");
    }
    return kinds;
}

// Printed through the templates, the main file and each copybook file are
// laid out as their sources are: every line with the source's line end, the
// byte-order mark in front when the source has one; and they parse back to
// an equal tree.
TEST(PrintRoundTrip, PrintedThroughTheTemplatesEachFileIsLaidOutAsItsSource) {
    DovInstallGrammar();
    const std::string program = InLayout(
        "       IDENTIFICATION DIVISION.\n       PROGRAM-ID. T.\n       DATA DIVISION.\n"
        "       WORKING-STORAGE SECTION.\n       COPY KCR.\n       COPY KMARK.\n       PROCEDURE DIVISION.\n"
        "           MOVE 1 TO N.\n           STOP RUN.\n",
        3);
    const struct {
        const char* name;
        std::string text;
        std::set<std::string> layout;
    } copybooks[] = {
        {"KCR.cpy", InLayout("      * CR\n       01  N PIC 9(4).\n", 1), {"CR"}},
        {"KMARK.cpy", InLayout("       01  M PIC 9(4).\n", 2), {"mark", "LF"}},
    };
    const vemlo_test::TempDir scratch;
    const fs::path in = scratch.Fresh("in"), out = scratch.Fresh("out"), copies = scratch.Fresh("copies");
    std::ofstream(in / "T.cbl", std::ios::binary) << program;
    for (const auto& c : copybooks) std::ofstream(in / c.name, std::ios::binary) << c.text;
    EXPECT_EQ(TemplatesRoundTrip(in, out, copies), "");
    EXPECT_EQ(Layout(vemlo_test::ReadFileBytes(out / "T.cbl")), (std::set<std::string>{"mark", "CR LF"}));
    for (const auto& c : copybooks) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Layout(vemlo_test::ReadFileBytes(copies / c.name)), c.layout);
    }
}

// A copybook that COPY ... REPLACING changed, with a node in it changed so
// that it prints through the templates and not as its source: its words
// print as the source has them (the REPLACING phrase replaces them again
// when the text is read), read from the copybook as the lexer reads it,
// whatever its line ends and with or without a byte-order mark; the printed
// program parses back to the changed tree.
TEST(PrintRoundTrip, AChangedCopybookWithReplacingPrintsItsSourceWordsInEveryLayout) {
    DovInstallGrammar();
    const std::string program =
        "       IDENTIFICATION DIVISION.\n       PROGRAM-ID. T.\n       DATA DIVISION.\n"
        "       WORKING-STORAGE SECTION.\n       COPY KREP REPLACING ==:P:== BY ==XX==.\n"
        "       PROCEDURE DIVISION.\n           STOP RUN.\n";
    const std::string copybook = "       01  :P:-A PIC X.\n       01  :P:-B PIC X.\n";
    const vemlo_test::TempDir scratch;
    for (int layout = 0; layout < 4; ++layout) {
        SCOPED_TRACE(layout);
        const fs::path in = scratch.Fresh("in"), out = scratch.Fresh("out"), copies = scratch.Fresh("copies");
        std::ofstream(in / "T.cbl", std::ios::binary) << program;
        std::ofstream(in / "KREP.cpy", std::ios::binary) << InLayout(copybook, layout);
        Suite suite{"fixture", {}, in, {"-lang=ansi85"}, ".cpy"};
        SuiteParser parser(suite, in);
        ASSERT_TRUE(parser.Ok());
        DovExpr* root = parser.Parse(in / "T.cbl");
        ASSERT_NE(root, nullptr);
        // The picture of the second item becomes 9, as a transformation
        // would change it.
        std::vector<DovExpr*> pictures;
        WalkTheTree(root, &pictures, [](DovExpr* n, void* c) -> int {
            if (!n) return DOV_WALK_SKIP;
            if (n->Oper() == DX_PICTURE && n->Args(0) && std::string(n->Args(0)->Image().CStr()) == "X")
                static_cast<std::vector<DovExpr*>*>(c)->push_back(n);
            return DOV_WALK_DESCEND;
        });
        ASSERT_EQ(pictures.size(), 2u);
        pictures[1]->SetArg(0, new DovCharString("9"));
        const std::vector<std::string> changed = vemlo_test::TreeShape(root);
        DovPrettyPrinterImpl printer;
        printer.gen_copy_dir = copies.string().c_str();
        DovTokenList messages;
        EXPECT_EQ(printer.PrintToFile((out / "T.cbl").string().c_str(), root, &messages), 0);
        delete root;
        const std::string written = vemlo_test::ReadFileBytes(copies / "KREP.cpy");
        EXPECT_NE(written.find(":P:-A"), std::string::npos) << written;
        EXPECT_NE(written.find(":P:-B"), std::string::npos) << written;
        SuiteParser again(suite, copies);
        DovExpr* second = again.Parse(out / "T.cbl");
        ASSERT_NE(second, nullptr) << vemlo_test::ReadFileBytes(out / "T.cbl") << written;
        EXPECT_EQ(vemlo_test::ShapeDifference(changed, vemlo_test::TreeShape(second)), "") << written;
        delete second;
    }
}

// Copybook text the tree holds with no copybook node in front of it: each
// program, with its copybook in a scratch folder, printed from source comes
// back byte for byte, and so does the copybook, written to the copy folder
// under the name of the file read.
TEST(PrintRoundTrip, CopybookTextWithoutABeginNodeInFrontOfItComesBackInItsOwnFile) {
    DovInstallGrammar();
    struct Case {
        const char* name;
        const char* program;
        const char* copybook;  // KTEXT.cpy
    } cases[] = {
        {"a section header taken from the copybook before its begin node",
         "       IDENTIFICATION DIVISION.\n       PROGRAM-ID. T.\n       ENVIRONMENT DIVISION.\n"
         "       COPY   KTEXT.\n       PROCEDURE DIVISION.\n           STOP RUN.\n",
         "      *HEADER KTEXT\n       CONFIGURATION SECTION.\n       SOURCE-COMPUTER.\n           X1.\n"},
        {"a paragraph's contents, with no copybook nodes in the tree",
         "       IDENTIFICATION DIVISION.\n       PROGRAM-ID. T.\n       ENVIRONMENT DIVISION.\n"
         "       CONFIGURATION SECTION.\n       SOURCE-COMPUTER.                 COPY KTEXT.\n"
         "       PROCEDURE DIVISION.\n           STOP RUN.\n",
         "      *HEADER KTEXT\n           X1.\n      *END KTEXT\n"},
        {"a COPY inside a statement the parser recovers from",
         "       IDENTIFICATION DIVISION.\n       PROGRAM-ID. T.\n       DATA DIVISION.\n"
         "       WORKING-STORAGE SECTION.\n       01  N PIC 9(4).\n       01  M PIC 9(4).\n"
         "       PROCEDURE DIVISION.\n           ADD     COPY KTEXT. TO N.\n           STOP RUN.\n",
         "      *HEADER KTEXT\n           M\n      *END KTEXT\n"},
    };
    const vemlo_test::TempDir scratch;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectBackFromSource(scratch, "-lang=ansi85", c.program, c.copybook);
    }
}

// A copybook COPYed inside a sentence (after another statement, not at a
// sentence's start) is a statement of its own: printed from source the
// program comes back byte for byte, and so does the copybook in its own
// file: the line after the COPY is not joined onto it, the blanks after the
// COPY stay, the last line end stays, and the copybook's columns 73-80 stay
// in the copybook.
TEST(PrintRoundTrip, ACopybookCopiedInsideASentenceComesBackByteForByte) {
    DovInstallGrammar();
    const std::string head =
        "       IDENTIFICATION DIVISION.\n       PROGRAM-ID. T.\n       DATA DIVISION.\n"
        "       WORKING-STORAGE SECTION.\n       01  N PIC 9(4).\n       01  M PIC X.\n"
        "       PROCEDURE DIVISION.\n";
    struct Case {
        const char* name;
        std::string program;
        const char* copybook;  // KTEXT.cpy
    } const cases[] = {
        {"the next line stays on its own line",
         head + "           IF N = 0\n           COPY KTEXT.\n           STOP RUN.\n", "           MOVE 1 TO N.\n"},
        {"the blanks after the COPY stay",
         head + "           MOVE 1 TO N\n           COPY KTEXT.   MOVE 2 TO N\n           STOP RUN.\n",
         "           MOVE 'Y' TO M\n"},
        {"the last line end stays", head + "           MOVE 1 TO N\n           COPY KTEXT.\n",
         "           MOVE 'Y' TO M\n"},
        {"the copybook's columns 73-80 stay in the copybook", head + "           MOVE 1 TO N\n           COPY KTEXT.\n",
         "000100     MOVE 'Y' TO M                                                KTEXT4.2\n"},
        {"after a statement inside an IF",
         head + "           IF N = 0\n              MOVE 1 TO N\n           COPY KTEXT.\n              MOVE 2 TO N\n"
                "           END-IF\n           STOP RUN.\n",
         "      * SETS M\n           MOVE 'Y' TO M\n"},
        {"inside an EVALUATE WHEN",
         head + "           EVALUATE N\n           WHEN 0\n              MOVE 1 TO N\n           COPY KTEXT.\n"
                "           WHEN OTHER\n              MOVE 2 TO N\n           END-EVALUATE\n           STOP RUN.\n",
         "           MOVE 'Y' TO M\n"},
        {"twice in a row",
         head + "           MOVE 1 TO N\n           COPY KTEXT.\n           COPY KTEXT.\n           STOP RUN.\n",
         "           MOVE 'Y' TO M\n"},
        {"supplying the sentence's period", head + "           MOVE 1 TO N\n           COPY KTEXT.\n           STOP RUN.\n",
         "           MOVE 'Y' TO M.\n"},
    };
    const vemlo_test::TempDir scratch;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectBackFromSource(scratch, "-lang=vsii", c.program, c.copybook);
    }
}

// Copybooks printed through the templates into their own files, and the
// program parsed again to an equal tree: a copybook that COPY ... REPLACING
// changed is written as its source, so that the REPLACING phrase printed
// with the statement gives the same text again (printed from the tree, 1 BY
// 5 and 5 BY 7 would make the 1 a 7), also when two COPY statements replace
// different text of it, and pseudo-text keeps its words as the source wrote
// them, 9(5) unparted; a copybook that ends inside a statement is closed
// where the including file's text goes on, so that the rest of the program
// does not land in it; a copybook copied twice, plain and with REPLACING or
// with two REPLACING phrases, is written once with a text that each COPY
// statement reads right (the file written at each COPY, the last one won).
TEST(PrintRoundTrip, CopybooksPrintedThroughTheTemplatesParseBackToAnEqualTree) {
    DovInstallGrammar();
    const std::string head =
        "       IDENTIFICATION DIVISION.\n       PROGRAM-ID. T.\n       DATA DIVISION.\n"
        "       WORKING-STORAGE SECTION.\n       01  N PIC 9(4).\n       01  M PIC 9(4).\n"
        "       PROCEDURE DIVISION.\n       P1.\n";
    const std::string fdHead =
        "       IDENTIFICATION DIVISION.\n       PROGRAM-ID. T.\n       ENVIRONMENT DIVISION.\n"
        "       INPUT-OUTPUT SECTION.\n       FILE-CONTROL.\n           SELECT F1 ASSIGN TO \"A\".\n"
        "           SELECT F2 ASSIGN TO \"B\".\n       DATA DIVISION.\n       FILE SECTION.\n";
    const std::string fdTail = "       PROCEDURE DIVISION.\n           STOP RUN.\n";
    struct Case {
        const char* name;
        std::string program;
        std::string copybook;  // KCPY.cpy
        bool asSource;         // the copybook's file holds its source
    } cases[] = {
        {"a copybook that REPLACING changed, copied twice",
         head + "           COPY KCPY REPLACING ==1== BY ==5==\n                               ==5== BY ==7==.\n"
                "           COPY KCPY REPLACING ==N== BY ==M==.\n           STOP RUN.\n",
         "      *HEADER KCPY\n           MOVE 1 TO N.\n", true},
        {"pseudo-text with a picture string, whose words are not to be parted",
         "       IDENTIFICATION DIVISION.\n       PROGRAM-ID. T.\n       DATA DIVISION.\n"
         "       WORKING-STORAGE SECTION.\n       COPY KCPY REPLACING ==PIC 9(5)== BY ==PIC 9(3)==.\n"
         "       PROCEDURE DIVISION.\n           STOP RUN.\n",
         "      *HEADER KCPY\n       01  B PIC 9(5).\n", true},
        {"a copybook that holds the period of the entry its COPY ends, copied twice",
         "       IDENTIFICATION DIVISION.\n       PROGRAM-ID. T.\n       DATA DIVISION.\n"
         "       WORKING-STORAGE SECTION.\n       01  G COPY KCPY REPLACING ==F1== BY ==F2==.\n"
         "       01  H COPY KCPY REPLACING ==F1== BY ==F3==.\n       PROCEDURE DIVISION.\n           STOP RUN.\n",
         "      *HEADER KCPY\n           .\n           02  F1 PIC X.\n", true},
        {"a copybook that ends inside an IF statement",
         head + "           COPY KCPY.\n               MOVE 0 TO N\n           ELSE\n               MOVE 1 TO N.\n"
                "           STOP RUN.\n",
         "      *HEADER KCPY\n           IF N = 1\n", false},
        {"the same, with REPLACING",
         head + "           COPY KCPY REPLACING ==1== BY ==2==.\n               MOVE 0 TO N\n           ELSE\n"
                "               MOVE 1 TO N.\n           STOP RUN.\n",
         "      *HEADER KCPY\n           IF N = 1\n", true},
        // The clauses of an FD entry that a COPY statement ends are printed
        // before the statement, so that the copybook's file cannot be its
        // source; the words REPLACING replaced print as the source has them,
        // and both COPY statements read the one file right.
        {"a copybook ending FD entries, copied plain and with REPLACING",
         fdHead + "       FD  F1 COPY KCPY.\n       FD  F2 COPY KCPY REPLACING R1 BY R2.\n" + fdTail,
         "           LABEL RECORDS ARE STANDARD.\n       01  R1 PIC X(80).\n", false},
        {"the same, copied with two different REPLACING phrases",
         fdHead + "       FD  F1 COPY KCPY REPLACING R0 BY R1.\n       FD  F2 COPY KCPY REPLACING R0 BY R2.\n" +
             fdTail,
         "           LABEL RECORDS ARE STANDARD.\n       01  R0 PIC X(80).\n", false},
        {"a copybook ending an FD entry, with a REPLACING phrase that swaps two words",
         fdHead + "       FD  F1 COPY KCPY REPLACING R1 BY R2 R2 BY R1.\n       FD  F2.\n       01  R3 PIC X.\n" +
             fdTail,
         "           LABEL RECORDS ARE STANDARD.\n       01  R1.\n           05  R2 PIC X(80).\n", false},
    };
    const vemlo_test::TempDir scratch;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path in = scratch.Fresh("in"), out = scratch.Fresh("out"), copies = scratch.Fresh("copies");
        std::ofstream(in / "T.cbl") << c.program;
        std::ofstream(in / "KCPY.cpy") << c.copybook;
        EXPECT_EQ(TemplatesRoundTrip(in, out, copies), "")
            << "---\n" << vemlo_test::ReadFileBytes(copies / "KCPY.cpy");
        if (c.asSource) {
            EXPECT_EQ(vemlo_test::ReadFileBytes(copies / "KCPY.cpy"), c.copybook);
        }
    }
}

// A copybook copied twice whose text a change made different under the
// second COPY statement: its file keeps the text written first, which the
// first COPY reads, rather than the second text, which would change what
// the first reads; the conflict is reported at the second COPY and the
// print fails with the rest of its text written. Printed from source and
// through the templates.
TEST(PrintRoundTrip, ACopybookThatWouldReadDifferentlyUnderTwoCopiesIsNotOverwritten) {
    DovInstallGrammar();
    const std::string program =
        "       IDENTIFICATION DIVISION.\n       PROGRAM-ID. T.\n       DATA DIVISION.\n"
        "       WORKING-STORAGE SECTION.\n       01  G1.\n       COPY KCPY.\n       01  G2.\n"
        "       COPY KCPY.\n       PROCEDURE DIVISION.\n           STOP RUN.\n";
    const std::string copybook = "           05  F PIC X.\n";
    const vemlo_test::TempDir scratch;
    for (int fromSource = 0; fromSource <= 1; ++fromSource) {
        SCOPED_TRACE(fromSource ? "printed from source" : "printed through the templates");
        const fs::path in = scratch.Fresh("in"), out = scratch.Fresh("out"), copies = scratch.Fresh("copies");
        std::ofstream(in / "T.cbl") << program;
        std::ofstream(in / "KCPY.cpy") << copybook;
        Suite suite{"fixture", {}, in, {"-lang=ansi85"}, ".cpy"};
        SuiteParser parser(suite, in);
        ASSERT_TRUE(parser.Ok());
        DovExpr* root = parser.Parse(in / "T.cbl");
        ASSERT_NE(root, nullptr);
        // The picture of the second copy's item becomes 9, as a
        // transformation would change it (the debug items the parser adds
        // have pictures of their own).
        std::vector<DovExpr*> pictures;
        WalkTheTree(root, &pictures, [](DovExpr* n, void* c) -> int {
            if (!n) return DOV_WALK_SKIP;
            if (n->Oper() == DX_PICTURE && n->Args(0) && std::string(n->Args(0)->Image().CStr()) == "X")
                static_cast<std::vector<DovExpr*>*>(c)->push_back(n);
            return DOV_WALK_DESCEND;
        });
        ASSERT_EQ(pictures.size(), 2u);
        pictures[1]->SetArg(0, new DovCharString("9"));
        DovPrettyPrinterImpl printer;
        printer.gen_src = fromSource;
        printer.gen_copy_dir = copies.string().c_str();
        DovTokenList messages;
        EXPECT_EQ(printer.PrintToFile((out / "T.cbl").string().c_str(), root, &messages), kDovPrintCopybookConflict);
        delete root;
        EXPECT_NE(vemlo_test::Texts(messages).find("SourcePrint: copybook '" + (in / "KCPY.cpy").string() +
                                                   "' reads differently under two COPY statements"),
                  std::string::npos)
            << vemlo_test::Texts(messages);
        const std::string written = vemlo_test::ReadFileBytes(copies / "KCPY.cpy");
        EXPECT_NE(written.find("PIC X"), std::string::npos) << written;
        EXPECT_EQ(written.find("PIC 9"), std::string::npos) << written;
        // The including file is complete.
        EXPECT_NE(vemlo_test::ReadFileBytes(out / "T.cbl").find("STOP RUN."), std::string::npos);
    }
}

}  // namespace
