// A working parser for tests of the parser services that the grammar actions
// call: the parser is registered as WorkingParser with a message list of its
// own, and nodes are built by hand as the actions build them.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "parser/parser.h"
#include "tree/tree.h"

namespace vemlo_test {

class ParserServicesTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The texts of the message list (warnings and errors) and of the other
    // levels that reached the message callback, in order, as "E:text",
    // "W:text", "S:text" (severe) or "T:text" (terminal).
    std::vector<std::string> Messages() const;
    void ClearMessages();

    DovParserImpl parser;
    DovTokenList messages;

private:
    DovParserImpl* saved_ = nullptr;
};

// A word token at line/column of file 1.
DovToken* Tok(const char* image, int line = 1, int column = 0, int code = TK_USER_DEFD_WORD);
// A CHAR_STRING leaf holding one word token of its image.
DovExpr* Leaf(const char* image, int line = 1, int column = 0);
// An INT_NUM_CONST leaf of the image, holding its token.
DovExpr* IntLeaf(const char* image, int line = 1, int column = 0);
// An operation node of `op` whose slot tokens hold a keyword token before
// slot 0 (when `keyword` is given) and whose slot 0 holds `child`.
DovExpr* Phrase(DovOper op, const char* keyword, DovExpr* child, int line = 1, int column = 0);

// The images of every token of a subtree in walk order, blank-separated.
std::string TokenImages(DovExpr* node);
// Compact shape: OPER or OPER(child,child,...) with "-" for an empty slot;
// terminal leaves as their image in quotes.
std::string Shape(const DovExpr* node);

}  // namespace vemlo_test
