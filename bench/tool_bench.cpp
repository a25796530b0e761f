// The whole vemlo program, one process per run: over every accepted NIST
// program (all of them in one process) with a query that matches the MOVE
// statements, one that matches nothing and one that matches every statement;
// and over the synthetic program of 10,000 and of 100,000 lines.
//
// Times are the child's CPU time (user and system), so a loaded machine
// disturbs them less. Counters: lines/s (source lines of the named files,
// copybooks not counted, per CPU second), ns/line, peak_kB (the largest
// resident size of the process) and peakB/line: that peak above the peak of
// the same command over a program of a few lines (the fixed amount: code,
// tables, buffers), per line of the largest file of the run.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_corpus.h"
#include "synthetic_program.h"

namespace {

using vemlo_bench::CorpusFolder;

struct ChildRun {
    bool ok = false;
    double cpuSeconds = 0;
    long peakKb = 0;
};

ChildRun RunVemlo(std::vector<std::string> args) {
    args.insert(args.begin(), VEMLO_PROGRAM);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
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
    ChildRun run;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) != 127;
    run.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    run.peakKb = usage.ru_maxrss;
    return run;
}

long long CountLines(const std::string& file) {
    std::ifstream in(file);
    long long n = 0;
    for (std::string l; std::getline(in, l);) ++n;
    return n;
}

// A program of a few lines, for the fixed part of the peak.
std::string TinyProgram() {
    static const vemlo_bench::BenchTempDir dir("vemlo-bench-tiny");
    std::filesystem::create_directories(dir.path);
    const std::string file = (dir.path / "TINY.cbl").string();
    std::ofstream out(file);
    out << "       IDENTIFICATION DIVISION.\n"
           "       PROGRAM-ID. TINY.\n"
           "       DATA DIVISION.\n"
           "       WORKING-STORAGE SECTION.\n"
           "       01 A PIC X.\n"
           "       PROCEDURE DIVISION.\n"
           "           MOVE SPACE TO A.\n"
           "           STOP RUN.\n";
    return file;
}

// Runs `options` + `files` as often as the benchmark asks and reports.
void TimeRuns(benchmark::State& state, const std::vector<std::string>& options,
              const std::vector<std::string>& files) {
    long long lines = 0, largest = 0;
    for (const std::string& f : files) {
        const long long n = CountLines(f);
        lines += n;
        largest = std::max(largest, n);
    }
    std::vector<std::string> args = options;
    args.insert(args.end(), files.begin(), files.end());
    std::vector<std::string> tinyArgs = options;
    tinyArgs.push_back(TinyProgram());
    const ChildRun tiny = RunVemlo(tinyArgs);

    long peakKb = 0;
    for (auto _ : state) {
        const ChildRun run = RunVemlo(args);
        if (!run.ok) {
            state.SkipWithError("vemlo did not run");
            return;
        }
        state.SetIterationTime(run.cpuSeconds);
        peakKb = std::max(peakKb, run.peakKb);
    }
    state.counters["lines/s"] =
        benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["ns/line"] =
        benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsIterationInvariantRate |
                                                           benchmark::Counter::kInvert,
                           benchmark::Counter::kIs1000);
    state.counters["peak_kB"] = static_cast<double>(peakKb);
    state.counters["fixed_kB"] = static_cast<double>(tiny.peakKb);
    state.counters["peakB/line"] =
        largest > 0 ? 1024.0 * static_cast<double>(peakKb - tiny.peakKb) / static_cast<double>(largest) : 0;
    state.counters["files"] = static_cast<double>(files.size());
}

std::vector<std::string> AcceptedNist() {
    std::vector<std::string> files;
    std::ifstream list(CorpusFolder() / "nist-accepted.txt");
    for (std::string name; std::getline(list, name);) {
        while (!name.empty() && (name.back() == '\r' || name.back() == ' ')) name.pop_back();
        if (!name.empty()) files.push_back((CorpusFolder() / "nist" / name).string());
    }
    return files;
}

void NistRun(benchmark::State& state, const char* query) {
    const std::vector<std::string> files = AcceptedNist();
    if (files.empty()) {
        state.SkipWithError("corpus absent");
        return;
    }
    TimeRuns(state,
             {"-lang=ansi85", "-copylib-dir=" + (CorpusFolder() / "nist-copy").string(), "-copylib-sfx=.CPY",
              std::string("-q=") + query, "-silent"},
             files);
}

void BM_VemloNist(benchmark::State& state) { NistRun(state, "STMT_MOVE"); }
BENCHMARK(BM_VemloNist)->Unit(benchmark::kMillisecond)->UseManualTime();

// The walk never hands a null node to the query: it is evaluated at every
// node and holds at none.
void BM_VemloNistNoMatch(benchmark::State& state) { NistRun(state, "OP == NULL_NODE"); }
BENCHMARK(BM_VemloNistNoMatch)->Unit(benchmark::kMillisecond)->UseManualTime();

// Every statement is an element of a statement list.
void BM_VemloNistEveryStatement(benchmark::State& state) { NistRun(state, "PARENT == STMT_LIST"); }
BENCHMARK(BM_VemloNistEveryStatement)->Unit(benchmark::kMillisecond)->UseManualTime();

// Arg: lines of the synthetic program.
void BM_VemloSynthetic(benchmark::State& state) {
    const vemlo_bench::BenchTempDir dir("vemlo-bench-tool-synthetic");
    const vemlo_bench::SyntheticProgram program = vemlo_bench::WriteSyntheticProgram(dir.path, state.range(0));
    TimeRuns(state, {"-lang=ansi85", "-copylib-dir=" + program.copyDir, "-copylib-sfx=.cpy", "-q=STMT_MOVE", "-silent"},
             {program.file});
}
BENCHMARK(BM_VemloSynthetic)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
