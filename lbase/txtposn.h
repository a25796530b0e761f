// Source positions: a file (index into DovSrcFileNames), a line and a column,
// and the table of source-file names behind them.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "lbase/vstring.h"
#include "lbase/vstring_list.h"

class DovTxtPosn {
public:
    // File index that names no file; printed as "-(bad)-".
    static constexpr std::uint16_t kNoFile = 0xffff;
    static constexpr std::uint16_t kMaxColumn = 0xffff;

    constexpr DovTxtPosn() = default;
    // `column` is 0-based (printed plus one); values past the field's range
    // are held at its maximum.
    constexpr DovTxtPosn(std::uint32_t line, std::uint32_t column, std::uint32_t file)
        : line_(line), column_(Clamp(column, kMaxColumn)), file_(Clamp(file, kNoFile)) {}

    constexpr std::uint32_t Line() const { return line_; }
    constexpr std::uint32_t Column() const { return column_; }
    constexpr std::uint32_t FileIndex() const { return file_; }
    constexpr void SetLine(std::uint32_t line) { line_ = line; }
    constexpr void SetColumn(std::uint32_t column) { column_ = Clamp(column, kMaxColumn); }
    constexpr void SetFileIndex(std::uint32_t file) { file_ = Clamp(file, kNoFile); }

    // Null: line and column 0 (any file). Infinite: line 0, column 1.
    constexpr bool IsNull() const { return line_ == 0 && column_ == 0; }
    constexpr bool IsInfinite() const { return line_ == 0 && column_ == 1; }
    constexpr bool IsSet() const { return !IsNull(); }

    constexpr bool operator==(const DovTxtPosn&) const = default;

    void PutTic(std::ostream& os) const;
    char GetTic(std::istream& is, VString& message);

private:
    static constexpr std::uint16_t Clamp(std::uint32_t v, std::uint16_t max) {
        return v > max ? max : static_cast<std::uint16_t>(v);
    }
    std::uint32_t line_ = 0;
    std::uint16_t column_ = 0;
    std::uint16_t file_ = 0;
};

struct DovTxtPosnRange {
    DovTxtPosn beg;
    DovTxtPosn end;

    bool IsNull() const { return beg.IsNull() && end.IsNull(); }
    void PutTic(std::ostream& os) const;
    char GetTic(std::istream& is, VString& message);
};

inline constexpr DovTxtPosn DovNullPosn{0, 0, 0};
inline constexpr DovTxtPosn DovInftyPosn{0, 1, 0};

// -100 when the files differ, else -1, 0 or 1 by line and then column.
int DovTxtPosnCompare(const DovTxtPosn& a, const DovTxtPosn& b);

// "file:line:column" (the column counted from 1), "(null)" or "(infty)".
std::ostream& operator<<(std::ostream& os, const DovTxtPosn& p);
// The same text appended to `out`.
void DovAppendTxtPosn(std::string& out, const DovTxtPosn& p);
std::ostream& operator<<(std::ostream& os, const DovTxtPosnRange& r);
VString DovTxtPosnStr(const DovTxtPosn& p);

// The names of every source file of the run; entry 0 is "-(bad)-".
DovNameTable& DovSrcFileNames();
// "-(bad)-": the name printed for an index the table does not hold.
extern const VString DovBadFileName;
// The name of file index `index`, or DovBadFileName.
const VString& DovSrcFileName(std::uint32_t index);

// When on, positions are written to TIC with their file name ("s" form)
// instead of their file index ("n" form).
extern bool DovPutTicFileNames;

// While a stored tree is read: the stored file indexes mapped to indexes of
// DovSrcFileNames. Null at any other time.
struct DovFileIndexMap {
    int* map = nullptr;
    int count = 0;
};
extern DovFileIndexMap* DovTicFileIndexMap;
