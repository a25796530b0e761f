// The grammar's value and position cells, shared by the grammar frame, which
// carries them on its stacks, and by the parser services, which fill them
// (the token adapter), hand their tokens on (the position reduction) and
// release them (the error hooks).
#pragma once

#include <cstdint>

#include "tree/expr.h"
#include "tree/token.h"

// A semantic value: a node pointer, null, or a small integer that is no node
// (a token code, an operation code, a flag). It is as wide as a pointer, so a
// node never loses bits on its way through the stacks. The generated parser
// code tests `#ifndef YYSTYPE`, hence the macro naming the type itself.
using YYSTYPE = std::intptr_t;
#define YYSTYPE YYSTYPE

// A position: the heap token list of the tokens a grammar symbol covers, or
// null.
using YYPOSN = DovTokenList*;

// Values up to this one are never taken for nodes.
inline constexpr YYSTYPE kDovLastNonNodeValue = 1400;

inline bool DovValueIsNode(YYSTYPE value) {
    return static_cast<std::uintptr_t>(value) > static_cast<std::uintptr_t>(kDovLastNonNodeValue);
}
// The node a value holds, or null for a value that is no node.
inline DovExpr* DovValueNode(YYSTYPE value) {
    return DovValueIsNode(value) ? reinterpret_cast<DovExpr*>(value) : nullptr;
}
inline YYSTYPE DovNodeValue(DovExpr* node) { return reinterpret_cast<YYSTYPE>(node); }

// The value and position of the token just read: written by the token
// source, read by the grammar frame's lexeme queue.
extern YYSTYPE yylval;
extern YYPOSN yyposn;
