// A lexer wired to a message recorder, with helpers that run the line reader
// over a source text.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "lexer/lexer_object.h"
#include "tests/lexer/temp_dir.h"

namespace vemlo_test {

struct RecordedMessage {
    int severity;
    DovTxtPosn posn;
    std::string text;
};

// What the line reader made of one line.
struct ReadLine {
    int code;
    std::uint32_t line;
    std::string text;
};

class LexerTest : public ::testing::Test {
protected:
    LexerTest() : lexer(&Record, nullptr, nullptr, nullptr, nullptr) { Messages().clear(); }

    static std::vector<RecordedMessage>& Messages() {
        static std::vector<RecordedMessage> messages;
        return messages;
    }
    static void Record(int severity, const DovTxtPosn& posn, const VString& text) {
        Messages().push_back({severity, posn, std::string(text.CStr(), text.Len())});
    }
    // The messages as "severity@line:text", one per entry.
    static std::vector<std::string> MessageTexts() {
        std::vector<std::string> out;
        for (const auto& m : Messages())
            out.push_back(std::to_string(m.severity) + "@" + std::to_string(m.posn.Line()) + ":" + m.text);
        return out;
    }

    // Writes `source`, resets the lexer and opens the file as the main level.
    bool Open(const std::string& source, const char* file = "src.cbl") {
        lexer.Reset();
        return lexer.SetInput(dir.Write(file, source).c_str()) == 0;
    }
    // Reads lines up to SEP_EOF; the SEP_EOF itself is not listed.
    std::vector<ReadLine> ReadLines() {
        std::vector<ReadLine> out;
        for (int guard = 0; guard < 1000000; ++guard) {
            int code = lexer.GetLine();
            if (code == SEP_EOF) break;
            out.push_back({code, lexer.current->posn.Line(), std::string(lexer.current->line, lexer.current->lineLen)});
        }
        return out;
    }
    std::vector<ReadLine> ReadAll(const std::string& source, const char* file = "src.cbl") {
        if (!Open(source, file)) return {};
        return ReadLines();
    }

    // A fixed-format line: sequence area, a blank indicator and `text` from
    // column 8 on; `indicator` replaces the blank.
    static std::string Fixed(const std::string& text, char indicator = ' ') {
        return std::string("000000") + indicator + text + "\n";
    }

public:
    // "NAME image" of a token; a character as 'c'.
    static std::string Describe(const DovToken* token) {
        if (!token) return "(null)";
        std::string out;
        if (token->code > 0 && token->code < 256) {
            out = std::string("'") + static_cast<char>(token->code) + "'";
        } else {
            const char* name = DovTokenName(token->code);
            out = name ? name : "#" + std::to_string(token->code);
        }
        if (!token->image.IsEmpty()) out += " " + std::string(token->image.CStr(), token->image.Len());
        return out;
    }
    // The codes of a kept list, by name.
    static std::vector<std::string> Kept(const DovTokenItem& item) {
        std::vector<std::string> out;
        for (const DovToken* t : item.list) out.push_back(Describe(t));
        return out;
    }

protected:
    using Layer = DovTokenItem* (DovLexer::*)();
    using ItemPtr = std::unique_ptr<DovTokenItem>;
    // Every item a layer gives up to SEP_EOF (not included; `eof` receives
    // it when asked for).
    std::vector<ItemPtr> Items(Layer layer, ItemPtr* eof = nullptr) {
        std::vector<ItemPtr> out;
        for (int guard = 0; guard < 100000; ++guard) {
            ItemPtr item((lexer.*layer)());
            if (item->token->code == SEP_EOF) {
                if (eof) *eof = std::move(item);
                break;
            }
            out.push_back(std::move(item));
        }
        return out;
    }
    std::vector<std::string> Words(Layer layer) {
        std::vector<std::string> out;
        for (const auto& item : Items(layer)) out.push_back(Describe(item->token));
        return out;
    }
    std::vector<std::string> Lex(const std::string& source, Layer layer) {
        if (!Open(source)) return {"(cannot open)"};
        return Words(layer);
    }

    TempDir dir;
    DovLexer lexer;
};

}  // namespace vemlo_test
