#include "tests/support/child_process.h"

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <sys/wait.h>
#include <unistd.h>

namespace vemlo_test {
namespace {

std::string Slurp(std::FILE* f) {
    std::string text;
    std::rewind(f);
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
    return text;
}

// Status of a child whose body threw: the exception must not travel on into
// the test runner's copy in the child, which would go on running tests there.
constexpr int kBodyThrew = 125;

}  // namespace

ChildResult RunInChild(const std::function<void()>& body) {
    ChildResult result;
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    pid_t pid = -1;
    if (out && err) {
        std::cout.flush();
        std::cerr.flush();
        std::fflush(nullptr);
        pid = fork();
    }
    if (pid == 0) {
        dup2(fileno(out), STDOUT_FILENO);
        dup2(fileno(err), STDERR_FILENO);
        int status = 0;
        try {
            body();
        } catch (...) {
            status = kBodyThrew;
        }
        std::cout.flush();
        std::cerr.flush();
        std::fflush(nullptr);
        _exit(status);
    }
    if (pid > 0) {
        int status = 0;
        pid_t got;
        while ((got = waitpid(pid, &status, 0)) < 0 && errno == EINTR) {
        }
        if (got == pid && WIFEXITED(status)) {
            result.exited = true;
            result.exit_status = WEXITSTATUS(status);
        } else if (got == pid && WIFSIGNALED(status)) {
            result.signal = WTERMSIG(status);
        }
        result.out = Slurp(out);
        result.err = Slurp(err);
    }
    if (out) std::fclose(out);
    if (err) std::fclose(err);
    return result;
}

}  // namespace vemlo_test
