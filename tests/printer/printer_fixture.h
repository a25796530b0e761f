// Helpers for the printer tests: a print pass into a string stream, tokens
// placed at given columns, and a working parser that collects the messages
// of the slot-position pass.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "parser/parser_impl.h"
#include "printer/printer.h"
#include "tree/tree.h"

namespace vemlo_test {

// A print pass of `printer` writing into a string stream at level 1, with
// the columns of the printer's line format, as the main pass sets it up.
// Ends the pass and resets the print state at its end.
class PrintPass {
public:
    explicit PrintPass(DovPrettyPrinterImpl& printer);
    ~PrintPass();
    PrintPass(const PrintPass&) = delete;
    PrintPass& operator=(const PrintPass&) = delete;

    std::string Text() const { return out_.str(); }
    // The output cut into lines (without their line ends).
    std::vector<std::string> Lines() const;
    DovTokenList& Messages() { return messages_; }
    std::vector<std::string> MessageTexts() const;

private:
    std::ostringstream out_;
    DovTokenList messages_;
};

// Resets the process's print state to its start.
void ResetPrintState();

// A token of `code` from line/column `col` to line/column `endCol` of file
// `file` (0-based columns).
DovToken* Tok(int code, const char* image, int line, int col, int endCol, int file = 1);
// A word token.
inline DovToken* W(const char* image, int line, int col, int endCol, int file = 1) {
    return Tok(TK_USER_DEFD_WORD, image, line, col, endCol, file);
}
// A leaf carrying one word token at line/column..endCol.
DovExpr* Leaf(const char* image, int line, int col, int endCol, int file = 1);
// Appends a token to a slot's or a node's list.
void Add(DovTokenList& list, DovToken* token);

// While it lives, a DovParserImpl is the working parser and its messages go
// to Messages().
class WorkingParserScope {
public:
    WorkingParserScope();
    ~WorkingParserScope();
    WorkingParserScope(const WorkingParserScope&) = delete;
    WorkingParserScope& operator=(const WorkingParserScope&) = delete;

    DovParserImpl& Parser() { return parser_; }
    DovTokenList& Messages() { return messages_; }
    std::vector<std::string> Texts() const;

private:
    DovParserImpl parser_;
    DovTokenList messages_;
};

// The texts of a message list, one a line.
std::string Texts(const DovTokenList& messages);

// A parser set up with `options` (parser options as on a command line).
class OptionParser {
public:
    explicit OptionParser(const std::vector<std::string>& options);
    bool Ok() const { return ok_; }
    // The tree of `file` (null when it has none); the messages go to
    // `messages`.
    DovExpr* Parse(const std::filesystem::path& file, DovTokenList& messages);

private:
    DovParserImpl parser_;
    bool ok_ = false;
};

// Position shorthand (file 1).
inline DovTxtPosn P(int line, int col, int file = 1) {
    return DovTxtPosn(static_cast<std::uint32_t>(line), static_cast<std::uint32_t>(col),
                      static_cast<std::uint32_t>(file));
}

}  // namespace vemlo_test
