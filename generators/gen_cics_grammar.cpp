// gen_cics_grammar: turns the regular part of the EXEC CICS grammar
// (grammar/cics_rules.def) into btyacc rules: cics_command (the command
// heads), cics_option (one rule per option keyword and form),
// cics_response_option (the rules of the options every command takes, which
// cics_option includes) and cics_condition_name (the condition words of
// HANDLE and IGNORE), written to cics_rules.y.inc for the main grammar to
// include.
//
//   gen_cics_grammar TOKENS.def OPERATIONS.def CICS_RULES.def OUTPUT_FILE
//
// Every keyword must be a CICS token (CTK_ of tree/tokens.def), every
// statement a CS_STMT_ operation and every option a CS_CL_ operation of
// tree/operations.def; an option that can carry an argument has one
// argument slot, one that never carries one has none; an option keyword
// stands once in each list; a response option is an option of some list;
// the counts are checked against the "%totals"
// line. Any fault is reported as FILE:LINE: text and ends the run with
// status 1; the output is written only when everything passed.
#include <cstdio>
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

std::string gFile;

using gen::Fail;
using gen::ParseInt;

[[noreturn]] void Fail(int line, const std::string& text) { Fail(gFile, line, text); }

using gen::GoodName;

bool GoodSymbol(const std::string& s) {
    if (s.empty() || s[0] < 'a' || s[0] > 'z') return false;
    for (char c : s)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_')) return false;
    return true;
}

std::ifstream Open(const std::string& path) { return gen::OpenInput("gen_cics_grammar", path); }

// The token names of tree/tokens.def ("CODE NAME ..." lines).
std::set<std::string> ReadTokens(const std::string& path) {
    std::ifstream in = Open(path);
    std::set<std::string> names;
    std::string text;
    while (std::getline(in, text)) {
        std::istringstream ws(text);
        std::string code, name;
        int n = 0;
        if (ws >> code >> name && ParseInt(code, n)) names.insert(name);
    }
    return names;
}

struct Command {
    int line;
    std::vector<std::string> keywords;
    std::string statement;
};

struct OptionList {
    int line;
    std::string symbol;  // "-" for the bare keyword
    std::vector<std::string> keywords;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::cerr << "usage: gen_cics_grammar TOKENS.def OPERATIONS.def CICS_RULES.def OUTPUT_FILE\n";
        return 2;
    }
    const std::set<std::string> tokens = ReadTokens(argv[1]);
    const std::map<std::string, gen::CatalogueOper> catalogue = gen::ReadCatalogue("gen_cics_grammar", argv[2]);
    gFile = argv[3];
    const std::string outPath = argv[4];
    std::ifstream in = Open(gFile);

    // Logical lines (with their continuations) and the line each starts on.
    std::vector<std::pair<int, std::vector<std::string>>> lines;
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (text.empty() || text[0] == '#') continue;
        std::istringstream ws(text);
        std::vector<std::string> words;
        for (std::string w; ws >> w;) words.push_back(w);
        if (words.empty()) continue;
        if (text[0] == ' ' || text[0] == '\t') {
            if (lines.empty()) Fail(line, "continuation line without a line before it");
            auto& all = lines.back().second;
            all.insert(all.end(), words.begin(), words.end());
            continue;
        }
        lines.push_back({line, words});
    }

    std::map<std::string, int> totals;
    int totalsLine = 0;
    std::vector<Command> commands;
    std::vector<OptionList> optionLists;
    std::vector<std::string> conditions;
    int conditionsLine = 0;
    std::set<std::string> responses;
    int responsesLine = 0;
    auto needToken = [&](int line, const std::string& kw) {
        if (!GoodName(kw) || !tokens.count("CTK_" + kw)) Fail(line, "no CICS token CTK_" + kw);
    };
    for (const auto& [line, words] : lines) {
        const std::string& head = words[0];
        if (head == "%totals") {
            gen::ReadTotalsLine(gFile, line, words, totalsLine, totals);
        } else if (head == "command") {
            Command c{line, {}, {}};
            std::size_t i = 1;
            for (; i < words.size() && words[i] != "="; ++i) {
                needToken(line, words[i]);
                c.keywords.push_back(words[i]);
            }
            if (c.keywords.empty() || i + 2 != words.size()) Fail(line, "expected command KEYWORD... = STATEMENT");
            c.statement = words[i + 1];
            auto st = catalogue.find("CS_STMT_" + c.statement);
            if (!GoodName(c.statement) || st == catalogue.end())
                Fail(line, "no operation CS_STMT_" + c.statement + " in the catalogue");
            for (const Command& other : commands)
                if (other.statement == c.statement) Fail(line, "second command for CS_STMT_" + c.statement);
            commands.push_back(c);
        } else if (head == "options") {
            if (words.size() < 3) Fail(line, "expected options SYMBOL KEYWORD...");
            OptionList l{line, words[1], {}};
            if (l.symbol != "-" && !GoodSymbol(l.symbol)) Fail(line, "bad argument symbol '" + l.symbol + "'");
            for (const OptionList& other : optionLists)
                if (other.symbol == l.symbol) Fail(line, "second list for " + l.symbol);
            std::set<std::string> seen;
            for (std::size_t i = 2; i < words.size(); ++i) {
                needToken(line, words[i]);
                if (!catalogue.count("CS_CL_" + words[i]))
                    Fail(line, "no operation CS_CL_" + words[i] + " in the catalogue");
                if (!seen.insert(words[i]).second) Fail(line, words[i] + " stands twice in the list");
                l.keywords.push_back(words[i]);
            }
            optionLists.push_back(l);
        } else if (head == "responses") {
            if (responsesLine) Fail(line, "second responses line");
            responsesLine = line;
            for (std::size_t i = 1; i < words.size(); ++i) {
                needToken(line, words[i]);
                if (!responses.insert(words[i]).second) Fail(line, words[i] + " stands twice in the list");
            }
        } else if (head == "conditions") {
            if (conditionsLine) Fail(line, "second conditions line");
            conditionsLine = line;
            std::set<std::string> seen;
            for (std::size_t i = 1; i < words.size(); ++i) {
                needToken(line, words[i]);
                if (!seen.insert(words[i]).second) Fail(line, words[i] + " stands twice in the list");
                conditions.push_back(words[i]);
            }
        } else {
            Fail(line, "unknown line '" + head + "'");
        }
    }
    if (!totalsLine) Fail(1, "no %totals line");

    // Argument slots: one for a keyword that takes an argument in some list,
    // none for one that is only ever bare; and a keyword with an argument in
    // one list only.
    std::map<std::string, int> withArgument;  // keyword -> the line of its list
    std::set<std::string> codes;
    int optionRules = 0;
    for (const OptionList& l : optionLists) {
        for (const std::string& kw : l.keywords) {
            ++optionRules;
            codes.insert(kw);
            if (l.symbol == "-") continue;
            if (!withArgument.emplace(kw, l.line).second)
                Fail(l.line, kw + " takes an argument in two lists");
        }
    }
    for (const OptionList& l : optionLists) {
        for (const std::string& kw : l.keywords) {
            const int want = withArgument.count(kw) ? 1 : 0;
            const int have = catalogue.at("CS_CL_" + kw).argCount;
            if (have != want)
                Fail(l.line, "CS_CL_" + kw + " has " + std::to_string(have) + " argument slots in the catalogue, not " +
                                 std::to_string(want));
        }
    }
    for (const std::string& kw : responses)
        if (!codes.count(kw)) Fail(responsesLine, kw + " is in no options list");

    const std::map<std::string, int> counted = {{"commands", static_cast<int>(commands.size())},
                                                {"option_rules", optionRules},
                                                {"option_codes", static_cast<int>(codes.size())},
                                                {"conditions", static_cast<int>(conditions.size())}};
    for (const auto& [name, value] : totals) {
        auto it = counted.find(name);
        if (it == counted.end()) Fail(totalsLine, "unknown total '" + name + "'");
        if (it->second != value)
            Fail(totalsLine, "the file has " + std::to_string(it->second) + " " + name + ", the totals line says " +
                                 std::to_string(value));
    }
    for (const auto& [name, value] : counted)
        if (!totals.count(name)) Fail(totalsLine, "the totals line does not count " + name);

    std::ostringstream out;
    out << "/* Generated from grammar/cics_rules.def by generators/gen_cics_grammar.cpp. Do not edit. */\n\n";
    out << "/* ---- CICS command heads ------------------------------------------------------\n"
           " * keywords null_marker\n"
           " * cics_command: the CS_STMT_ statement node (slot 0: the marker's null node) */\n";
    out << "cics_command\n";
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const Command& c = commands[i];
        out << (i ? "    | " : "    : ");
        for (const std::string& kw : c.keywords) out << "CTK_" << kw << ' ';
        out << "null_marker";
        const std::size_t marker = c.keywords.size() + 1;
        out << "\n        { $$ = DovCicsCommand(CS_STMT_" << c.statement << ", $" << marker << "); }\n";
    }
    out << "    ;\n\n";

    out << "/* ---- CICS options ------------------------------------------------------------\n"
           " * keyword | keyword ( argument )\n"
           " * cics_option: the CS_CL_ option node, handed to the CICS holder            */\n";
    // The option rules of the keywords `response` says (true) or of the others.
    auto writeOptionRules = [&](bool response) {
        bool first = true;
        for (const OptionList& l : optionLists) {
            for (const std::string& kw : l.keywords) {
                if (responses.count(kw) != (response ? 1u : 0u)) continue;
                out << (first ? "    : " : "    | ");
                first = false;
                if (l.symbol == "-") {
                    out << "CTK_" << kw << "\n        { $$ = DovCicsBareOption(YYREDUCTION, CS_CL_" << kw << "); }\n";
                } else {
                    out << "CTK_" << kw << " SEP_LEFT_PAR " << l.symbol << " SEP_RIGHT_PAR\n"
                        << "        { $$ = DovCicsOption(YYREDUCTION, CS_CL_" << kw << ", $3); }\n";
                }
            }
        }
    };
    out << "cics_option\n";
    writeOptionRules(false);
    if (!responses.empty()) out << "    | cics_response_option\n";
    out << "    | error\n        { $$ = DovCicsErrorOption(YYREDUCTION); }\n";
    out << "    ;\n\n";
    if (!responses.empty()) {
        out << "/* ---- CICS response options ---------------------------------------------------\n"
               " * the options every command takes, also among the items of ASSIGN, HANDLE\n"
               " * and IGNORE\n"
               " * cics_response_option: the CS_CL_ option node, handed to the CICS holder   */\n";
        out << "cics_response_option\n";
        writeOptionRules(true);
        out << "    ;\n\n";
    }

    out << "/* ---- CICS condition names ----------------------------------------------------\n"
           " * a condition keyword or a user-defined word\n"
           " * cics_condition_name: CHAR_STRING of the word                              */\n";
    out << "cics_condition_name\n";
    for (std::size_t i = 0; i < conditions.size(); ++i)
        out << (i ? "    | " : "    : ") << "CTK_" << conditions[i] << "\n        { $$ = DovCicsConditionWord(\""
            << conditions[i] << "\"); }\n";
    out << "    | TK_USER_DEFD_WORD\n        { $$ = DovCicsConditionUserWord($1); }\n";
    out << "    ;\n";

    const std::string tmp = outPath + ".tmp";
    {
        std::ofstream o(tmp, std::ios::binary | std::ios::trunc);
        o << out.str();
        if (!o) {
            std::cerr << "gen_cics_grammar: cannot write " << tmp << '\n';
            return 1;
        }
    }
    if (std::rename(tmp.c_str(), outPath.c_str()) != 0) {
        std::cerr << "gen_cics_grammar: cannot rename " << tmp << '\n';
        return 1;
    }
    return 0;
}
