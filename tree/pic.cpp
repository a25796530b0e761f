#include "tree/pic.h"

#include <string>
#include <vector>

#include "tree/named.h"
#include "tree/symtab.h"
#include "tree/token.h"

DovCalcValueExprFn DovCalcValueExpr = nullptr;

namespace {

// One symbol of a PIC string with its repeat count.
struct PicRun {
    char symbol;
    std::int64_t count;
};

// The value of a 78-level constant used as a repeat count: 0 and the value,
// or 'r' with the message.
int ConstantCount(const VString& name, const VString& pic, DovExpr* context, std::int64_t& count, VString& error) {
    if (!context) {
        error = DovFormat("Using 78-level constant in PIC string with no context: %s", pic.CStr());
        return DOV_PIC_BAD_CONSTANT;
    }
    DovExpr* table = SymTabForExpr(context);
    DovSymTabElt* elt = table ? SymTabFind(table, name) : nullptr;
    // The constant's value comes from its definition; the element's
    // references may start with uses of the name.
    DovExpr* def = nullptr;
    if (elt)
        for (const DovLink& l : elt->References())
            if (l.target && l.target->Oper() == NAMED_OBJ_DEF) {
                def = l.target;
                break;
            }
    if (!def) {
        error = DovFormat("78-level name used in PIC string is not defined: %s", pic.CStr());
        return DOV_PIC_BAD_CONSTANT;
    }
    DovExpr* value = DovCalcValueExpr ? DovCalcValueExpr(def) : nullptr;
    if (!value) {
        error = DovFormat("Cannot compute value of 78-level constant used in PIC string: %s", pic.CStr());
        return DOV_PIC_BAD_CONSTANT;
    }
    count = value->IntValue();
    delete value;
    if (count < 0) {
        error = DovFormat("Negative value of 78-level constant used in PIC string: %s", pic.CStr());
        return DOV_PIC_BAD_CONSTANT;
    }
    return DOV_PIC_OK;
}

// Splits `pic` into symbols with their counts; `total` is the length of the
// unrolled text.
int ParseRuns(const VString& pic, DovExpr* context, std::vector<PicRun>& runs, std::int64_t& total, VString& error) {
    runs.clear();
    total = 0;
    if (!pic.IsEmpty() && pic[0] == '(') {
        error = DovFormat("DovUnrollPicStr: PIC string starts with '(': %s", pic.CStr());
        return DOV_PIC_STARTS_WITH_PAREN;
    }
    const int len = pic.Len();
    for (int i = 0; i < len; ++i) {
        char c = pic[i];
        std::int64_t count = 1;
        if (i + 1 < len && pic[i + 1] == '(') {
            int close = i + 2;
            while (close < len && pic[close] != ')') ++close;
            if (close >= len) {
                error = DovFormat("PIC string repeater is not closed with ')': %s", pic.CStr());
                return DOV_PIC_UNCLOSED;
            }
            bool numeric = true;
            count = 0;
            for (int k = i + 2; k < close; ++k) {
                char d = pic[k];
                if (d < '0' || d > '9') {
                    numeric = false;
                    break;
                }
                // Held just above the bound instead of wrapping.
                if (count <= kDovPicMaxRepeat) count = count * 10 + (d - '0');
            }
            if (!numeric) {
                VString name = pic.SubStr(i + 2, close - i - 2);
                if (int r = ConstantCount(name, pic, context, count, error)) return r;
            }
            if (count > kDovPicMaxRepeat) {
                error = DovFormat("PIC string repeat count is too large: %s", pic.CStr());
                return DOV_PIC_TOO_LONG;
            }
            i = close;
        }
        if (count == 0) continue;
        runs.push_back({c, count});
        total += count;
        if (total > kDovPicMaxUnrolled) {
            error = DovFormat("PIC string is too long to unroll: %s", pic.CStr());
            return DOV_PIC_TOO_LONG;
        }
    }
    return DOV_PIC_OK;
}

VString Unroll(const std::vector<PicRun>& runs, std::int64_t total) {
    std::string text;
    text.reserve(static_cast<std::size_t>(total));
    for (const PicRun& r : runs) text.append(static_cast<std::size_t>(r.count), r.symbol);
    return VString(text.data(), static_cast<int>(text.size()));
}

bool In(char c, const char* set) {
    for (; *set; ++set)
        if (*set == c) return true;
    return false;
}

bool OnlyIn(const std::vector<PicRun>& runs, const char* set) {
    for (const PicRun& r : runs)
        if (!In(r.symbol, set)) return false;
    return true;
}

bool Holds(const std::vector<PicRun>& runs, const char* set) {
    for (const PicRun& r : runs)
        if (In(r.symbol, set)) return true;
    return false;
}

std::int64_t CountIn(const std::vector<PicRun>& runs, const char* set) {
    std::int64_t n = 0;
    for (const PicRun& r : runs)
        if (In(r.symbol, set)) n += r.count;
    return n;
}

}  // namespace

int DovUnrollPicStr(const VString& pic, VString& unrolled, DovExpr* context, VString& error) {
    unrolled = VString();
    std::vector<PicRun> runs;
    std::int64_t total = 0;
    if (int r = ParseRuns(pic, context, runs, total, error)) return r;
    unrolled = Unroll(runs, total);
    return DOV_PIC_OK;
}

int DovUnrollPicStr(const VString& pic, VString& unrolled, VString& error) {
    return DovUnrollPicStr(pic, unrolled, nullptr, error);
}

int DovPicCategory(const VString& pic, VString& unrolled, int& category, int& size, int& digits, DovExpr* context,
                   VString& error, const DovPicSymbols& symbols) {
    category = NULL_NODE;
    unrolled = VString();
    std::vector<PicRun> runs;
    std::int64_t total = 0;
    if (int r = ParseRuns(pic, context, runs, total, error)) return r;
    unrolled = Unroll(runs, total);

    // The program's currency symbol and decimal point take their places in
    // the edited and floating-point sets.
    const std::string currency(1, symbols.currency);
    const std::string point = symbols.decimalComma ? "," : ".";
    const std::string numEdited = "B/PVZ09,.*+-CRDB" + currency;
    const std::string numEditedCounted = "B/Z09,.*+-CRDB" + currency;
    const std::string extFloat = "+-E9" + point + "V";
    const std::string extFloatCounted = "+-E9" + point;

    // Size and digits come from the counted form; the bound on the unrolled
    // length keeps them within an int.
    std::int64_t n = total;
    digits = static_cast<int>(CountIn(runs, "9"));
    if (OnlyIn(runs, "AB")) {
        category = PIC_ALPHA;
    } else if (OnlyIn(runs, "9PSV")) {
        category = PIC_NUM;
        n = CountIn(runs, "9");
    } else if (OnlyIn(runs, "AX9")) {
        category = PIC_ALPHA_NUM;
    } else if (OnlyIn(runs, "AX9B0/") && Holds(runs, "AX") && Holds(runs, "B0/")) {
        // At least one A or X with at least one insertion character; A and
        // B alone were taken as alphabetic above.
        category = PIC_ALPHA_NUM_EDITED;
    } else if (OnlyIn(runs, numEdited.c_str())) {
        category = PIC_NUM_EDITED;
        n = CountIn(runs, numEditedCounted.c_str());
    } else if (OnlyIn(runs, extFloat.c_str())) {
        category = PIC_EXT_FLOAT;
        n = CountIn(runs, extFloatCounted.c_str());
    } else if (OnlyIn(runs, "1")) {
        category = PIC_BIT;
    } else if (OnlyIn(runs, "N") || OnlyIn(runs, "G")) {
        category = PIC_NATIONAL;
        n = 2 * total;
    } else if (OnlyIn(runs, "NB0/") || OnlyIn(runs, "GB")) {
        category = PIC_NATIONAL_EDITED;
        n = 2 * total;
    }
    size = static_cast<int>(n);
    if (category == NULL_NODE) {
        error = DovFormat("Cannot determine category for PIC string: %s", pic.CStr());
        return DOV_PIC_NO_CATEGORY;
    }
    return DOV_PIC_OK;
}

int DovPicCategory(const VString& pic, VString& unrolled, int& category, int& size, int& digits, DovExpr* context,
                   VString& error) {
    return DovPicCategory(pic, unrolled, category, size, digits, context, error, DovPicSymbols());
}

int DovPicCategoryMsg(const VString& pic, int& size, DovTokenList* messages) {
    VString unrolled;
    VString error;
    int category = NULL_NODE;
    int digits = 0;
    size = 0;
    int r = DovPicCategory(pic, unrolled, category, size, digits, nullptr, error);
    if (r != 0 && r != DOV_PIC_BAD_CONSTANT && messages) messages->AddNewToken(MSG_ERR, DovNullPosn, error);
    return r == 0 ? category : NULL_NODE;
}
