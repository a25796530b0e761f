#include "tests/tools/lexdump.h"

#include <cstring>
#include <memory>
#include <ostream>

#include "tree/expr.h"

namespace vemlo_tools {

namespace {

// The message callback has no context: messages of the one lexer at work
// go here.
std::vector<LexDumpMessage>* collected = nullptr;

void Collect(int severity, const DovTxtPosn& posn, const VString& text) {
    if (collected) collected->push_back({severity, posn, std::string(text.CStr(), text.Len())});
}

const char* Prefix(int severity) {
    switch (severity) {
        case MSG_WARN: return "Warning: ";
        case MSG_ERR: return "ERROR: ";
        case MSG_SEVERE: return "SEVERE ERROR: ";
        case MSG_TERMINAL: return "Terminal ERROR: ";
        default: return "";
    }
}

void SetArray(VStringArray& array, const std::vector<std::string>& items) {
    array = VStringArray(static_cast<int>(items.size()) + 1);
    for (const std::string& item : items) array.items[array.count++] = item.c_str();
}

// A runaway lexer must not hang a test run.
constexpr long long kMaxTokens = 100000000;

}  // namespace

LexDumpResult LexDump(const std::string& file, const LexDumpSettings& settings, std::ostream* out) {
    LexDumpResult result;
    collected = &result.messages;
    {
        DovLexer lexer(Collect, nullptr, nullptr, nullptr, nullptr);
        lexer.dials = settings.dials;
        if (lexer.dials == DovNoDials()) DovDialsAdd(lexer.dials, DIAL_ANSI85);
        lexer.sqlSwitch = 1;
        lexer.cicsSwitch = 1;
        if (!settings.copyDirs.empty()) SetArray(lexer.copyDirs, settings.copyDirs);
        if (!settings.copySuffixes.empty()) SetArray(lexer.copySuffixes, settings.copySuffixes);
        lexer.Reset();
        if (lexer.SetInput(file.c_str()) == 0) {
            int before = 0, beforeThat = 0;  // the codes of the two tokens before
            while (result.tokens < kMaxTokens) {
                std::unique_ptr<DovTokenItem> item(lexer.GetToken());
                const DovToken& token = *item->token;
                ++result.tokens;
                result.lastCode = token.code;
                delete lexer.TakeMarkerNode(token.code);
                // What the grammar's actions tell the lexer.
                if (token.code == RW_COMMA &&
                    (before == RW_DECIMAL_POINT || (before == RW_IS && beforeThat == RW_DECIMAL_POINT)))
                    lexer.decimalPoint = ',';
                if (token.code == RW_MODE && before == RW_DEBUGGING) lexer.debuggingLines = 1;
                beforeThat = before;
                before = token.code;
                if (out) {
                    const char* name = DovTokenName(token.code);
                    const DovTxtPosn& at = token.Beg();
                    *out << at.Line() << ':' << (at.IsNull() ? 0 : at.Column() + 1) << ' ' << token.code << ' '
                         << (name ? name : "?") << ' ' << token.image << '\n';
                }
                if (token.code == SEP_EOF) break;
            }
            if (result.lastCode != SEP_EOF)
                Collect(MSG_SEVERE, DovNullPosn, "lexdump: the lexer did not reach the end of the file");
            result.lines = lexer.linesRead;
            lexer.CloseInput();
        }
    }
    collected = nullptr;
    for (const LexDumpMessage& m : result.messages) {
        if (m.severity > result.worst) result.worst = m.severity;
        if (!out) continue;
        if (m.posn.IsSet()) *out << DovTxtPosnStr(m.posn) << ": ";
        *out << Prefix(m.severity) << m.text << '\n';
    }
    return result;
}

int LexDumpMain(int argc, char** argv, std::ostream& out, std::ostream& err) {
    LexDumpSettings settings;
    std::string file;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("-lang=", 0) == 0) {
            std::string names = arg.substr(6) + ",";
            for (std::size_t from = 0, comma; (comma = names.find(',', from)) != std::string::npos; from = comma + 1) {
                const std::string name = names.substr(from, comma - from);
                int found = 0;
                for (int d = 1; d <= kDovDialectCount; ++d)
                    if (DovDialectNames[d] == name.c_str()) found = d;
                if (!found) {
                    err << "lexdump: unknown dialect '" << name << "'\n";
                    return 2;
                }
                DovDialsAdd(settings.dials, found);
            }
        } else if (arg.rfind("-copylib-dir=", 0) == 0) {
            settings.copyDirs.push_back(arg.substr(13));
        } else if (arg.rfind("-copylib-sfx=", 0) == 0) {
            settings.copySuffixes.push_back(arg.substr(13));
        } else if (!arg.empty() && arg[0] != '-' && file.empty()) {
            file = arg;
        } else {
            err << "lexdump: unexpected argument '" << arg << "'\n";
            file.clear();
            break;
        }
    }
    if (file.empty()) {
        err << "usage: lexdump [-lang=DIALECT[,DIALECT...]] [-copylib-dir=DIR ...] [-copylib-sfx=SUFFIX ...] FILE\n";
        return 2;
    }
    const LexDumpResult result = LexDump(file, settings, &out);
    return result.worst >= MSG_ERR ? 1 : 0;
}

}  // namespace vemlo_tools
