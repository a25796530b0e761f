#include "lbase/fileutil.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "lbase/strutil.h"

namespace {

constexpr int kCannotOpenOut = 10;
constexpr int kCannotOpenIn = 11;
constexpr int kCannotRun = 13;

bool IsDirectory(const char* path) {
    struct stat st;
    return path && *path && stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

// Where temporary files go: $TMPDIR when it names a directory, else the C
// library's default.
std::string TempDir() {
    const char* env = std::getenv("TMPDIR");
    std::string dir = IsDirectory(env) ? env : IsDirectory(P_tmpdir) ? P_tmpdir : "/tmp";
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    if (dir == "/") dir.clear();
    return dir;
}

}  // namespace

bool DovDebugEnabled() { return std::getenv("DOV_DEBUG") != nullptr; }

int DovOpenInFile(std::ifstream& in, const char* path, DovFileMode mode, DovOpenTrace trace) {
    bool binary = mode == DovFileMode::Binary;
    if (in.is_open()) in.close();
    in.clear();
    if (path) {
        in.open(path, binary ? std::ios::in | std::ios::binary : std::ios::in);
    } else {
        in.setstate(std::ios::failbit);
    }
    int rc = in.good() && in.is_open() ? 0 : kCannotOpenIn;
    if (trace == DovOpenTrace::On && DovDebugEnabled()) {
        std::cout << "@@DovOpenInFile: file='" << (path ? path : "") << "', bin=" << int(binary)
                  << ", ret=" << rc << std::endl;
    }
    return rc;
}

int DovOpenOutFile(std::ofstream& out, const VString& path, DovFileMode mode, DovWriteMode write) {
    bool binary = mode == DovFileMode::Binary;
    VString norm = DovRemoveDotDot(path);
    if (out.is_open()) out.close();
    out.clear();
    std::ios::openmode how = std::ios::out | (write == DovWriteMode::Append ? std::ios::app : std::ios::trunc);
    if (binary) how |= std::ios::binary;
    out.open(norm.CStr(), how);
    int rc = out.good() && out.is_open() ? 0 : kCannotOpenOut;
    if (DovDebugEnabled()) {
        std::cout << "@@DovOpenOutFile: file='" << path << "' norm='" << norm << "', bin=" << int(binary)
                  << ", ret=" << rc << std::endl;
    }
    return rc;
}

void DovNoteOpenedFile(const char*, int) {}

int DovMkDir(const char* path, int* error) {
    if (!path) return 0;
    std::string prefix;
    for (const char* p = path; *p; ++p) {
        if (*p != '/' && *p != '\\') {
            prefix += *p;
            continue;
        }
        if (!prefix.empty() && prefix != ".") {
            if (mkdir(prefix.c_str(), 0755) == 0) {
                if (DovDebugEnabled()) std::cout << "@@DovMkDir: dir='" << prefix << "', ret=0" << std::endl;
            } else if (errno != EEXIST && errno != EACCES) {
                // A refused permission is passed over: a directory further
                // down may still be ours to make, and the open will tell.
                if (error) *error = errno;
                return 1;
            }
        }
        prefix += '/';
    }
    return 0;
}

bool DovIsAbsolutePath(const char* path) {
    if (!path || !*path) return false;
    return path[0] == '/' || path[0] == '\\' || path[1] == ':';
}

int DovCallExec(const VString& program, char* status, const VStringList& args, VString& message) {
    std::vector<const char*> argv;
    argv.push_back(program.CStr());
    for (auto* n = args.head; n; n = n->next) argv.push_back(n->value.CStr());
    argv.push_back(nullptr);
    if (DovDebugEnabled()) {
        std::cout << "@@DovCallExec: '" << program << "', args:" << std::endl;
        for (auto* n = args.head; n; n = n->next) std::cout << "  '" << n->value << "'" << std::endl;
    }

    // Nothing buffered may be written twice, once by each process.
    std::cout.flush();
    std::fflush(nullptr);
    pid_t pid = fork();
    if (pid < 0) {
        message = DovFormat("DovCallExec: could not fork '%s'", program.CStr());
        return kCannotRun;
    }
    if (pid == 0) {
        char* const* vec = const_cast<char* const*>(argv.data());
        const char* p = program.CStr();
        if (p[0] == '.' || p[0] == '/') {
            execv(program.CStr(), vec);
        } else {
            execvp(program.CStr(), vec);
        }
        VString why = DovFormat("DovCallExec: cannot exec '%s': %s", program.CStr(), std::strerror(errno));
        std::printf("\n%s\n", why.CStr());
        std::fflush(stdout);
        // _exit: the parent's exit routines and buffers are not the child's.
        _exit(kCannotRun);
    }

    int wstatus = 0;
    pid_t got;
    while ((got = waitpid(pid, &wstatus, 0)) < 0 && errno == EINTR) {
    }
    if (got < 0) {
        message = DovFormat("DovCallExec: error while waiting for '%s'", program.CStr());
        return kCannotRun;
    }
    // A program killed by a signal reports 128 + the signal, as a shell does.
    int code = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
    if (status) *status = static_cast<char>(code);
    if (code == kCannotRun) {
        message = DovFormat("DovCallExec: cannot exec '%s', probably because executable was not found",
                            program.CStr());
        return kCannotRun;
    }
    return 0;
}

VString DovTempFileName(const VString& prefix, const VString& file) {
    VString stem = DovDebugEnabled() && !file.IsEmpty() ? DovBaseName(file, false) : prefix;
    std::string name = TempDir() + "/";
    for (const char* p = stem.CStr(); *p; ++p) name += (*p == '/' || *p == '\\') ? '_' : *p;
    name += "XXXXXX";
    // mkstemp makes the file with O_EXCL, so nobody else can take the name
    // between our choosing it and the caller's opening it.
    std::vector<char> buf(name.begin(), name.end());
    buf.push_back('\0');
    int fd = mkstemp(buf.data());
    if (fd < 0) return VString();
    close(fd);
    return VString(buf.data());
}

int DovRmFile(const VString& path) {
    if (std::getenv("DOV_NO_RM")) return 0;
    int rc = unlink(path.CStr());
    if (DovDebugEnabled()) std::cout << "@@DovRmFile: file='" << path << "', ret=" << rc << std::endl;
    return 0;
}

bool DovFileExists(const VString& path) {
    struct stat st;
    return stat(path.CStr(), &st) == 0;
}
