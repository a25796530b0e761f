#include "lbase/vstring.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <string>

#include "lbase/fast_ostream.h"

const VString VString::Empty;

namespace {

[[noreturn]] void TooLong() {
    std::fputs("\nTERMINAL ERROR: VString: text too long\n", stdout);
    std::fflush(stdout);
    std::abort();
}

std::uint32_t CheckedLen(std::size_t len) {
    if (len > VString::kMaxLen) TooLong();
    return static_cast<std::uint32_t>(len);
}

}  // namespace

void VString::Assign(const char* p, std::size_t len) {
    std::uint32_t checked = CheckedLen(len);
    if (checked <= kShortMax) {
        // Built aside first: `p` may point into the text being replaced.
        char fresh[sizeof bytes_] = {};
        if (len) std::memcpy(fresh, p, len);
        fresh[kTagAt] = ShortTag(checked);
        Release();
        std::memcpy(bytes_, fresh, sizeof bytes_);
    } else {
        char* fresh = NewBuffer(len);
        std::memcpy(fresh, p, len);
        fresh[len] = '\0';
        Release();
        SetLong(fresh, checked);
    }
}

VString::VString(char c) { Assign(&c, 1); }

VString::VString(const char* text) {
    if (text) Assign(text, std::strlen(text));
}

VString::VString(const char* text, int count) {
    if (text && count > 0) Assign(text, static_cast<std::size_t>(count));
}

VString::VString(FastOstrstream& stream) {
    std::size_t len = 0;
    char* buf = stream.buf_.Release(len);
    if (buf) {
        // The stream's buffer is sized for the stream: the text moves into
        // a buffer of its own length.
        Assign(buf, std::strlen(buf));
        delete[] buf;
    }
}

VString& VString::operator=(const VString& other) {
    if (this == &other) return *this;
    if (other.IsLong()) {
        Assign(other.LongText(), other.LongLen());
    } else {
        Release();
        CopyFields(other);
    }
    return *this;
}

VString& VString::operator+=(const VString& other) {
    if (!Ptr()) return *this = other;
    if (!other.Ptr()) return *this;
    std::size_t len = Size(), other_len = other.Size();
    std::uint32_t checked = CheckedLen(len + other_len);
    if (checked == 0) return *this;
    if (checked <= kShortMax) {
        // Both are short: joined in place (`other` may be this string), the
        // zeros behind the text ending it.
        std::memcpy(bytes_ + len, other.bytes_, other_len);
        bytes_[kTagAt] = ShortTag(checked);
    } else {
        char* fresh = NewBuffer(checked);
        std::memcpy(fresh, CStr(), len);
        std::memcpy(fresh + len, other.CStr(), other_len);
        fresh[checked] = '\0';
        Release();
        SetLong(fresh, checked);
    }
    return *this;
}

VString operator+(const VString& a, const VString& b) {
    VString r(a);
    r += b;
    return r;
}

std::ostream& operator<<(std::ostream& os, const VString& s) {
    return os.write(s.CStr(), s.Len());
}

VString VString::SubStr(int start, int count) const {
    if (start < 0 || count == 0 || count < -1) return VString();
    if (static_cast<std::uint32_t>(start) >= Size()) return VString();
    int avail = Len() - start;
    if (count == -1 || count > avail) count = avail;
    return VString(CStr() + start, count);
}

VString VString::UpTo(char c) const {
    int i = IndexOf(c);
    return i < 0 ? *this : SubStr(0, i);
}

bool VString::StartsWith(const VString& prefix) const {
    std::uint32_t want = prefix.Size();
    if (want > Size()) return false;
    return want == 0 || std::memcmp(CStr(), prefix.CStr(), want) == 0;
}

bool VString::HasChar(char c) const {
    return c != '\0' && std::strchr(CStr(), c) != nullptr;
}

int VString::IndexOf(char c) const {
    const char* text = CStr();
    const void* p = std::memchr(text, c, Size());
    return p ? static_cast<int>(static_cast<const char*>(p) - text) : -1;
}

int VString::CountChar(char c) const {
    int n = 0;
    for (const char* p = CStr(); *p; ++p) n += (*p == c);
    return n;
}

bool VString::AllCharsIn(const char* set) const {
    for (const char* p = CStr(); *p; ++p)
        if (!std::strchr(set, *p)) return false;
    return true;
}

int VString::CountCharsIn(const char* set) const {
    int n = 0;
    for (const char* p = CStr(); *p; ++p) n += std::strchr(set, *p) != nullptr;
    return n;
}

int VString::IsOneOf(const char* list) const {
    if (!list || Size() == 0) return 0;
    for (const char* p = list; *p; p += std::strlen(p) + 1)
        if (std::strcmp(CStr(), p) == 0) return 1;
    return 0;
}

int VString::Find(const VString& pattern) const {
    std::uint32_t len = Size(), want = pattern.Size();
    if (want == 0) return 0;
    if (want > len) return -1;
    const char* text = CStr();
    for (std::uint32_t i = 0; i + want <= len; ++i)
        if (std::memcmp(text + i, pattern.CStr(), want) == 0) return static_cast<int>(i);
    return -1;
}

int VString::Compare(const VString& other) const {
    return std::strcmp(CStr(), other.CStr());
}

bool VString::EqualTail(const char* a, const char* b) { return std::strcmp(a + 1, b + 1) == 0; }

bool VString::operator==(const VString& other) const {
    std::uint32_t len = Size();
    if (len != other.Size()) return false;
    if (len == 0) return true;
    // Short texts of one length are followed by zeros and the same tag:
    // their whole fields compare.
    if (!IsLong()) return std::memcmp(bytes_, other.bytes_, sizeof bytes_) == 0;
    return std::memcmp(LongText(), other.LongText(), len) == 0;
}

void VString::ReplaceChar(char from, char to) {
    char* text = Text();
    for (std::uint32_t i = 0, len = Size(); i < len; ++i)
        if (text[i] == from) text[i] = to;
}

void VString::RemoveChars(const VString& set) {
    if (!Ptr() || set.IsEmpty()) return;
    // The set is taken as a C string; the text is taken by its length.
    const char* text = CStr();
    std::size_t set_len = std::strlen(set.CStr());
    std::string kept;
    std::uint32_t len = Size();
    kept.reserve(len);
    for (std::uint32_t i = 0; i < len; ++i)
        if (!std::memchr(set.CStr(), text[i], set_len)) kept.push_back(text[i]);
    if (kept.empty()) {
        Release();
        Clear();
    } else {
        Assign(kept.data(), kept.size());
    }
}

VString VString::StripPair(char open, char close) const {
    if (Size() == 0) return VString();
    const char* text = CStr();
    int start = (text[0] == open && open != '\0') ? 1 : 0;
    int end = Len();
    if (start < end && text[end - 1] == close) --end;
    return SubStr(start, end - start);
}

VString VString::Trim() const {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    const char* text = CStr();
    int b = 0, e = Len();
    while (b < e && blank(text[b])) ++b;
    while (e > b && blank(text[e - 1])) --e;
    return SubStr(b, e - b);
}

int DovCharToUpper(int c) { return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c; }
int DovCharToLower(int c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; }

VString VString::ToUpper() const {
    VString r(*this);
    char* text = r.Text();
    for (std::uint32_t i = 0, len = r.Size(); i < len; ++i) text[i] = static_cast<char>(DovCharToUpper(text[i]));
    return r;
}

VString VString::ToLower() const {
    VString r(*this);
    char* text = r.Text();
    for (std::uint32_t i = 0, len = r.Size(); i < len; ++i) text[i] = static_cast<char>(DovCharToLower(text[i]));
    return r;
}

void VString::Translate(VString& out, const char* table) const {
    VString r(*this);
    char* text = r.Text();
    for (std::uint32_t i = 0, len = r.Size(); i < len; ++i) text[i] = table[static_cast<unsigned char>(text[i])];
    out.Adopt(r);
}

VString DovFormat(const char* format, ...) {
    // Most texts fit the stack buffer and are formatted once; a longer one is
    // formatted again into a buffer of its exact size.
    char small[512];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int need = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    VString result;
    if (need <= 0) {
        result = VString("");  // an empty result still owns a buffer
    } else if (static_cast<std::size_t>(need) < sizeof small) {
        result = VString(small, need);
    } else {
        std::string buf(static_cast<std::size_t>(need) + 1, '\0');
        std::vsnprintf(buf.data(), buf.size(), format, again);
        result = VString(buf.data(), need);
    }
    va_end(again);
    return result;
}

// --- FastOstrstream buffer -------------------------------------------------

bool DovGrowBuf::Grow(std::size_t need) {
    if (frozen_) return false;
    std::size_t used = Size();
    std::size_t cap = cap_ ? cap_ : 64;
    while (cap < used + need + 1) cap *= 2;
    if (cap == cap_) return true;
    char* fresh = new char[cap];
    if (used) std::memcpy(fresh, buf_, used);
    delete[] buf_;
    buf_ = fresh;
    cap_ = cap;
    // The last byte stays free for the terminator written by Release.
    setp(buf_, buf_ + cap_ - 1);
    pbump(static_cast<int>(used));
    return true;
}

DovGrowBuf::int_type DovGrowBuf::overflow(int_type ch) {
    if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
    if (!Grow(1)) return traits_type::eof();
    *pptr() = traits_type::to_char_type(ch);
    pbump(1);
    return ch;
}

std::streamsize DovGrowBuf::xsputn(const char* s, std::streamsize n) {
    if (n <= 0) return 0;
    if (static_cast<std::size_t>(epptr() - pptr()) < static_cast<std::size_t>(n) &&
        !Grow(static_cast<std::size_t>(n)))
        return 0;
    std::memcpy(pptr(), s, static_cast<std::size_t>(n));
    // pbump takes an int: advance in int-sized steps.
    std::streamsize left = n;
    while (left > 0) {
        int step = left > 0x40000000 ? 0x40000000 : static_cast<int>(left);
        pbump(step);
        left -= step;
    }
    return n;
}

char* DovGrowBuf::Release(std::size_t& length) {
    length = Size();
    char* out = buf_;
    if (out) out[length] = '\0';
    buf_ = nullptr;
    cap_ = 0;
    frozen_ = true;
    setp(nullptr, nullptr);
    return out;
}
