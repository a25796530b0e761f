// FastOstrstream: an in-memory output stream whose text a VString takes
// (VString(FastOstrstream&)), leaving the stream frozen.
#pragma once

#include <ostream>
#include <streambuf>

class VString;

// Growing character buffer behind FastOstrstream, allocated with new[].
class DovGrowBuf : public std::streambuf {
public:
    DovGrowBuf() = default;
    DovGrowBuf(const DovGrowBuf&) = delete;
    DovGrowBuf& operator=(const DovGrowBuf&) = delete;
    ~DovGrowBuf() override { delete[] buf_; }

    // Number of characters written so far.
    std::size_t Size() const { return static_cast<std::size_t>(pptr() - pbase()); }
    const char* Data() const { return pbase(); }

    // Terminates the text with a NUL and hands the buffer over; the stream
    // is frozen afterwards and further output fails. Null when nothing was
    // ever written.
    char* Release(std::size_t& length);

protected:
    int_type overflow(int_type ch) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;

private:
    bool Grow(std::size_t need);
    char* buf_ = nullptr;
    std::size_t cap_ = 0;
    bool frozen_ = false;
};

class FastOstrstream : public std::ostream {
public:
    FastOstrstream() : std::ostream(&buf_) {}
    FastOstrstream(const FastOstrstream&) = delete;
    FastOstrstream& operator=(const FastOstrstream&) = delete;
    ~FastOstrstream() override = default;

    // Characters written so far (the stream stays usable).
    std::size_t Size() const { return buf_.Size(); }

private:
    friend class VString;
    DovGrowBuf buf_;
};
