#include "tests/grammar/data_fixture.h"

#include <gtest/gtest.h>

#include <fstream>

#include "grammar/cobol_grammar.h"
#include "lbase/cmdline.h"
#include "parser/parser.h"
#include "tests/lexer/temp_dir.h"
#include "tree/named.h"
#include "tree/oper.h"
#include "tree/token.h"

namespace vemlo_test {

DataParse::DataParse(DataParse&& other) noexcept
    : root(other.root), status(other.status), messages(std::move(other.messages)) {
    other.root = nullptr;
}

DataParse::~DataParse() { delete root; }

DovExpr* DataParse::Program(int n) const {
    DovExpr* list = root ? DovArgOrNull(root, 0) : nullptr;
    return list && n < list->NumArgs() ? list->Args(n) : nullptr;
}

bool DataParse::Said(const std::string& text) const {
    for (const std::string& m : messages)
        if (m.find(text) != std::string::npos) return true;
    return false;
}

int DataParse::SyntaxErrors() const {
    int n = 0;
    for (const std::string& m : messages)
        if (m.find("syntax error") != std::string::npos) ++n;
    return n;
}

DataParse ParseCobol(const std::vector<std::string>& lines, const std::vector<std::string>& options) {
    static const bool installed = (DovInstallGrammar(), true);
    (void)installed;
    TempDir dir;
    const std::string path = dir.Path("prog.cbl");
    {
        std::ofstream out(path);
        int n = 1;
        for (const std::string& line : lines) {
            char seq[8];
            std::snprintf(seq, sizeof seq, "%06d", n++ * 100 % 1000000);
            // "D ..." and "* ..." carry their indicator in column 7.
            if (line.size() >= 2 && (line[0] == 'D' || line[0] == '*') && line[1] == ' ')
                out << seq << line << '\n';
            else
                out << seq << ' ' << line << '\n';
        }
    }
    DovParserImpl parser;
    const DovCommandLineFlagTable& table = *parser.DefineOptions(kDovParserOptionGroups);
    std::vector<const char*> words;
    for (const std::string& o : options) words.push_back(o.c_str());
    VStringList rest, problems;
    EXPECT_EQ(SetCLFlag(table, 0, static_cast<int>(words.size()), words.data(), rest, problems), 0);
    VString error;
    EXPECT_EQ(parser.ResolveDialectDefaults(error), 0) << error.CStr();
    DataParse result;
    DovTokenList messages;
    result.status = parser.Parse(path.c_str(), result.root, &messages);
    for (const DovToken* t : messages) {
        std::string prefix = t->code == MSG_WARN ? "Warning: " : t->code == MSG_ERR ? "ERROR: " : "message: ";
        result.messages.push_back(prefix + t->image.CStr());
    }
    return result;
}

std::string Shape(const DovExpr* node) {
    if (!node) return "~";
    const int op = node->Oper();
    if (op == NULL_NODE) return "~";
    if (op == NAMED_OBJ_DEF) return "def:" + std::string(node->Image().CStr());
    if (op == NAMED_OBJ_USE) {
        const DovExpr* q = DovArgOrNull(node, 0);
        const DovExpr* first = q ? DovArgOrNull(q, 0) : nullptr;
        return "use:" + std::string(first ? first->Image().CStr() : "?");
    }
    if (node->IsTerminal()) return node->Image().CStr();
    std::string out = DovOperName(static_cast<DovOper>(op));
    int last = node->NumArgs() - 1;
    while (last >= 0 && Shape(node->Args(last)) == "~") --last;
    if (last < 0) return out;
    out += "(";
    for (int i = 0; i <= last; ++i) {
        if (i) out += ",";
        out += Shape(node->Args(i));
    }
    return out + ")";
}

DovExpr* FindOper(DovExpr* node, int op) {
    if (!node) return nullptr;
    if (node->Oper() == op) return node;
    for (int i = 0; i < node->NumArgs(); ++i)
        if (DovExpr* found = FindOper(node->Args(i), op)) return found;
    return nullptr;
}

int CountOper(const DovExpr* node, int op) {
    if (!node) return 0;
    int n = node->Oper() == op ? 1 : 0;
    for (int i = 0; i < node->NumArgs(); ++i) n += CountOper(node->Args(i), op);
    return n;
}

}  // namespace vemlo_test
