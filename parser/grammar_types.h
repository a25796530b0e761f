// The grammar's value and position cells, as the parser services see them.
//
// A value (YYSTYPE) is one machine word: a node pointer, null, or a small
// integer that is no node (a token code, an operation code, a flag). Values
// up to kDovMaxNonNodeValue are never taken for nodes. A position (YYPOSN) is
// a heap token list of the tokens a grammar symbol covers, or null.
#pragma once

#include <cstdint>

#include "tree/expr.h"
#include "tree/token.h"

using YYSTYPE = DovExpr*;
using YYPOSN = DovTokenList*;

// Values up to this are integers, not nodes.
constexpr std::uintptr_t kDovMaxNonNodeValue = 1400;

// Whether a value cell holds a node.
inline bool DovValueIsNode(YYSTYPE value) {
    return reinterpret_cast<std::uintptr_t>(value) > kDovMaxNonNodeValue;
}
// The node of a value cell, or null when it holds none.
inline DovExpr* DovValueNode(YYSTYPE value) { return DovValueIsNode(value) ? value : nullptr; }
// A small integer as a value, and back.
inline YYSTYPE DovIntToValue(int n) { return reinterpret_cast<YYSTYPE>(static_cast<std::uintptr_t>(n)); }
inline int DovValueToInt(YYSTYPE value) { return static_cast<int>(reinterpret_cast<std::uintptr_t>(value)); }

// The lookahead's value and position, set by the token adapter (yylex) and
// read by the grammar. Defined with the token adapter.
extern YYSTYPE yylval;
extern YYPOSN yyposn;
