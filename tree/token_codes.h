// Token codes of the lexer and the grammar (generated from tree/tokens.def)
// and the table of their names.
#pragma once

#include "generated/tree/token_codes.h"

// Code 0: the end of the input. Codes 1 to 255 are single characters.
inline constexpr int LEX_EOF = 0;

// One name per code from kDovFirstTokenCode to kDovLastTokenCode (index
// code - kDovFirstTokenCode), then a null entry.
extern const char* const DovTokenNames[];

// The name of a token code, or null for a code outside the table.
const char* DovTokenName(int code);
