// gen_cics_options: turns the CICS option table (parser/cics_options.def)
// into C++: the constant table CicsOptionTable and its row count
// CicsOptionTableSize, and the table of second forms CicsFormTable with
// CicsFormTableSize (cics_option_table.cpp).
//
//   gen_cics_options OPERATIONS.def CICS_OPTIONS.def OUTPUT_DIR
//
// The statement and option names are checked against the operation
// catalogue (tree/operations.def): every statement is a CS_STMT_ operation
// with the argument count the line states, every option a CS_CL_ operation,
// every CS_STMT_ operation of the catalogue has its line, slots lie inside
// the statement and run without a gap up to its last, whose three last slots
// are NOHANDLE, RESP and RESP2, and an option takes one slot of a statement
// only. A second form is a statement of its own, with no more slots than
// the first, whose slot 0 takes the key option, which the first form does
// not take. The rows are sorted by statement code and then by option code (a
// repeated row stays after its first) and counted against the "%totals"
// line. Any fault is reported as FILE:LINE: text and ends the run with
// status 1.
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "gen_common.h"

namespace {

const std::string kStmtPrefix = "CS_STMT_";
const std::string kOptionPrefix = "CS_CL_";

std::string gFile;

using gen::CatalogueOper;
using gen::Fail;
using gen::GoodName;
using gen::ParseInt;

[[noreturn]] void Fail(int line, const std::string& text) { Fail(gFile, line, text); }

struct Row {
    int stmt;
    int option;
    int slot;
    std::string stmtName;
    std::string optionName;
};

struct Form {
    int line;
    std::string stmtName;
    std::string optionName;
    std::string formName;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: gen_cics_options OPERATIONS.def CICS_OPTIONS.def OUTPUT_DIR\n";
        return 2;
    }
    const std::map<std::string, CatalogueOper> catalogue = gen::ReadCatalogue("gen_cics_options", argv[1]);
    gFile = argv[2];
    const std::string outDir = argv[3];
    std::ifstream in = gen::OpenInput("gen_cics_options", gFile);

    // Statement lines with their continuations, each with the line it
    // starts on.
    std::vector<std::pair<int, std::vector<std::string>>> stmts;
    std::map<std::string, long> totals;
    int totalsLine = 0;
    std::vector<Form> forms;
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (text.empty() || text[0] == '#') continue;
        std::istringstream ws(text);
        std::vector<std::string> words;
        for (std::string w; ws >> w;) words.push_back(w);
        if (words.empty()) continue;
        if (words[0] == "%totals") {
            gen::ReadTotalsLine(gFile, line, words, totalsLine, totals);
            continue;
        }
        if (words[0] == "%form") {
            if (words.size() != 4) Fail(line, "expected %form STATEMENT OPTION FORM");
            forms.push_back({line, kStmtPrefix + words[1], kOptionPrefix + words[2], kStmtPrefix + words[3]});
            continue;
        }
        if (text[0] == ' ' || text[0] == '\t') {
            if (stmts.empty()) Fail(line, "continuation line without a statement line");
            auto& all = stmts.back().second;
            all.insert(all.end(), words.begin(), words.end());
            continue;
        }
        stmts.push_back({line, words});
    }

    std::vector<Row> rows;
    std::set<std::string> stmtsSeen;
    std::set<int> optionsSeen;
    long duplicates = 0;
    for (const auto& [line, words] : stmts) {
        if (words.size() < 2) Fail(line, "expected STATEMENT SLOTS SLOT:OPTION...");
        const std::string stmtName = kStmtPrefix + words[0];
        auto st = catalogue.find(stmtName);
        if (!GoodName(words[0]) || st == catalogue.end())
            Fail(line, "no operation " + stmtName + " in the catalogue");
        if (!stmtsSeen.insert(stmtName).second) Fail(line, "second line for " + stmtName);
        int slots = 0;
        if (!ParseInt(words[1], slots) || slots != st->second.argCount)
            Fail(line, stmtName + " has " + std::to_string(st->second.argCount) + " slots in the catalogue, not " +
                           words[1]);

        std::map<std::string, int> slotOfOption;
        std::vector<std::string> singles;  // the option of each single-option slot, by slot
        singles.resize(slots);
        int first = -1, prev = -1;
        for (std::size_t i = 2; i < words.size(); ++i) {
            const std::string& w = words[i];
            std::size_t colon = w.find(':');
            int slot = 0;
            if (colon == std::string::npos || !ParseInt(w.substr(0, colon), slot))
                Fail(line, "bad slot group '" + w + "'");
            if (slot >= slots) Fail(line, "slot " + std::to_string(slot) + " beyond the slots of " + stmtName);
            if (prev >= 0 && slot != prev + 1)
                Fail(line, "slot " + std::to_string(slot) + " of " + stmtName + " does not follow slot " +
                               std::to_string(prev));
            if (first < 0) first = slot;
            prev = slot;
            std::set<std::string> inGroup;
            std::string rest = w.substr(colon + 1) + "/";
            int count = 0;
            for (std::size_t b = 0, e; (e = rest.find('/', b)) != std::string::npos; b = e + 1) {
                std::string name = rest.substr(b, e - b);
                const std::string optionName = kOptionPrefix + name;
                auto op = catalogue.find(optionName);
                if (!GoodName(name) || op == catalogue.end())
                    Fail(line, "no operation " + optionName + " in the catalogue");
                ++count;
                if (!inGroup.insert(name).second) {
                    ++duplicates;
                } else if (!slotOfOption.emplace(name, slot).second) {
                    Fail(line, optionName + " in two slots of " + stmtName);
                }
                rows.push_back({st->second.code, op->second.code, slot, stmtName, optionName});
                optionsSeen.insert(op->second.code);
                singles[slot] = name;
            }
            if (count > 1 && inGroup.size() > 1) singles[slot].clear();
        }
        if (prev != slots - 1) Fail(line, "the slots of " + stmtName + " do not run up to its last");
        if (slots < 3 || first > slots - 3 || singles[slots - 3] != "NOHANDLE" || singles[slots - 2] != "RESP" ||
            singles[slots - 1] != "RESP2")
            Fail(line, "the last three slots of " + stmtName + " must take NOHANDLE, RESP and RESP2");
    }
    for (const auto& [name, op] : catalogue)
        if (name.compare(0, kStmtPrefix.size(), kStmtPrefix) == 0 && !stmtsSeen.count(name))
            Fail(0, "no line for " + name);

    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        return a.stmt != b.stmt ? a.stmt < b.stmt : a.option < b.option;
    });

    auto slotOf = [&](const std::string& stmt, const std::string& option) {
        for (const Row& r : rows)
            if (r.stmtName == stmt && r.optionName == option) return r.slot;
        return -1;
    };
    std::set<std::string> formed;  // statements that are a first or a second form
    for (const Form& f : forms) {
        for (const std::string* name : {&f.stmtName, &f.formName})
            if (!stmtsSeen.count(*name)) Fail(f.line, "no line for " + *name);
        if (!catalogue.count(f.optionName)) Fail(f.line, "no operation " + f.optionName + " in the catalogue");
        if (slotOf(f.formName, f.optionName) != 0)
            Fail(f.line, f.formName + " does not take " + f.optionName + " in slot 0");
        if (slotOf(f.stmtName, f.optionName) >= 0) Fail(f.line, f.stmtName + " takes " + f.optionName + " itself");
        // The holder turns a statement into its second form in place, which
        // may drop slots but not add any.
        if (catalogue.at(f.formName).argCount > catalogue.at(f.stmtName).argCount)
            Fail(f.line, f.formName + " has more slots than " + f.stmtName);
        if (!formed.insert(f.stmtName).second || !formed.insert(f.formName).second)
            Fail(f.line, "a statement in two %form lines");
    }

    const std::pair<const char*, long> actual[] = {
        {"rows", static_cast<long>(rows.size())},
        {"statements", static_cast<long>(stmtsSeen.size())},
        {"options", static_cast<long>(optionsSeen.size())},
        {"duplicates", duplicates},
        {"forms", static_cast<long>(forms.size())},
    };
    if (!totalsLine) Fail(0, "the %totals line is missing");
    for (const auto& [key, value] : totals) {
        bool known = false;
        for (const auto& [k, v] : actual) {
            if (key != k) continue;
            known = true;
            if (v != value)
                Fail(totalsLine, "total " + key + " is " + std::to_string(v) + ", the totals line says " +
                                     std::to_string(value));
        }
        if (!known) Fail(totalsLine, "unknown total '" + key + "'");
    }
    for (const auto& [k, v] : actual)
        if (!totals.count(k)) Fail(totalsLine, std::string("the totals line lacks ") + k);

    std::ostringstream c;
    c << "// Generated by gen_cics_options from parser/cics_options.def; edit that file.\n";
    c << "#include \"parser/cics_options.h\"\n\n";
    c << "const int CicsOptionTableSize = " << rows.size() << ";\n\n";
    c << "const DovCicsOptionRow CicsOptionTable[" << rows.size() << "] = {\n";
    for (const Row& r : rows) c << "    {" << r.stmtName << ", " << r.optionName << ", " << r.slot << "},\n";
    c << "};\n\n";
    c << "const int CicsFormTableSize = " << forms.size() << ";\n\n";
    c << "const DovCicsFormRow CicsFormTable[" << (forms.empty() ? 1 : forms.size()) << "] = {\n";
    for (const Form& f : forms) c << "    {" << f.stmtName << ", " << f.optionName << ", " << f.formName << "},\n";
    if (forms.empty()) c << "    {0, 0, 0},\n";
    c << "};\n";

    const std::string path = outDir + "/cics_option_table.cpp";
    std::ofstream out(path, std::ios::binary);
    out << c.str();
    out.close();
    if (!out) {
        std::cerr << "gen_cics_options: cannot write " << path << '\n';
        return 1;
    }
    return 0;
}
