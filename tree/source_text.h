// COBOL-like text of value and reference expressions (literals, figurative
// constants, qualified and subscripted names, value ranges, simple
// arithmetic and concatenation), made without the pretty printer.
#pragma once

#include "lbase/vstring.h"

class DovExpr;

// The text of `expr`; a null pointer is allowed. Missing parts read
// "-[undefined]-", operations without a spelling here "-[unknown]-".
VString DovExprSourceText(const DovExpr* expr);
