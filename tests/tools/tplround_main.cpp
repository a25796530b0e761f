// tplround: prints one source file through the templates (gen-src off),
// parses the printed text again under the same options and compares the two
// trees by shape (operation names, argument slots, leaf images; no positions,
// tokens or comments), for developers chasing round-trip differences.
//
//   tplround [parser options] [-out=DIR] [-src] FILE
//
// With -src the file is printed from source (gen-src) instead, and the
// printed main file and copybooks are compared with their sources byte for
// byte (exit status 0: the same bytes).
//
// The printed program goes to DIR/<file name> and its copybooks under
// DIR/copies (DIR defaults to a fresh folder under the temporary directory),
// as the round-trip test writes them, each under the name its COPY
// statement gives with the extension of the file read. The printed text is
// parsed with its copybooks taken from DIR/copies alone (the -copylib-dir
// folders serve the first parse only), under the same options: the suffix
// list and the letter-case retry find them as they found the originals.
// Printed from source, each copybook is compared with the file the first
// parse read for it (found as the parser found it: through the folder and
// suffix lists, in the letter case it was found in). The shapes are the
// round-trip test's (tests/support/tree_shape.h): DIR/before.shape and
// DIR/after.shape hold the two trees, one node a line, indented by depth,
// so that `diff` shows where they part. The first difference and its
// context are written to standard output. Exit status 0: equal trees; 1:
// different trees, or the printed text does not parse; 2: the file does not
// parse, or a bad command line.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "tests/support/files.h"
#include "grammar/cobol_grammar.h"
#include "lbase/cmdline.h"
#include "lbase/strutil.h"
#include "lbase/txtposn.h"
#include "lbase/vstring_list.h"
#include "parser/parser.h"
#include "printer/printer.h"
#include "tests/support/tree_shape.h"
#include "tree/tree.h"

namespace {

namespace fs = std::filesystem;

const char kUsage[] = "usage: tplround [parser options] [-out=DIR] [-src] FILE\n";

void Write(const fs::path& p, const std::vector<std::string>& lines) {
    std::ofstream o(p);
    for (const auto& l : lines) o << l << '\n';
}

struct Setup {
    std::vector<std::string> words;     // parser options, -copylib-dir aside
    std::vector<std::string> copyDirs;  // the -copylib-dir words of the first parse
    int lineFormat = DOV_GEN_LF_FIXED;
};

// Parses `file` under the options of `setup`; the copybooks come from the
// folders given on the command line, or, when `copies` is given, from that
// folder alone (the printed copybooks, never the original ones).
DovExpr* Parse(const Setup& setup, const std::string& copies, const std::string& file, bool show) {
    DovParserImpl parser;
    const DovCommandLineFlagTable& table = *parser.DefineOptions(kDovParserOptionGroups);
    std::vector<std::string> words = setup.words;
    if (copies.empty()) words.insert(words.end(), setup.copyDirs.begin(), setup.copyDirs.end());
    else words.push_back("-copylib-dir=" + copies);
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

// The files a parse read, the main file `main` aside: the copybooks, each
// as the lexer found it.
std::vector<fs::path> FilesRead(const std::string& main) {
    std::vector<fs::path> files;
    const DovNameTable& names = DovSrcFileNames();
    for (int i = 1; i < names.Count(); ++i) {
        const VString& name = DovSrcFileName(static_cast<std::uint32_t>(i));
        if (std::string(name.CStr()) != main) files.emplace_back(name.CStr());
    }
    return files;
}

// The file read whose path ends in `rel` (the printed copybook's path below
// the copy folder): with the same letter case, or else with any.
fs::path SourceOf(const fs::path& rel, const std::vector<fs::path>& read) {
    auto endsIn = [&](const fs::path& file, bool anyCase) {
        auto f = file.end(), r = rel.end();
        while (r != rel.begin()) {
            if (f == file.begin()) return false;
            --f, --r;
            if (anyCase ? DovStrCaseCompare(f->c_str(), r->c_str()) != 0 : *f != *r) return false;
        }
        return true;
    };
    for (bool anyCase : {false, true})
        for (const fs::path& file : read)
            if (endsIn(file, anyCase)) return file;
    return {};
}

// Printed from source: the main file and every copybook written must equal
// their sources (the files the parse read) byte for byte; the first
// differing line of each is shown.
bool SameAsSource(const fs::path& source, const fs::path& printed, const fs::path& copies,
                  const std::vector<fs::path>& read) {
    bool same = true;
    auto compare = [&](const fs::path& want, const fs::path& got) {
        const std::string a = vemlo_test::ReadFileBytes(want), b = vemlo_test::ReadFileBytes(got);
        if (a == b) return;
        same = false;
        std::istringstream la(a), lb(b);
        std::string x, y;
        for (int line = 1;; ++line) {
            const bool ha = static_cast<bool>(std::getline(la, x)), hb = static_cast<bool>(std::getline(lb, y));
            if (!ha && !hb) break;
            if (ha && hb && x == y) continue;
            std::cout << got.string() << " differs at line " << line << ":\n- " << (ha ? x : "<end>") << "\n+ "
                      << (hb ? y : "<end>") << '\n';
            return;
        }
        std::cout << got.string() << ": line ends differ\n";
    };
    compare(source, printed);
    for (const auto& e : fs::recursive_directory_iterator(copies)) {
        if (!e.is_regular_file()) continue;
        const fs::path original = SourceOf(fs::relative(e.path(), copies), read);
        if (original.empty()) {
            same = false;
            std::cout << e.path().string() << ": no such copybook among the files the parse read\n";
        } else {
            compare(original, e.path());
        }
    }
    std::cout << (same ? "same bytes\n" : "");
    return same;
}

}  // namespace

int main(int argc, char** argv) {
    DovInstallGrammar();
    Setup setup;
    std::string outDir, file;
    bool fromSource = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a.rfind("-out=", 0) == 0) {
            outDir = a.substr(5);
        } else if (a == "-src") {
            fromSource = true;
        } else if (!a.empty() && a[0] == '-') {
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
    const std::vector<std::string> before = vemlo_test::TreeShape(root);
    const std::vector<fs::path> read = FilesRead(file);
    const fs::path printed = out / fs::path(file).filename();
    {
        DovPrettyPrinterImpl printer;
        printer.gen_copy_dir = copies.string().c_str();
        printer.gen_line_format = setup.lineFormat;
        printer.gen_src = fromSource ? 1 : 0;
        DovTokenList messages;
        const int rc = printer.PrintToFile(printed.string().c_str(), root, &messages);
        for (const DovToken* m : messages) DovPrintPosnMessage(m->code, m->Beg(), m->image);
        delete root;
        if (rc != 0) {
            std::cout << "print result " << rc << '\n';
            return 1;
        }
    }
    std::cout << "printed: " << printed.string() << '\n';
    if (fromSource) return SameAsSource(file, printed, copies, read) ? 0 : 1;
    DovExpr* second = Parse(setup, copies.string(), printed.string(), true);
    Write(out / "before.shape", before);
    if (!second) {
        std::cout << "the printed text does not parse\n";
        return 1;
    }
    const std::vector<std::string> after = vemlo_test::TreeShape(second);
    delete second;
    Write(out / "after.shape", after);
    if (before == after) {
        std::cout << "equal trees\n";
        return 0;
    }
    std::cout << "trees differ (" << (out / "before.shape").string() << ", " << (out / "after.shape").string()
              << "): " << vemlo_test::ShapeDifference(before, after);
    return 1;
}
