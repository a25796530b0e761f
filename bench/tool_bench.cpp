// The whole vemlo program, in one process, over every accepted NIST program:
// lines per second and the process's peak memory.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::filesystem::path CorpusFolder() {
    const char* env = std::getenv("VEMLO_CORPUS_DIR");
    return env && *env ? env : VEMLO_CORPUS_DIR;
}

void BM_VemloNist(benchmark::State& state) {
    std::vector<std::string> files;
    std::ifstream list(CorpusFolder() / "nist-accepted.txt");
    long long lines = 0;
    for (std::string name; std::getline(list, name);) {
        if (name.empty()) continue;
        files.push_back((CorpusFolder() / "nist" / name).string());
        std::ifstream in(files.back());
        for (std::string l; std::getline(in, l);) ++lines;
    }
    if (files.empty()) {
        state.SkipWithError("corpus absent");
        return;
    }
    std::vector<std::string> args = {VEMLO_PROGRAM, "-lang=ansi85",
                                     "-copylib-dir=" + (CorpusFolder() / "nist-copy").string(), "-q=STMT_MOVE",
                                     "-silent"};
    args.insert(args.end(), files.begin(), files.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    long peakKb = 0;
    for (auto _ : state) {
        const pid_t pid = fork();
        if (pid == 0) {
            const int devnull = open("/dev/null", O_WRONLY);
            dup2(devnull, 1);
            dup2(devnull, 2);
            execv(argv[0], argv.data());
            _exit(127);
        }
        int status = 0;
        struct rusage usage {};
        wait4(pid, &status, 0, &usage);
        if (!WIFEXITED(status) || WEXITSTATUS(status) == 127) {
            state.SkipWithError("vemlo did not run");
            return;
        }
        if (usage.ru_maxrss > peakKb) peakKb = usage.ru_maxrss;
    }
    state.counters["lines/s"] =
        benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["peak_kB"] = static_cast<double>(peakKb);
}
BENCHMARK(BM_VemloNist)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
