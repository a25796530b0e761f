// VString: the library's string. Each copy owns a heap copy of its
// characters; the empty string normally owns no buffer at all. A buffer is
// exactly one byte longer than the text and comes from DovSmallBlocks, so
// short texts are taken from and returned to its free lists.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "lbase/small_blocks.h"

class FastOstrstream;

class VString {
public:
    VString() = default;
    explicit VString(char c);
    VString(const char* text);  // NOLINT: implicit from C strings by design
    VString(const char* text, int count);
    explicit VString(FastOstrstream& stream);
    VString(const VString& other);
    VString(VString&& other) noexcept : text_(other.text_), len_(other.len_) {
        other.text_ = nullptr;
        other.len_ = 0;
    }
    ~VString() { Release(); }

    VString& operator=(const VString& other);
    VString& operator=(VString&& other) noexcept;
    VString& operator+=(const VString& other);

    // Takes over the other string's buffer; the other string becomes empty.
    void Adopt(VString& other);

    // The text, or null for a string without buffer.
    const char* Ptr() const { return text_; }
    // The text as a C string; "" for a string without buffer.
    const char* CStr() const { return text_ ? text_ : ""; }
    // Number of characters, terminator not counted.
    int Len() const { return static_cast<int>(len_); }
    bool IsEmpty() const { return len_ == 0; }
    char operator[](int i) const { return text_[i]; }

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

private:
    // The C library's comparison of two C strings whose first characters are
    // equal and not NUL, from the second character on.
    static bool EqualTail(const char* a, const char* b);
    // Makes a string of `len` characters copied from `p` (may hold NULs).
    void Assign(const char* p, std::size_t len);
    // A buffer for `len` characters and the terminator; its release.
    static char* NewBuffer(std::size_t len) { return static_cast<char*>(DovSmallBlocks::Take(len + 1)); }
    // Gives the buffer back (the string's fields stay as they are).
    void Release() noexcept {
        if (text_) DovSmallBlocks::Give(text_, std::size_t(len_) + 1);
    }

    char* text_ = nullptr;
    std::uint32_t len_ = 0;
};

VString operator+(const VString& a, const VString& b);
std::ostream& operator<<(std::ostream& os, const VString& s);

// One character's case under the library's rule: only a-z / A-Z change.
int DovCharToUpper(int c);
int DovCharToLower(int c);

// printf-style formatting into a new string of exactly the needed size.
VString DovFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
