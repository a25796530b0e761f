// VString: the library's string. Each copy owns its characters. A text of
// up to kShortMax characters (most words and data names) is kept inside the
// object itself; a longer one has a buffer of its own, exactly one byte
// longer than the text, from DovSmallBlocks. A pointer into a short text
// therefore belongs to the object: it does not follow the text when the
// string is moved.
//
// The empty string comes in two forms told apart only by Ptr(): without
// text (the default, Ptr() null) and with an empty text (as made from "").
#pragma once

#include <cstdint>
#include <cstring>
#include <iosfwd>
#include <utility>

#include "lbase/small_blocks.h"

class FastOstrstream;

class VString {
public:
    VString() = default;
    explicit VString(char c);
    VString(const char* text);  // NOLINT: implicit from C strings by design
    VString(const char* text, int count);
    explicit VString(FastOstrstream& stream);
    VString(const VString& other) {
        if (other.IsLong()) Assign(other.LongText(), other.LongLen());
        else CopyFields(other);
    }
    VString(VString&& other) noexcept {
        TakeFields(other);
    }
    ~VString() { Release(); }

    VString& operator=(const VString& other);
    VString& operator=(VString&& other) noexcept {
        if (this != &other) {
            Release();
            TakeFields(other);
        }
        return *this;
    }
    VString& operator+=(const VString& other);

    // Takes over the other string's buffer; the other string becomes empty.
    void Adopt(VString& other) { *this = std::move(other); }

    // The text, or null for a string without text.
    const char* Ptr() const {
        if (IsLong()) return LongText();
        return Tag() == kNoText ? nullptr : bytes_;
    }
    // The text as a C string; "" for a string without text.
    const char* CStr() const { return IsLong() ? LongText() : bytes_; }
    // Number of characters, terminator not counted.
    int Len() const { return static_cast<int>(Size()); }
    // Short forms keep 15 minus the length in the tag's low bits, the long
    // form none: the empty ones are the two short tags with all of them set.
    bool IsEmpty() const { return (Tag() & (kLongTag | kShortMax)) == kShortMax; }
    char operator[](int i) const { return CStr()[i]; }

    // Queries.
    VString SubStr(int start, int count) const;
    VString UpTo(char c) const;
    bool StartsWith(const VString& prefix) const;
    bool HasChar(char c) const;
    int IndexOf(char c) const;
    int CountChar(char c) const;
    bool AllCharsIn(const char* set) const;
    int CountCharsIn(const char* set) const;
    int IsOneOf(const char* list) const;
    int Find(const VString& pattern) const;
    int Compare(const VString& other) const;
    bool operator==(const char* text) const {
        const char* mine = CStr();
        const char* theirs = text ? text : "";
        // Most comparisons fail at the first character.
        return mine[0] == theirs[0] && (mine[0] == '\0' || EqualTail(mine, theirs));
    }
    bool operator!=(const char* text) const { return !(*this == text); }
    bool operator==(const VString& other) const;
    bool operator!=(const VString& other) const { return !(*this == other); }

    // Edits in place.
    void ReplaceChar(char from, char to);
    void RemoveChars(const VString& set);

    // Converted copies.
    VString StripPair(char open, char close) const;
    VString Trim() const;
    VString ToUpper() const;
    VString ToLower() const;
    void Translate(VString& out, const char* table) const;

    // TIC text forms (see lbase/tic.h for the result codes).
    void PutTicCounted(std::ostream& os) const;
    char GetTicCounted(std::istream& is, VString& message);
    std::ostream& PutTic(std::ostream& os, char delimiter) const;
    char GetTic(std::istream& is, char delimiter, VString& message);

    // The shared empty string returned by accessors that have nothing.
    static const VString Empty;

    // Longest text a string may hold.
    static constexpr std::uint32_t kMaxLen = 0x7fffffffu;
    // Longest text kept inside the object.
    static constexpr std::uint32_t kShortMax = 15;

private:
    // The C library's comparison of two C strings whose first characters are
    // equal and not NUL, from the second character on.
    static bool EqualTail(const char* a, const char* b);
    // Makes a string of `len` characters copied from `p` (may hold NULs);
    // `p` may point into this string's own text.
    void Assign(const char* p, std::size_t len);
    // A buffer for `len` characters and the terminator.
    static char* NewBuffer(std::size_t len) { return static_cast<char*>(DovSmallBlocks::Take(len + 1)); }
    // Gives a long text's buffer back (the string's fields stay as they are).
    void Release() noexcept {
        if (IsLong()) DovSmallBlocks::Give(LongText(), std::size_t(LongLen()) + 1);
    }

    // The object's 16 bytes. Short form: the text, its NUL and zeros up to
    // the last byte, the tag, which holds kShortMax minus the length: it is
    // the terminator of a text of kShortMax characters. The string without
    // text is the empty short form with kNoTextBit set in its tag. Long
    // form: the buffer's address in the first 8 bytes, the length in the
    // next 4, the tag kLongTag.
    static constexpr std::size_t kTagAt = 15;
    static constexpr std::size_t kLongLenAt = sizeof(char*);
    static constexpr unsigned char kLongTag = 0x80;
    static constexpr unsigned char kNoTextBit = 0x10;
    static constexpr unsigned char kNoText = kNoTextBit | kShortMax;

    unsigned char Tag() const { return static_cast<unsigned char>(bytes_[kTagAt]); }
    bool IsLong() const { return (Tag() & kLongTag) != 0; }
    std::uint32_t Size() const { return IsLong() ? LongLen() : ShortLen(); }
    std::uint32_t ShortLen() const { return kShortMax - (Tag() & kShortMax); }
    std::uint32_t LongLen() const {
        std::uint32_t n;
        std::memcpy(&n, bytes_ + kLongLenAt, sizeof n);
        return n;
    }
    char* LongText() const {
        char* p;
        std::memcpy(&p, bytes_, sizeof p);
        return p;
    }
    // The tag of a short text of `len` characters.
    static char ShortTag(std::uint32_t len) { return static_cast<char>(kShortMax - len); }
    void SetLong(char* p, std::uint32_t len) {
        std::memcpy(bytes_, &p, sizeof p);
        std::memcpy(bytes_ + kLongLenAt, &len, sizeof len);
        bytes_[kTagAt] = static_cast<char>(kLongTag);
    }
    // The characters, to edit in place.
    char* Text() { return IsLong() ? LongText() : bytes_; }
    // Takes the other string's fields as they are and leaves it without text.
    void TakeFields(VString& other) noexcept {
        CopyFields(other);
        other.Clear();
    }
    void CopyFields(const VString& other) noexcept { std::memcpy(bytes_, other.bytes_, sizeof bytes_); }
    void Clear() noexcept {
        std::memset(bytes_, 0, sizeof bytes_);
        bytes_[kTagAt] = static_cast<char>(kNoText);
    }

    alignas(char*) char bytes_[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, char(kNoText)};
};

static_assert(sizeof(VString) == 16);

VString operator+(const VString& a, const VString& b);
std::ostream& operator<<(std::ostream& os, const VString& s);

// One character's case under the library's rule: only a-z / A-Z change.
int DovCharToUpper(int c);
int DovCharToLower(int c);

// printf-style formatting into a new string of exactly the needed size.
VString DovFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
