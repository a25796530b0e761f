#include "lexer/src_file.h"

#include <iostream>

#include "lbase/message.h"

int DovSrcFileTraceFlags = 0;

namespace {

constexpr int kSetPosnFailed = '5';

}  // namespace

VString DovSrcFileOpenName(std::uint32_t index) {
    DovNameTable& names = DovSrcFileNames();
    if (index < static_cast<std::uint32_t>(names.Count())) return names.At(static_cast<int>(index)).name;
    return VString();
}

VString DovSrcOpenFailedMessage(std::uint32_t index) {
    return DovFormat("SrcPrintText: cannot open file '%s'", DovSrcFileOpenName(index).CStr());
}

VString DovSrcPastEndMessage(const DovTxtPosn& target) {
    return DovFormat("EOF encountered while reading source file: %s", DovTxtPosnStr(target).CStr());
}

namespace {

// At the start of a file: true, and past it, when a byte-order mark stands
// there; otherwise false, and back at the start.
bool PassByteOrderMark(std::filebuf& buf) {
    char head[kDovByteOrderMarkLen];
    if (buf.sgetn(head, kDovByteOrderMarkLen) == kDovByteOrderMarkLen && DovIsByteOrderMark(head)) return true;
    buf.pubseekpos(0, std::ios::in);
    return false;
}

}  // namespace

DovSrcLayout DovSrcFileLayout(const char* path) {
    DovSrcLayout layout;
    std::ifstream in(path, std::ios::in | std::ios::binary);
    if (!in) return layout;
    std::filebuf* buf = in.rdbuf();
    layout.byteOrderMark = PassByteOrderMark(*buf);
    for (int c = buf->sbumpc(); c != std::char_traits<char>::eof(); c = buf->sbumpc()) {
        if (c == '\n') break;
        if (c == '\r') {
            layout.lineEnd = buf->sgetc() == '\n' ? "\r\n" : "\r";
            break;
        }
    }
    return layout;
}

DovSrcFile::DovSrcFile(const DovSrcFile&) : std::basic_ios<char>(), std::ifstream() {
    DovMessageHook(MSG_TERMINAL, DovNullPosn, "DovSrcFile(const DovSrcFile &) must not be called");
}

int DovSrcFile::SetPosn(const DovTxtPosn& target, VString& message) {
    if (DovSrcFileTraceFlags & 0x20) std::cout << "$SetPosn: " << target << std::endl;

    if (is_open() && posn.FileIndex() != target.FileIndex()) {
        if (DovSrcFileTraceFlags & 0x01)
            std::cout << "$SetPosn: CLOSE FILE " << DovSrcFileOpenName(posn.FileIndex()) << std::endl;
        close();
    }
    if (!is_open()) {
        VString name = DovSrcFileOpenName(target.FileIndex());
        if (DovSrcFileTraceFlags & 0x01) std::cout << "$SetPosn: OPEN FILE " << name << std::endl;
        clear();
        open(name.CStr(), std::ios::in | std::ios::binary);
        if (!is_open()) {
            message = DovSrcOpenFailedMessage(target.FileIndex());
            return kSetPosnFailed;
        }
        posn = DovTxtPosn(1, 0, target.FileIndex());
        SkipByteOrderMark();
    }

    if (DovTxtPosnCompare(posn, target) > 0) {
        if (DovSrcFileTraceFlags & 0x01) std::cout << std::endl << "$$$SetPosn: RESET $$$" << std::endl;
        posn = DovTxtPosn(1, 0, target.FileIndex());
        clear();
        seekg(0);
        SkipByteOrderMark();
    }

    while (DovTxtPosnCompare(posn, target) < 0) {
        if (Getc() < 0) {
            message = DovSrcPastEndMessage(target);
            return kSetPosnFailed;
        }
    }
    return 0;
}

// The lexer reads the first line from after a UTF-8 byte-order mark, and
// so do the positions.
void DovSrcFile::SkipByteOrderMark() { PassByteOrderMark(*rdbuf()); }

int DovSrcFile::Getc() {
    std::filebuf* buf = rdbuf();
    int c = buf->sbumpc();
    if (c == '\r') {
        // A line end as the lexer reads it: CR LF, or a carriage return
        // alone.
        if (buf->sgetc() == '\n') buf->sbumpc();
        c = '\n';
    }
    if (c == std::char_traits<char>::eof()) {
        c = -1;
    } else if (c == '\n') {
        posn.SetLine(posn.Line() + 1);
        posn.SetColumn(0);
    } else if (c == '\t') {
        posn.SetColumn((posn.Column() / 8 + 1) * 8);
    } else {
        posn.SetColumn(posn.Column() + 1);
    }
    if (DovSrcFileTraceFlags & 0x20) {
        std::cout << "-G '";
        if (c >= 0) std::cout << static_cast<char>(c);
        std::cout << "' p_aft:" << posn << std::endl;
    }
    return c;
}

int DovSrcFile::GetSrcLine(DovTxtPosn& position, VString& line, VString& message) {
    position.SetColumn(0);
    int rc = SetPosn(position, message);
    if (rc != 0) return rc;

    char text[kDovMaxSrcLine];
    int len = 0;
    while (posn.Line() == position.Line()) {
        int c = Getc();
        if (c < 0 || len == kDovMaxSrcLine) break;
        if (!DovSrcLineKeeps(c)) continue;
        text[len++] = static_cast<char>(c);
    }
    line = VString(text, len);
    return 0;
}
