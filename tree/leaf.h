// Leaf nodes that carry text or a number: token strings, integer, real and
// string constants. (The null node and the character string are in
// tree/expr.h.)
#pragma once

#include <cstdint>

#include "tree/expr.h"

// The text of one source token that the parser kept as it was (TOKEN_STRING).
class DovTokenString : public DovExpr {
public:
    explicit DovTokenString(const VString& text = VString()) : DovExpr(TOKEN_STRING), text_(text) {}
    DovTokenString(const DovTokenString& other) : DovExpr(other), text_(other.text_) {}
    DovExpr* Copy() const override { return new DovTokenString(*this); }
    int IsTerminal() const override { return 1; }
    const VString& Image() const override { return text_; }
    VString Value() const override { return text_; }
    char SetImage(const VString& image, VString* error = nullptr) override;
    using DovExpr::SetValue;
    void SetValue(const VString& value) override;
    void Print(std::ostream& os) const override;

private:
    VString text_;
};

// An integer literal (INT_NUM_CONST): the image as written and its value.
class DovIntNumConst : public DovExpr {
public:
    // Image "0", value 0.
    DovIntNumConst() : DovExpr(INT_NUM_CONST), image_("0") {}
    // Image: the value in decimal.
    explicit DovIntNumConst(long long value);
    DovIntNumConst(const VString& image, long long value) : DovExpr(INT_NUM_CONST), image_(image), value_(value) {}
    DovIntNumConst(const DovIntNumConst& other) : DovExpr(other), image_(other.image_), value_(other.value_) {}
    DovExpr* Copy() const override { return new DovIntNumConst(*this); }
    int IsTerminal() const override { return 1; }
    const VString& Image() const override { return image_; }
    // The value in decimal.
    VString Value() const override;
    long long IntValue() const override { return value_; }
    // Stores the image and reads the value from it: [+-]digits or H'hex'.
    // 33 with a message for any other image, which is stored all the same.
    char SetImage(const VString& image, VString* error = nullptr) override;
    // The value and its decimal image.
    using DovExpr::SetValue;
    void SetValue(long long value) override;
    void Print(std::ostream& os) const override;

private:
    VString image_;
    std::int64_t value_ = 0;
};

// A real literal (REAL_NUM_CONST), kept only as its text.
class DovRealNumConst : public DovExpr {
public:
    explicit DovRealNumConst(const VString& image = "0.0") : DovExpr(REAL_NUM_CONST), image_(image) {}
    DovRealNumConst(const DovRealNumConst& other) : DovExpr(other), image_(other.image_) {}
    DovExpr* Copy() const override { return new DovRealNumConst(*this); }
    int IsTerminal() const override { return 1; }
    const VString& Image() const override { return image_; }
    VString Value() const override { return image_; }
    char SetImage(const VString& image, VString* error = nullptr) override;
    void Print(std::ostream& os) const override;

private:
    VString image_;
};

// A nonnumeric literal (STR_CONST): the image as written, quotes and prefix
// included, and the characters it stands for.
class DovStrConst : public DovExpr {
public:
    // Image "''", empty value.
    DovStrConst() : DovExpr(STR_CONST), image_("''") {}
    // Decodes the image; a malformed one leaves its message as both image
    // and value.
    explicit DovStrConst(const VString& image);
    // Image and value stored as given.
    DovStrConst(const VString& image, const VString& value) : DovExpr(STR_CONST), image_(image), value_(value) {}
    DovStrConst(const DovStrConst& other) : DovExpr(other), image_(other.image_), value_(other.value_) {}
    DovExpr* Copy() const override { return new DovStrConst(*this); }
    int IsTerminal() const override { return 1; }
    const VString& Image() const override { return image_; }
    // The canonical image of the value (DovStringImage), not the stored one.
    VString Value() const override;
    // Stores the image and decodes it; 33 with the decoder's message for a
    // malformed image, which is stored all the same.
    char SetImage(const VString& image, VString* error = nullptr) override;
    // Stores the value and its canonical image.
    using DovExpr::SetValue;
    void SetValue(const VString& value) override;
    void PrettyPrintOper(int pass) override;
    void Print(std::ostream& os) const override;

    // The decoded characters.
    const VString& StrValue() const { return value_; }

private:
    VString image_;
    VString value_;
};
