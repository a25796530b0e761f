// PICTURE character strings: unrolling repeaters such as X(3) and finding
// the category, size and digit count of a PIC string.
#pragma once

#include <cstdint>

#include "lbase/vstring.h"

class DovExpr;
class DovTokenList;

// Result characters of the unroll (and of DovPicCategory).
enum : int {
    DOV_PIC_OK = 0,
    DOV_PIC_STARTS_WITH_PAREN = '#',  // the PIC string starts with '('
    DOV_PIC_UNCLOSED = '"',           // a repeater is not closed with ')'
    DOV_PIC_BAD_CONSTANT = 'r',       // a 78-level repeat count that cannot be used
    DOV_PIC_TOO_LONG = 'L',           // a repeat count or the unrolled text is too large
    DOV_PIC_NO_CATEGORY = 36,         // no category fits
};

// A repeat count is read in 64 bits; one above this is refused.
constexpr std::int64_t kDovPicMaxRepeat = 999999999;
// Longest unrolled text made; a PIC string that would unroll to more is
// refused with a message instead of exhausting memory.
constexpr std::int64_t kDovPicMaxUnrolled = 16 * 1024 * 1024;

// The parser's evaluator of constant expressions: a new INT_NUM_CONST node
// holding the value of the expression `node` stands for, owned by the
// caller, or null when no value can be computed. The parser library
// installs it; while it is null no 78-level constant can be evaluated.
using DovCalcValueExprFn = DovExpr* (*)(DovExpr* node);
extern DovCalcValueExprFn DovCalcValueExpr;

// Unrolls the repeaters of `pic` into `unrolled` (empty on failure). A
// repeat count that is not a number names a 78-level constant, looked up in
// the symbol table of the COBOL program around `context`.
int DovUnrollPicStr(const VString& pic, VString& unrolled, DovExpr* context, VString& error);
// The same without a context: a named repeat count gives 'r'.
int DovUnrollPicStr(const VString& pic, VString& unrolled, VString& error);

// The program's own PICTURE symbols, from its SPECIAL-NAMES paragraph: the
// currency symbol (CURRENCY SIGN IS literal; the declared character takes
// the place of '$') and DECIMAL-POINT IS COMMA (',' and '.' change roles).
struct DovPicSymbols {
    char currency = '$';
    bool decimalComma = false;
};

// Category (a PIC_ operation code, 1 when none fits), size in characters
// and number of '9' positions of `pic`. Returns 0, a result character of
// the unroll, or 36 when no category fits.
int DovPicCategory(const VString& pic, VString& unrolled, int& category, int& size, int& digits, DovExpr* context,
                   VString& error, const DovPicSymbols& symbols);
// The same with the default symbols ('$', decimal point '.').
int DovPicCategory(const VString& pic, VString& unrolled, int& category, int& size, int& digits, DovExpr* context,
                   VString& error);

// DovPicCategory without a context; a failure other than 'r' is appended to
// `messages` (when given) as an MSG_ERR token. Returns the category.
int DovPicCategoryMsg(const VString& pic, int& size, DovTokenList* messages);
