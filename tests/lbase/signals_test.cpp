#include <gtest/gtest.h>

#include <csignal>
#include <iostream>
#include <string>

#include "lbase/lbase.h"
#include "tests/support/child_process.h"

namespace {

using vemlo_test::RunInChild;

class Tracked : public DovDebugContext {
public:
    Tracked(const char* text, bool* deleted) : text_(text), deleted_(deleted) {}
    ~Tracked() override { *deleted_ = true; }
    const char* Describe() const override { return text_.c_str(); }

private:
    std::string text_;  // owned, so that a delete through the base must free it
    bool* deleted_;
};

std::string BadSignalLine(int signal) {
    return "\n\n*** Caught a bad signal " + std::to_string(signal) + ". ***\n\n";
}

TEST(DebugContext, EnterAndLeave) {
    int before = DovDebugContextStackPtr;
    bool inner_deleted = false, outer_deleted = false;
    DovEnterDebugContext(new Tracked("outer", &outer_deleted));
    DovEnterDebugContext(new Tracked("inner", &inner_deleted));
    EXPECT_EQ(DovDebugContextStackPtr, before - 2);
    EXPECT_STREQ(DovDebugContextStack[DovDebugContextStackPtr]->Describe(), "inner");
    DovLeaveDebugContext();
    EXPECT_TRUE(inner_deleted);
    EXPECT_FALSE(outer_deleted);
    DovLeaveDebugContext();
    EXPECT_TRUE(outer_deleted);
    EXPECT_EQ(DovDebugContextStackPtr, before);
}

TEST(DebugContext, DumpOldestFirst) {
    auto r = RunInChild([] {
        DovDumpDebugContexts();
        static const char text[] = "A";
        DovEnterDebugContext(new DovStringDebugContext(text));
        DovEnterDebugContext(new DovStringDebugContext("B"));
        DovDumpDebugContexts();
    });
    EXPECT_EQ(r.out, "Debug context stack dump: \n\n\nDebug context stack dump: \n  A\n  B\n\n\n");
}

TEST(DebugContext, BrokenNestingStops) {
    auto over = RunInChild([] {
        for (int i = 0; i <= DEBUG_CONTEXT_STACK_DEPTH; ++i) DovEnterDebugContext(new DovStringDebugContext("x"));
    });
    EXPECT_EQ(over.signal, SIGABRT);
    EXPECT_EQ(over.err, "lbase/debug: DovEnterDebugContext: Assertion `DovDebugContextStackPtr > 0' failed.\n");

    auto under = RunInChild([] { DovLeaveDebugContext(); });
    EXPECT_EQ(under.signal, SIGABRT);
    EXPECT_EQ(under.err,
              "lbase/debug: DovLeaveDebugContext: Assertion `DovDebugContextStackPtr < DEBUG_CONTEXT_STACK_DEPTH' "
              "failed.\n");
}

TEST(Signals, FatalSignalDumpsContexts) {
    auto r = RunInChild([] {
        DovSetSignalHandlers();
        std::cout << "working\n";
        DovEnterDebugContext(new DovStringDebugContext("A"));
        DovEnterDebugContext(new DovStringDebugContext("B"));
        std::raise(SIGSEGV);
        std::cout << "not reached\n";
    });
    ASSERT_TRUE(r.exited);
    EXPECT_EQ(r.exit_status, 30);
    EXPECT_EQ(r.out, "working\n" + BadSignalLine(11) + "Debug context stack dump: \n  A\n  B\n\n\n");
    EXPECT_EQ(r.err, BadSignalLine(11));
}

TEST(Signals, EveryFatalSignal) {
    for (int sig : {SIGBUS, SIGFPE, SIGILL, SIGSEGV}) {
        auto r = RunInChild([sig] {
            DovSetSignalHandlers();
            std::raise(sig);
        });
        EXPECT_EQ(r.exit_status, 30) << sig;
        EXPECT_EQ(r.out, BadSignalLine(sig) + "Debug context stack dump: \n\n\n");
        EXPECT_EQ(r.err, BadSignalLine(sig));
    }
}

// Calls itself until the machine stack runs out (the flag is never
// cleared); the frame's buffer and the work after the call keep the
// compiler from turning it into a loop.
volatile bool g_deeper = true;
[[gnu::noinline]] int RunOutOfStack(int depth) {
    volatile char frame[256];
    frame[0] = static_cast<char>(depth);
    return (g_deeper ? RunOutOfStack(depth + 1) : 0) + frame[0];
}

// A fault from a machine stack that has run out: the handler still runs,
// on its own stack, and ends with status 30 and its message.
TEST(Signals, StackOverflowStillGivesTheMessage) {
    auto r = RunInChild([] {
        DovSetSignalHandlers();
        DovEnterDebugContext(new DovStringDebugContext("deep"));
        std::cout << "working" << std::endl;
        std::cout << RunOutOfStack(0) << std::endl;
    });
    ASSERT_TRUE(r.exited) << "signal " << r.signal;
    EXPECT_EQ(r.exit_status, 30);
    EXPECT_EQ(r.out, "working\n" + BadSignalLine(SIGSEGV) + "Debug context stack dump: \n  deep\n\n\n");
    EXPECT_EQ(r.err, BadSignalLine(SIGSEGV));
}

TEST(Signals, InterruptStops) {
    auto r = RunInChild([] {
        DovSetSignalHandlers();
        DovEnterDebugContext(new DovStringDebugContext("A"));
        std::raise(SIGINT);
    });
    ASSERT_TRUE(r.exited);
    EXPECT_EQ(r.exit_status, 32);
    EXPECT_EQ(r.out, "\n\n--- Interrupted. Stopping. ---\n\n");
    EXPECT_EQ(r.err, "");
}

// An exit hook that crashes stands for an exit that cannot finish: the
// second signal must end the process with the status already chosen.
TEST(Signals, CrashDuringExitKeepsTheStatus) {
    struct Case {
        int first;
        int status;
    };
    for (Case c : {Case{SIGINT, 32}, Case{SIGSEGV, 30}}) {
        auto r = RunInChild([c] {
            DovSetSignalHandlers();
            DovExitHook = [](int status) {
                std::cout << "hook " << status << std::endl;
                std::raise(SIGSEGV);
                std::raise(SIGINT);
            };
            std::raise(c.first);
        });
        ASSERT_TRUE(r.exited) << c.first;
        EXPECT_EQ(r.exit_status, c.status);
        EXPECT_NE(r.out.find("hook " + std::to_string(c.status) + "\n"), std::string::npos) << r.out;
        EXPECT_EQ(r.err, c.first == SIGSEGV ? BadSignalLine(11) : "");
    }
}

TEST(Signals, SwitchInstallsNothing) {
    auto r = RunInChild([] {
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGSEGV, SIG_DFL);
        DovNoSignalHandlers = 1;
        DovSetSignalHandlers();
        for (int sig : {SIGINT, SIGSEGV}) {
            struct sigaction now {};
            sigaction(sig, nullptr, &now);
            std::cout << (now.sa_handler == SIG_DFL);
        }
    });
    EXPECT_EQ(r.out, "11");
}

}  // namespace
