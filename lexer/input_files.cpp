// The stack of open input files and the copybook search.
#include <filesystem>
#include <string>

#include "lbase/fileutil.h"
#include "lexer/lexer_object.h"

namespace {

bool IsPathSeparator(char c) { return c == '/' || c == '\\'; }

// Index of the first character of the last path component.
int LastComponentStart(const std::string& path) {
    int start = 0;
    for (int i = 0; i < static_cast<int>(path.size()); ++i)
        if (IsPathSeparator(path[i])) start = i + 1;
    return start;
}

// The suffix as appended to a member name: a '.' goes in front of a
// non-empty suffix that has none.
std::string SuffixText(const VString& suffix) {
    std::string s(suffix.CStr(), suffix.Len());
    if (!s.empty() && s[0] != '.') s.insert(s.begin(), '.');
    return s;
}

// The path with the characters from `from` on turned to the retry's case.
std::string CaseRetry(const std::string& path, int from, int copyNameCase) {
    std::string out = path;
    for (std::size_t i = from; i < out.size(); ++i)
        out[i] = static_cast<char>(copyNameCase == COPY_NAME_UPPER ? DovCharToUpper(out[i]) : DovCharToLower(out[i]));
    return out;
}

}  // namespace

bool DovLexer::TryOpen(DovInputFile* in, const VString& path) {
    // The line reader keeps a chunk of its own, so the stream needs no
    // buffer (which is only possible before it is opened).
    if (!in->stream.is_open()) in->stream.rdbuf()->pubsetbuf(nullptr, 0);
    if (DovOpenInFile(in->stream, path.CStr(), DovFileMode::Binary, DovOpenTrace::On) != 0) return false;
    // A folder opens like a file on some systems but is never a source.
    std::error_code ec;
    if (std::filesystem::is_directory(path.CStr(), ec)) {
        in->stream.close();
        return false;
    }
    return true;
}

// Looks for a member: in every copybook directory (in list order) with every
// suffix (in list order), each path followed by its case retry. A name that
// holds a path separator (a COPY library's folder and the member) is tried as
// given with the suffixes and retries applied to its last component only.
bool DovLexer::OpenMember(DovInputFile* in, const VString& nameText, VString& path, const DovTxtPosn& at) {
    const std::string name(nameText.CStr(), nameText.Len());
    const bool hasFolder = name.find_first_of("/\\") != std::string::npos;
    const int nameStart = LastComponentStart(name);
    const bool hasDot = name.find('.', nameStart) != std::string::npos;

    // A member is a regular file: a device, a FIFO or a folder on the path is
    // never opened (a FIFO's open waits for a writer, a device may never
    // end), only named if nothing else is found.
    std::string notRegular;
    auto tryPath = [&](const std::string& candidate) {
        std::error_code ec;
        const auto status = std::filesystem::status(candidate, ec);
        if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
            if (notRegular.empty()) notRegular = candidate;
            return false;
        }
        VString text(candidate.data(), static_cast<int>(candidate.size()));
        if (!TryOpen(in, text)) return false;
        path = text;
        return true;
    };
    auto attempt = [&](const std::string& candidate, int retryFrom) {
        if (tryPath(candidate)) return true;
        if (copyNameCase != COPY_NAME_LOWER && copyNameCase != COPY_NAME_UPPER) return false;
        const std::string retry = CaseRetry(candidate, retryFrom, copyNameCase);
        return retry != candidate && tryPath(retry);
    };

    if (name.empty()) return false;

    const int dirCount = hasFolder ? 1 : copyDirs.count;
    for (int d = 0; d < dirCount; ++d) {
        const VString dirText = hasFolder ? VString() : copyDirs.items[d];
        const std::string dir(dirText.CStr(), dirText.Len());
        for (int s = 0; s < copySuffixes.count; ++s) {
            const VString& suffix = copySuffixes.items[s];
            if (static_cast<int>(dir.size()) + suffix.Len() + static_cast<int>(name.size()) + 5 > kDovMaxCopyPath) {
                Report(MSG_ERR, at.IsSet() ? at : CurrentPosn(),
                       DovFormat("COPYLIB file name too long: dir='%s', name='%s'", dir.c_str(), name.c_str()));
                path = VString();
                return false;
            }
            std::string candidate = dir;
            if (!dir.empty() && !IsPathSeparator(dir.back())) candidate += '/';
            int retryFrom = static_cast<int>(candidate.size()) + nameStart;
            candidate += name;
            if (!hasDot) candidate += SuffixText(suffix);
            if (attempt(candidate, retryFrom)) return true;
        }
    }
    const DovTxtPosn where = at.IsSet() ? at : CurrentPosn();
    if (!notRegular.empty())
        Report(MSG_WARN, where,
               DovFormat("Cannot find/open file '%s' in directories on Copylib path: '%s' is not a regular file",
                         name.c_str(), notRegular.c_str()));
    else
        Report(MSG_WARN, where, DovFormat("Cannot find/open file '%s' in directories on Copylib path", name.c_str()));
    return false;
}

bool DovLexer::PushInput(const VString& name, int kind, VString& path, const DovTxtPosn& at) {
    if (inputLevel >= kDovMaxInputLevels) {
        Report(MSG_SEVERE, at.IsSet() ? at : CurrentPosn(), "COPY/-INC statements are nested too deep");
        return false;
    }
    if (kind != kDovMainInputKind && !copyInline) return false;

    auto* in = new DovInputFile;
    in->kind = kind;
    VString opened;
    if (kind == kDovMainInputKind) {
        if (!TryOpen(in, name)) {
            Report(MSG_ERR, DovNullPosn, DovFormat("Cannot open main file '%s' for input", name.CStr()));
            delete in;
            return false;
        }
        opened = name;
    } else if (!OpenMember(in, name, opened, at)) {
        delete in;
        return false;
    }

    DovNoteOpenedFile(opened.CStr(), 0);
    int index = DovSrcFileNames().FindOrAdd(opened, false, true);
    in->posn = DovTxtPosn(0, 0, static_cast<std::uint32_t>(index));
    in->path = opened;
    path = opened;
    inputs[inputLevel++] = in;
    current = in;
    return true;
}

int DovLexer::PopInput(bool popMain, VString& name) {
    if (inputLevel == 0 || (inputLevel == 1 && !popMain)) return kDovMainInputKind;
    DovInputFile* in = inputs[--inputLevel];
    inputs[inputLevel] = nullptr;
    name = in->path;
    int kind = inputLevel == 0 ? kDovMainInputKind : in->kind;
    delete in;
    current = inputLevel > 0 ? inputs[inputLevel - 1] : nullptr;
    return kind;
}

int DovLexer::SetInput(const char* fileName) {
    if (inputLevel != 0) {
        Report(MSG_SEVERE, DovNullPosn, "DovLexer::SetInput: input_level!=0");
        return 11;
    }
    VString path;
    return PushInput(VString(fileName), kDovMainInputKind, path) ? 0 : 11;
}

void DovLexer::CloseInput() {
    // Every level goes, also the members that an aborted parse left open:
    // otherwise the next SetInput would be refused.
    while (inputLevel > 0) {
        VString name;
        PopInput(true, name);
    }
    errorFlag = 0;
}
