#include "lbase/txtposn.h"

#include <charconv>
#include <istream>
#include <ostream>

#include "lbase/tic.h"

const VString DovBadFileName("-(bad)-");
bool DovPutTicFileNames = false;
DovFileIndexMap* DovTicFileIndexMap = nullptr;

DovNameTable& DovSrcFileNames() {
    static DovNameTable* table = [] {
        auto* t = new DovNameTable(100);
        t->Insert(DovNameTableEntry{VString("-(bad)-"), 0}, 0);
        return t;
    }();
    return *table;
}

const VString& DovSrcFileName(std::uint32_t index) {
    DovNameTable& names = DovSrcFileNames();
    if (index < static_cast<std::uint32_t>(names.Count())) return names.At(static_cast<int>(index)).name;
    return DovBadFileName;
}

int DovTxtPosnCompare(const DovTxtPosn& a, const DovTxtPosn& b) {
    if (a.FileIndex() != b.FileIndex()) return -100;
    if (a.Line() != b.Line()) return a.Line() < b.Line() ? -1 : 1;
    if (a.Column() != b.Column()) return a.Column() < b.Column() ? -1 : 1;
    return 0;
}

void DovAppendTxtPosn(std::string& out, const DovTxtPosn& p) {
    if (p.IsNull()) {
        out += "(null)";
    } else if (p.IsInfinite()) {
        out += "(infty)";
    } else {
        const VString& name = DovSrcFileName(p.FileIndex());
        out.append(name.CStr(), static_cast<std::size_t>(name.Len()));
        char digits[24];
        out += ':';
        out.append(digits, std::to_chars(digits, digits + sizeof digits, p.Line()).ptr);
        out += ':';
        out.append(digits, std::to_chars(digits, digits + sizeof digits, p.Column() + 1).ptr);
    }
}

std::ostream& operator<<(std::ostream& os, const DovTxtPosn& p) {
    std::string text;
    DovAppendTxtPosn(text, p);
    return os << text;
}

std::ostream& operator<<(std::ostream& os, const DovTxtPosnRange& r) {
    return os << "[beg:" << r.beg << ", end:" << r.end << "]";
}

VString DovTxtPosnStr(const DovTxtPosn& p) {
    std::string text;
    DovAppendTxtPosn(text, p);
    return VString(text.data(), static_cast<int>(text.size()));
}

void DovTxtPosn::PutTic(std::ostream& os) const {
    os << '[' << line_ << ',' << column_ << ',';
    if (DovPutTicFileNames) {
        os << 's';
        DovSrcFileName(file_).PutTicCounted(os);
    } else {
        os << 'n';
        if (file_ == kNoFile)
            os << -1;
        else
            os << file_;
    }
    os << ']';
}

char DovTxtPosn::GetTic(std::istream& is, VString& message) {
    if (is.get() != '[') {
        message = "DovTxtPosn::GetTic: '[' is expected";
        return TIC_BAD_FORMAT;
    }
    long long line = 0, column = 0;
    if (char r = GetTicIntNo(is, line, false, ',', message)) return r;
    if (line > 0xffffffffLL) {
        message = DovFormat("DovTxtPosn::GetTic: line %lld is out of range", line);
        return TIC_BAD_FORMAT;
    }
    line_ = static_cast<std::uint32_t>(line);
    if (char r = GetTicIntNo(is, column, false, ',', message)) return r;
    if (column > kMaxColumn) {
        message = DovFormat("DovTxtPosn::GetTic: column %lld is out of range", column);
        return TIC_BAD_FORMAT;
    }
    column_ = static_cast<std::uint16_t>(column);
    int kind = is.get();
    if (kind == 's') {
        VString name;
        if (char r = name.GetTicCounted(is, message)) return r;
        SetFileIndex(static_cast<std::uint32_t>(DovSrcFileNames().FindOrAdd(name, false, true)));
        if (is.get() != ']') {
            message = "DovTxtPosn::GetTic: ']' expected after file_name";
            return TIC_BAD_FORMAT;
        }
        return TIC_OK;
    }
    if (kind == 'n') {
        long long ix = 0;
        if (char r = GetTicIntNo(is, ix, true, ']', message)) return r;
        if (ix == -1) {
            file_ = kNoFile;
            return TIC_OK;
        }
        if (DovTicFileIndexMap) {
            if (ix < 0 || ix >= DovTicFileIndexMap->count) {
                message = DovFormat("DovTxtPosn::GetTic: file_ix %lld is out of range -1..%d", ix,
                                    DovTicFileIndexMap->count);
                return TIC_BAD_FORMAT;
            }
            SetFileIndex(static_cast<std::uint32_t>(DovTicFileIndexMap->map[ix]));
            return TIC_OK;
        }
        if (ix < 0 || ix >= kNoFile) {
            message = DovFormat("DovTxtPosn::GetTic: file_ix %lld is out of range", ix);
            return TIC_BAD_FORMAT;
        }
        file_ = static_cast<std::uint16_t>(ix);
        return TIC_OK;
    }
    message = "DovTxtPosn::GetTic: bad char that qualifies file_name";
    return TIC_BAD_FORMAT;
}

void DovTxtPosnRange::PutTic(std::ostream& os) const {
    beg.PutTic(os);
    end.PutTic(os);
}

char DovTxtPosnRange::GetTic(std::istream& is, VString& message) {
    if (char r = beg.GetTic(is, message)) return r;
    return end.GetTic(is, message);
}
