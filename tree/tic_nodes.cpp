// The TIC text of the leaf and named node classes: the common header, then
// each class's own fields.
#include <istream>
#include <ostream>

#include "lbase/tic.h"
#include "tree/leaf.h"
#include "tree/literal.h"
#include "tree/named.h"

namespace {

// Link indexes go out as unsigned 32-bit numbers; the reader takes them
// back modulo 2^32, so "none" reads as -1.
void PutIndex(std::ostream& os, const DovLink& link) { os << static_cast<std::uint32_t>(link.index) << ':'; }

char GetIndex(std::istream& is, DovLink& link, VString& message) {
    long long v = 0;
    if (char r = GetTicIntNo(is, v, true, ':', message)) return r;
    link.target = nullptr;
    link.index = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    return TIC_OK;
}

char GetCategory(std::istream& is, DovNameCategory& category, VString& message) {
    int v = 0;
    if (char r = GetTicIntNo(is, v, false, ':', message)) return r;
    if (v > 255) {
        message = DovFormat("Name category %d is out of range", v);
        return TIC_BAD_INT;
    }
    category = static_cast<DovNameCategory>(v);
    return TIC_OK;
}

}  // namespace

void DovTokenString::PutTicNode(std::ostream& os) const {
    DovExpr::PutTicNode(os);
    text_.PutTicCounted(os);
}

char DovTokenString::GetTic(std::istream& is, VString& message) {
    if (char r = DovExpr::GetTic(is, message)) return r;
    return text_.GetTicCounted(is, message);
}

void DovIntNumConst::PutTicNode(std::ostream& os) const {
    DovExpr::PutTicNode(os);
    image_.PutTicCounted(os);
    os << value_ << '|';
}

char DovIntNumConst::GetTic(std::istream& is, VString& message) {
    if (char r = DovExpr::GetTic(is, message)) return r;
    if (char r = image_.GetTicCounted(is, message)) return r;
    long long v = 0;
    if (char r = GetTicIntNo(is, v, true, '|', message)) return r;
    value_ = v;
    return TIC_OK;
}

void DovRealNumConst::PutTicNode(std::ostream& os) const {
    DovExpr::PutTicNode(os);
    image_.PutTicCounted(os);
}

char DovRealNumConst::GetTic(std::istream& is, VString& message) {
    if (char r = DovExpr::GetTic(is, message)) return r;
    return image_.GetTicCounted(is, message);
}

void DovStrConst::PutTicNode(std::ostream& os) const {
    DovExpr::PutTicNode(os);
    image_.PutTicCounted(os);
}

char DovStrConst::GetTic(std::istream& is, VString& message) {
    if (char r = DovExpr::GetTic(is, message)) return r;
    if (char r = image_.GetTicCounted(is, message)) return r;
    // Only the image is stored: the value comes from it, as when built.
    VString error;
    value_ = DovStringImageValue(image_, error);
    return TIC_OK;
}

void DovSymTabElt::PutTicNode(std::ostream& os) const {
    DovExpr::PutTicNode(os);
    name_.PutTicCounted(os);
    os << static_cast<unsigned>(category_) << ':';
    references_.PutTic(os);
}

char DovSymTabElt::GetTic(std::istream& is, VString& message) {
    if (char r = DovExpr::GetTic(is, message)) return r;
    if (char r = name_.GetTicCounted(is, message)) return r;
    if (char r = GetCategory(is, category_, message)) return r;
    definitions_stamp_ = 0;
    return references_.GetTic(is, message);
}

void DovNameUse::PutTicNode(std::ostream& os) const {
    DovExpr::PutTicNode(os);
    PutIndex(os, element_);
}

char DovNameUse::GetTic(std::istream& is, VString& message) {
    if (char r = DovExpr::GetTic(is, message)) return r;
    return GetIndex(is, element_, message);
}

void DovNamedObjDef::PutTicNode(std::ostream& os) const {
    DovExpr::PutTicNode(os);
    os << static_cast<unsigned>(category_) << ':';
    PutIndex(os, element_);
    uses_.PutTic(os);
}

char DovNamedObjDef::GetTic(std::istream& is, VString& message) {
    if (char r = DovExpr::GetTic(is, message)) return r;
    if (char r = GetCategory(is, category_, message)) return r;
    if (char r = GetIndex(is, element_, message)) return r;
    return uses_.GetTic(is, message);
}

void DovNamedObjUse::PutTicTail(std::ostream& os) const {
    os << static_cast<unsigned>(category_) << ':';
    PutIndex(os, definition_);
}

char DovNamedObjUse::GetTicTail(std::istream& is, VString& message) {
    if (char r = GetCategory(is, category_, message)) return r;
    return GetIndex(is, definition_, message);
}
