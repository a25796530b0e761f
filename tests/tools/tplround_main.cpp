// tplround: prints one source file through the templates (gen-src off),
// parses the printed text again under the same options and compares the two
// trees by shape (operation names, argument slots, leaf images; no positions,
// tokens or comments), for developers chasing round-trip differences.
//
//   tplround [parser options] [-out=DIR] FILE
//
// The printed program goes to DIR/<file name> and its copybooks under
// DIR/copies (DIR defaults to a fresh folder under the temporary directory).
// As in the round-trip test, the printed text is parsed again with DIR/copies
// as its only copybook folder (in place of the -copylib-dir options), so that
// it reads the printed copybooks and not the original ones;
// DIR/before.shape and DIR/after.shape hold the two trees, one node a line,
// indented by depth, so that `diff` shows where they part. The first
// difference and its context are written to standard output. Exit status 0:
// equal trees; 1: different trees, or the printed text does not parse; 2:
// the file does not parse, or a bad command line.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

#include "lbase/cmdline.h"
#include "parser/parser.h"
#include "printer/printer.h"
#include "tree/tree.h"
#if VEMLO_TPLROUND_GRAMMAR
#include "grammar/cobol_grammar.h"
#endif

namespace {

namespace fs = std::filesystem;

const char kUsage[] = "usage: tplround [parser options] [-out=DIR] FILE\n";

// One node a line, indented by depth: the operation name, a leaf's image.
// Derived slots are left out, as in the round-trip test.
void Shape(const DovExpr* node, int depth, std::vector<std::string>& out) {
    std::string line(static_cast<std::size_t>(depth) * 2, ' ');
    if (!node) {
        out.push_back(line + "-");
        return;
    }
    line += DovOperName(node->Oper());
    if (node->IsTerminal()) line += std::string(" '") + node->Image().CStr() + "'";
    out.push_back(line);
    for (int i = 0; i < node->NumArgs(); ++i) {
        if (DovOperArgIsDerived(node->Oper(), i)) {
            out.push_back(std::string(static_cast<std::size_t>(depth + 1) * 2, ' ') + "(derived)");
            continue;
        }
        Shape(node->Args(i), depth + 1, out);
    }
}

void Write(const fs::path& p, const std::vector<std::string>& lines) {
    std::ofstream o(p);
    for (const auto& l : lines) o << l << '\n';
}

struct Setup {
    std::vector<std::string> words;     // parser options but -copylib-dir
    std::vector<std::string> copyDirs;  // the -copylib-dir options, for the first parse
    std::string suffix;              // -copylib-sfx value
    int lineFormat = DOV_GEN_LF_FIXED;
};

// Parses `file` with the setup's options; with `copies` empty the copybooks
// come from the -copylib-dir folders of the command line, else from `copies`
// alone.
DovExpr* Parse(const Setup& setup, const std::string& copies, const std::string& file, bool show) {
    DovParserImpl parser;
    const DovCommandLineFlagTable& table = *parser.DefineOptions(kDovParserOptionGroups);
    std::vector<std::string> words = setup.words;
    if (copies.empty())
        words.insert(words.end(), setup.copyDirs.begin(), setup.copyDirs.end());
    else
        words.push_back("-copylib-dir=" + copies);
    std::vector<const char*> argv;
    for (const auto& w : words) argv.push_back(w.c_str());
    VStringList files, problems;
    if (SetCLFlag(table, 0, static_cast<int>(argv.size()), argv.data(), files, problems) != 0) {
        for (const VStringListNode* n = problems.head; n; n = n->next) std::cerr << "tplround: " << n->value << '\n';
        return nullptr;
    }
    VString error;
    if (parser.ResolveDialectDefaults(error) != 0) {
        std::cerr << "tplround: " << error << '\n';
        return nullptr;
    }
    DovExpr* root = nullptr;
    DovTokenList messages;
    parser.Parse(file.c_str(), root, &messages);
    if (show)
        for (const DovToken* m : messages) DovPrintPosnMessage(m->code, m->Beg(), m->image);
    return root;
}

}  // namespace

int main(int argc, char** argv) {
#if VEMLO_TPLROUND_GRAMMAR
    DovInstallGrammar();
#endif
    Setup setup;
    std::string outDir, file;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a.rfind("-out=", 0) == 0) {
            outDir = a.substr(5);
        } else if (!a.empty() && a[0] == '-') {
            if (a.rfind("-copylib-sfx=", 0) == 0) setup.suffix = a.substr(13);
            if (a == "-line-format=free") setup.lineFormat = DOV_GEN_LF_FREE;
            if (a == "-line-format=var") setup.lineFormat = DOV_GEN_LF_VAR;
            (a.rfind("-copylib-dir=", 0) == 0 ? setup.copyDirs : setup.words).push_back(a);
        } else if (file.empty()) {
            file = a;
        } else {
            std::cerr << kUsage;
            return 2;
        }
    }
    if (file.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    const fs::path out = outDir.empty() ? fs::temp_directory_path() / ("tplround_" + std::to_string(::getpid()))
                                        : fs::path(outDir);
    const fs::path copies = out / "copies";
    std::error_code ec;
    fs::remove_all(copies, ec);
    fs::create_directories(copies);

    DovExpr* root = Parse(setup, "", file, false);
    if (!root) {
        std::cerr << "tplround: " << file << " does not parse\n";
        return 2;
    }
    std::vector<std::string> before, after;
    Shape(root, 0, before);
    const fs::path printed = out / fs::path(file).filename();
    {
        DovPrettyPrinterImpl printer;
        printer.gen_copy_dir = copies.string().c_str();
        printer.gen_line_format = setup.lineFormat;
        DovTokenList messages;
        const int rc = printer.PrintToFile(printed.string().c_str(), root, &messages);
        for (const DovToken* m : messages) DovPrintPosnMessage(m->code, m->Beg(), m->image);
        delete root;
        if (rc != 0) {
            std::cout << "print result " << rc << '\n';
            return 1;
        }
    }
    if (!setup.suffix.empty())
        for (const auto& e : fs::recursive_directory_iterator(copies))
            if (e.is_regular_file() && e.path().extension().empty())
                fs::copy_file(e.path(), e.path().string() + setup.suffix, fs::copy_options::overwrite_existing);
    std::cout << "printed: " << printed.string() << '\n';
    DovExpr* second = Parse(setup, copies.string(), printed.string(), true);
    Write(out / "before.shape", before);
    if (!second) {
        std::cout << "the printed text does not parse\n";
        return 1;
    }
    Shape(second, 0, after);
    delete second;
    Write(out / "after.shape", after);
    std::size_t at = 0;
    while (at < before.size() && at < after.size() && before[at] == after[at]) ++at;
    if (at == before.size() && at == after.size()) {
        std::cout << "equal trees\n";
        return 0;
    }
    std::cout << "trees differ at shape line " << at + 1 << " (" << (out / "before.shape").string() << ", "
              << (out / "after.shape").string() << "):\n";
    const std::size_t from = at > 6 ? at - 6 : 0;
    for (std::size_t i = from; i < at && i < before.size(); ++i) std::cout << "  " << before[i] << '\n';
    for (std::size_t i = at; i < at + 6 && i < before.size(); ++i) std::cout << "- " << before[i] << '\n';
    for (std::size_t i = at; i < at + 6 && i < after.size(); ++i) std::cout << "+ " << after[i] << '\n';
    return 1;
}
