#include "tests/grammar/cics_support.h"

#include <cctype>
#include <fstream>
#include <sstream>

namespace vemlo_cics_test {

std::string Wrapped(const std::string& source) {
    std::string out, line;
    std::istringstream words(source);
    for (std::string w; words >> w;) {
        if (!line.empty() && line.size() + 1 + w.size() > 56) {
            out += line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + w;
    }
    return out + line;
}

int TypedCicsStatements(DovExpr* root) {
    int n = 0;
    for (DovExpr* exec : vemlo_grammar_test::FindAll(root, STMT_EXEC_CICS)) {
        DovExpr* statement = exec->NumArgs() > 0 ? exec->Args(0) : nullptr;
        if (statement && statement->Oper() != STMT__SYNTAX_ERROR && statement->Oper() != NULL_NODE) ++n;
    }
    return n;
}

namespace {

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// The words of a text outside literals, upper case, with the parentheses as
// words of their own.
std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::string w;
    char quote = 0;
    for (char c : text) {
        if (quote) {
            w += c;
            if (c == quote) quote = 0;
            continue;
        }
        if (c == '\'' || c == '"') {
            quote = c;
            w += c;
            continue;
        }
        if (c == '(' || c == ')' || c == ',' || std::isspace(static_cast<unsigned char>(c))) {
            if (!w.empty()) words.push_back(Upper(w));
            w.clear();
            if (c == '(' || c == ')') words.push_back(std::string(1, c));
            continue;
        }
        w += c;
    }
    if (!w.empty()) words.push_back(Upper(w));
    // A period ends a sentence, not a word.
    for (std::string& word : words)
        if (word.size() > 1 && word.back() == '.' && word[0] != '\'' && word[0] != '"') word.pop_back();
    return words;
}

}  // namespace

std::vector<CicsBlock> CicsBlocksOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<std::pair<int, std::string>> lines;
    std::string text;
    for (int n = 1; std::getline(in, text); ++n) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (text.size() > 6 && (text[6] == '*' || text[6] == '/')) continue;
        lines.push_back({n, text.size() > 7 ? text.substr(7, 65) : std::string()});
    }
    std::vector<CicsBlock> blocks;
    bool open = false;
    CicsBlock current;
    for (const auto& [n, body] : lines) {
        const std::vector<std::string> words = Words(body);
        for (std::size_t i = 0; i < words.size(); ++i) {
            if (!open && words[i] == "EXEC" && i + 1 < words.size() && words[i + 1] == "CICS") {
                open = true;
                current = CicsBlock{};
                current.line = n;
            }
            if (open && words[i] == "END-EXEC") {
                open = false;
                current.text += body;
                blocks.push_back(current);
                break;
            }
        }
        if (open) current.text += body + "\n";
    }
    return blocks;
}

std::string CommandOf(const CicsBlock& block) {
    const std::vector<std::string> words = Words(block.text);
    std::size_t i = 0;
    while (i < words.size() && words[i] != "CICS") ++i;
    if (i + 1 >= words.size()) return "";
    const std::string first = words[i + 1];
    static const char* const kTwoWords[] = {"HANDLE", "IGNORE", "DELETEQ", "READQ", "WRITEQ", "BIF", "PUSH",
                                            "SEND",   "RECEIVE", "ADDRESS", "DEFINE", "QUERY", "GET", "DELETE",
                                            "SYNCPOINT"};
    for (const char* w : kTwoWords) {
        if (first != w || i + 2 >= words.size()) continue;
        const std::string second = words[i + 2];
        if (second == "(" || second == "END-EXEC") return first;
        return first + " " + second;
    }
    return first;
}

}  // namespace vemlo_cics_test
