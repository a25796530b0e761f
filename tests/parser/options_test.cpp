// The parser options: defaults, copies and the dialect defaults.
#include <gtest/gtest.h>

#include "parser/parser.h"

namespace {

TEST(ParserOptions, Defaults) {
    DovParserImpl parser;
    EXPECT_EQ(parser.primaryDialect, DIAL_MF);
    EXPECT_EQ(parser.copyDirs.count, 1);
    EXPECT_EQ(parser.copySuffixes.count, 1);
}

}  // namespace
