#include "tests/grammar/sql_support.h"

#include <sstream>

#include "grammar/grammar.h"
#include "lbase/cmdline.h"
#include "tree/oper.h"

namespace vemlo_test {

namespace {

void Collect(DovExpr* node, DovOper op, std::vector<DovExpr*>& out) {
    if (!node) return;
    if (node->Oper() == op) out.push_back(node);
    for (int i = 0; i < node->NumArgs(); ++i) Collect(node->Args(i), op, out);
}

void AddTokens(const DovTokenList& list, std::vector<std::string>& out) {
    for (const DovToken* t : list) out.push_back(DovTokenText(*t).CStr());
}

void CollectTokens(const DovExpr* node, std::vector<std::string>& out) {
    if (!node) return;
    for (int i = 0; i < node->NumArgs(); ++i) {
        if (const DovArgSlot* slot = node->ArgSlots(i)) AddTokens(slot->tokens, out);
        CollectTokens(node->Args(i), out);
    }
    AddTokens(node->Tokens(), out);
}

}  // namespace

SqlParse::SqlParse(const std::string& source) { Run(dir_.Write("p.cbl", source)); }

SqlParse::SqlParse(const std::string& path, const std::vector<std::string>& options) {
    const DovCommandLineFlagTable& table = *parser_.DefineOptions(kDovParserOptionGroups);
    std::vector<const char*> words;
    for (const std::string& o : options) words.push_back(o.c_str());
    VStringList files, problems;
    EXPECT_EQ(SetCLFlag(table, 0, static_cast<int>(words.size()), words.data(), files, problems), 0);
    Run(path);
}

void SqlParse::Run(const std::string& path) {
    DovInstallGrammar();
    VString error;
    EXPECT_EQ(parser_.ResolveDialectDefaults(error), 0) << error.CStr();
    status_ = parser_.Parse(path.c_str(), root_, &messages_);
}

SqlParse::~SqlParse() { delete root_; }

std::string SqlParse::Program(const std::vector<std::string>& statements, const std::vector<std::string>& data) {
    std::string text =
        "       IDENTIFICATION DIVISION.\n"
        "       PROGRAM-ID. T.\n"
        "       DATA DIVISION.\n"
        "       WORKING-STORAGE SECTION.\n";
    for (const std::string& line : data) text += "       " + line + "\n";
    text += "       PROCEDURE DIVISION.\n       P0.\n";
    for (const std::string& line : statements) text += "           " + line + "\n";
    text += "           STOP RUN.\n";
    return text;
}

std::vector<std::string> SqlParse::Errors() const {
    std::vector<std::string> out;
    for (const DovToken* t : messages_)
        if (t->code == MSG_ERR) out.push_back(t->image.CStr());
    return out;
}

std::vector<const DovToken*> SqlParse::ErrorTokens() const {
    std::vector<const DovToken*> out;
    for (const DovToken* t : messages_)
        if (t->code == MSG_ERR) out.push_back(t);
    return out;
}

int SqlParse::SyntaxErrors() const {
    int n = 0;
    for (const std::string& e : Errors())
        if (e.rfind("syntax error", 0) == 0) ++n;
    return n;
}

std::vector<std::string> ExecSql(const std::string& sql) {
    std::vector<std::string> lines;
    std::string line = "EXEC SQL";
    std::istringstream words(sql);
    std::string word;
    while (words >> word) {
        if (line.size() + 1 + word.size() > 58) {
            lines.push_back(line);
            line = "  " + word;
        } else {
            line += " " + word;
        }
    }
    lines.push_back(line);
    lines.push_back("END-EXEC.");
    return lines;
}

std::vector<DovExpr*> FindAll(DovExpr* root, DovOper op) {
    std::vector<DovExpr*> out;
    Collect(root, op, out);
    return out;
}

DovExpr* FindFirst(DovExpr* root, DovOper op) {
    std::vector<DovExpr*> all = FindAll(root, op);
    return all.empty() ? nullptr : all.front();
}

std::string Shape(const DovExpr* node) {
    if (!node) return "-";
    if (node->Oper() == NULL_NODE) return "null";
    std::string out = DovOperName(node->Oper());
    if (node->NumArgs() == 0) {
        const VString& image = node->Image();
        const DovOper op = node->Oper();
        if (op == CHAR_STRING || op == INT_NUM_CONST || op == REAL_NUM_CONST || op == STR_CONST)
            return image.CStr();
        if (image.Len() > 0) out += std::string("[") + image.CStr() + "]";
        return out;
    }
    out += "(";
    for (int i = 0; i < node->NumArgs(); ++i) {
        if (i) out += ",";
        out += Shape(node->Args(i));
    }
    return out + ")";
}

std::vector<std::string> TreeTokens(const DovExpr* node) {
    std::vector<std::string> out;
    CollectTokens(node, out);
    return out;
}

}  // namespace vemlo_test
