// Every corpus program with one sentence of its procedure division made
// unparsable: a closing parenthesis in place of the blank after the first
// word of a line, on a line chosen at random (from a fixed random start
// value, so that each run damages the same lines). The parse keeps its
// syntax errors in the tree; printed from source, the program still comes
// back byte for byte, main file and copybooks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "tests/printer/printer_fixture.h"
#include "tests/support/corpus.h"
#ifdef VEMLO_TEST_WITH_GRAMMAR
#include "grammar/cobol_grammar.h"
#endif

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string WithoutCarriageReturns(std::string s) {
    s.erase(std::remove(s.begin(), s.end(), '\r'), s.end());
    return s;
}

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// The lines of `text`, each with its line end.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find('\n', at);
        const std::size_t next = end == std::string::npos ? text.size() : end + 1;
        lines.push_back(text.substr(at, next - at));
        at = next;
    }
    return lines;
}

// Where a line of a fixed-format procedure division can be damaged: the
// blank after its first word, when the word stands in the text area, is no
// literal and the line is no comment, continuation or directive; npos when
// the line has no such place.
std::size_t DamagePlace(const std::string& line) {
    if (line.size() < 13 || line[6] != ' ') return std::string::npos;
    std::size_t word = line.find_first_not_of(' ', 7);
    if (word == std::string::npos || word >= 60) return std::string::npos;
    const char c = line[word];
    if (!std::isalpha(static_cast<unsigned char>(c))) return std::string::npos;
    std::size_t end = word;
    while (end < 71 && end < line.size() && line[end] != ' ' && line[end] != '\r' && line[end] != '\n' &&
           line[end] != '.' && line[end] != '\'' && line[end] != '"')
        ++end;
    if (end >= 71 || end >= line.size() || line[end] != ' ') return std::string::npos;
    // EXEC followed by a parenthesis is no EXEC block: nothing to refuse.
    if (Upper(line.substr(word, end - word)) == "EXEC") return std::string::npos;
    if (line.find_first_not_of(' ', end) >= std::min<std::size_t>(line.size(), 72)) return std::string::npos;
    return end;
}

// The program with one line of its procedure division damaged, the line
// chosen by `random`; empty when it has none to damage.
std::string Damaged(const std::string& text, std::mt19937& random) {
    std::vector<std::string> lines = Lines(text);
    std::vector<std::size_t> candidates;
    bool procedure = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (Upper(lines[i]).find("PROCEDURE DIVISION") != std::string::npos && lines[i].size() > 6 &&
            lines[i][6] == ' ') {
            procedure = true;
            continue;
        }
        if (procedure && DamagePlace(lines[i]) != std::string::npos) candidates.push_back(i);
    }
    if (candidates.empty()) return {};
    const std::size_t line = candidates[random() % candidates.size()];
    lines[line][DamagePlace(lines[line])] = ')';
    std::string out;
    for (const std::string& l : lines) out += l;
    return out;
}

class Scratch {
public:
    Scratch() {
        dir_ = fs::temp_directory_path() / ("vemlo_damaged_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
    }
    ~Scratch() {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    fs::path Fresh(const char* name) const {
        const fs::path p = dir_ / name;
        fs::remove_all(p);
        fs::create_directories(p);
        return p;
    }

private:
    fs::path dir_;
};

bool HasSyntaxError(const DovTokenList& messages) {
    for (const DovToken* m : messages)
        if (std::string(m->image.CStr()).find("syntax error") != std::string::npos) return true;
    return false;
}

// The source of a copybook written as `name` in the copybook folder (letter
// case aside, with or without its extension).
fs::path CopybookSource(const fs::path& folder, const std::string& name) {
    for (const auto& e : fs::directory_iterator(folder)) {
        const std::string file = Upper(e.path().filename().string()), stem = Upper(e.path().stem().string());
        if (file == Upper(name) || stem == Upper(name)) return e.path();
    }
    return {};
}

TEST(DamagedCorpus, EveryProgramWithASyntaxErrorPrintedFromSourceComesBackByteForByte) {
    VEMLO_REQUIRE_CORPUS();
#ifdef VEMLO_TEST_WITH_GRAMMAR
    DovInstallGrammar();
#else
    GTEST_SKIP() << "no grammar: nothing parses";
#endif
    Scratch scratch;
    std::mt19937 random(20261211);
    for (const vemlo_test::CorpusFolder& folder : vemlo_test::kCorpusFolders) {
        DovParserImpl parser;
        const DovCommandLineFlagTable& table = *parser.DefineOptions(kDovParserOptionGroups);
        const std::vector<std::string> words = vemlo_test::CorpusOptions(folder);
        std::vector<const char*> argv;
        for (const std::string& w : words) argv.push_back(w.c_str());
        VStringList files, problems;
        ASSERT_EQ(SetCLFlag(table, 0, static_cast<int>(argv.size()), argv.data(), files, problems), 0);
        VString error;
        ASSERT_EQ(parser.ResolveDialectDefaults(error), 0);
        const fs::path copybooks = *vemlo_test::CorpusDir() / folder.copybooks;
        for (const fs::path& program : vemlo_test::CorpusFiles(folder.name)) {
            const std::string ext = Upper(program.extension().string());
            if (ext == ".CPY") continue;
            const std::string damaged = Damaged(ReadAll(program), random);
            if (damaged.empty()) continue;
            const std::string name = std::string(folder.name) + "/" + program.filename().string();
            SCOPED_TRACE(name);
            const fs::path in = scratch.Fresh("in"), copies = scratch.Fresh("copies");
            const fs::path file = in / program.filename();
            std::ofstream(file, std::ios::binary) << damaged;
            DovExpr* root = nullptr;
            DovTokenList messages;
            parser.Parse(file.string().c_str(), root, &messages);
            if (!root) continue;
            EXPECT_TRUE(HasSyntaxError(messages)) << "the damage made no syntax error";
            DovPrettyPrinterImpl printer;
            printer.gen_src = 1;
            printer.gen_copy_dir = copies.string().c_str();
            VString text;
            DovTokenList printMessages;
            EXPECT_EQ(printer.PrintToString(text, root, &printMessages), 0);
            delete root;
            EXPECT_EQ(std::string(text.CStr()), WithoutCarriageReturns(damaged));
            for (const auto& e : fs::recursive_directory_iterator(copies)) {
                if (!e.is_regular_file()) continue;
                const std::string written = fs::relative(e.path(), copies).string();
                const fs::path source = CopybookSource(copybooks, written);
                EXPECT_FALSE(source.empty()) << written;
                if (!source.empty()) {
                    EXPECT_EQ(ReadAll(e.path()), WithoutCarriageReturns(ReadAll(source))) << written;
                }
            }
        }
    }
}

}  // namespace
