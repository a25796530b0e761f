#include "tests/tool/run_vemlo.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace vemlo_tool_test {

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

std::string FixtureDir() { return VEMLO_TOOL_FIXTURES; }

std::string Banner() {
    return "vemlo: Vemlo ver 4-2-0.\n"
           "Source-to-Source converter.\n"
           "Quillfen Direct.\n"
           "Can parse SQL.\n"
           "Can parse CICS.\n"
           "\n"
           "Start it with -help to see a list of command-line options.\n";
}

VemloRun RunVemlo(const std::vector<std::string>& args, const std::string& cwd, const char* envOptions) {
    VemloRun run;
    char outName[] = "/tmp/vemlo_out_XXXXXX";
    char errName[] = "/tmp/vemlo_err_XXXXXX";
    const int outFd = mkstemp(outName);
    const int errFd = mkstemp(errName);
    if (outFd < 0 || errFd < 0) return run;
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(outFd, 1);
        dup2(errFd, 2);
        const std::string dir = cwd.empty() ? FixtureDir() : cwd;
        if (chdir(dir.c_str()) != 0) _exit(126);
        if (envOptions)
            setenv("DOV_TOOL_OPTIONS", envOptions, 1);
        else
            unsetenv("DOV_TOOL_OPTIONS");
        std::vector<char*> argv;
        static char program[] = VEMLO_PROGRAM;
        argv.push_back(program);
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program, argv.data());
        _exit(127);
    }
    close(outFd);
    close(errFd);
    if (pid > 0) {
        int wstatus = 0;
        if (waitpid(pid, &wstatus, 0) == pid) {
            if (WIFEXITED(wstatus)) {
                run.exited = true;
                run.status = WEXITSTATUS(wstatus);
            } else if (WIFSIGNALED(wstatus)) {
                run.signal = WTERMSIG(wstatus);
            }
        }
    }
    run.out = Slurp(outName);
    run.err = Slurp(errName);
    unlink(outName);
    unlink(errName);
    return run;
}

}  // namespace vemlo_tool_test
