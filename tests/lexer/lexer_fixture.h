// A lexer wired to a message recorder, with helpers that run the line reader
// over a source text.
#pragma once

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

    TempDir dir;
    DovLexer lexer;
};

}  // namespace vemlo_test
