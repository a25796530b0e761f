#include "tree/leaf.h"

#include <ostream>

#include "lbase/strutil.h"
#include "tree/literal.h"
#include "tree/walk.h"

namespace {


void PrintLabel(std::ostream& os, const char* label, const VString& text) {
    DovDumpIndent(os);
    os << label;
    if (!text.IsEmpty()) os << ' ' << text;
}

}  // namespace

// --- DovTokenString ------------------------------------------------------------

char DovTokenString::SetImage(const VString& image, VString*) {
    DovTextChanged(this, image);
    text_ = image;
    DovResetFromSrc(this);
    return 0;
}

void DovTokenString::SetValue(const VString& value) {
    DovTextChanged(this, value);
    text_ = value;
}

void DovTokenString::Print(std::ostream& os) const {
    PrintLabel(os, "TOKEN_STRING", text_);
    DovExpr::Print(os);
}

// --- DovIntNumConst ------------------------------------------------------------

DovIntNumConst::DovIntNumConst(long long value)
    : DovExpr(INT_NUM_CONST), image_(DovFormat("%lld", value)), value_(value) {}

VString DovIntNumConst::Value() const { return DovFormat("%lld", static_cast<long long>(value_)); }

char DovIntNumConst::SetImage(const VString& image, VString* error) {
    DovTextChanged(this, image);
    image_ = image;
    SetFlag(0);
    VString message;
    std::int64_t value = value_;
    int r = DovIntLiteralValue(image, value, message);
    if (r != 0) {
        if (error) *error = message;
        return static_cast<char>(r);
    }
    value_ = value;
    return 0;
}

void DovIntNumConst::SetValue(long long value) {
    VString text = DovFormat("%lld", value);
    DovTextChanged(this, text);
    value_ = value;
    image_ = text;
}

void DovIntNumConst::Print(std::ostream& os) const {
    DovDumpIndent(os);
    os << "INT_NUM_CONST image=" << image_ << " value=" << static_cast<long long>(value_);
    DovExpr::Print(os);
}

// --- DovRealNumConst -----------------------------------------------------------

char DovRealNumConst::SetImage(const VString& image, VString*) {
    DovTextChanged(this, image);
    image_ = image;
    DovResetFromSrc(this);
    return 0;
}

void DovRealNumConst::Print(std::ostream& os) const {
    PrintLabel(os, "REAL_NUM_CONST", image_);
    DovExpr::Print(os);
}

// --- DovStrConst ---------------------------------------------------------------

DovStrConst::DovStrConst(const VString& image) : DovExpr(STR_CONST), image_(image) {
    VString error;
    value_ = DovStringImageValue(image, error);
    if (!error.IsEmpty()) {
        image_ = error;
        value_ = error;
    }
}

VString DovStrConst::Value() const { return DovStringImage(value_); }

char DovStrConst::SetImage(const VString& image, VString* error) {
    DovTextChanged(this, image);
    image_ = image;
    VString message;
    value_ = DovStringImageValue(image, message);
    if (error) *error = message;
    if (!message.IsEmpty()) return '!';
    DovResetFromSrc(this);
    return 0;
}

void DovStrConst::SetValue(const VString& value) {
    VString image = DovStringImage(value);
    DovTextChanged(this, image);
    value_ = value;
    image_ = image;
}

void DovStrConst::PrettyPrintOper(int pass) {
    if (DovPrettyPrint.str_const) DovPrettyPrint.str_const(this, pass);
}

void DovStrConst::Print(std::ostream& os) const {
    PrintLabel(os, "STR_CONST", image_);
    DovExpr::Print(os);
}
