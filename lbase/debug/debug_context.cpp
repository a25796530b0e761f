#include "lbase/debug/debug_context.h"

#include <cstdio>
#include <cstdlib>

DovDebugContext* DovDebugContextStack[DEBUG_CONTEXT_STACK_DEPTH];
int DovDebugContextStackPtr = DEBUG_CONTEXT_STACK_DEPTH;

namespace {

// The nesting checks stay in every build: a broken nesting would otherwise
// write outside the stack.
[[noreturn]] void NestingFailed(const char* function, const char* condition) {
    std::fflush(stdout);
    std::fprintf(stderr, "lbase/debug: %s: Assertion `%s' failed.\n", function, condition);
    std::abort();
}

}  // namespace

void DovEnterDebugContext(DovDebugContext* context) {
    if (!(DovDebugContextStackPtr > 0)) NestingFailed("DovEnterDebugContext", "DovDebugContextStackPtr > 0");
    DovDebugContextStack[--DovDebugContextStackPtr] = context;
}

void DovLeaveDebugContext() {
    if (!(DovDebugContextStackPtr < DEBUG_CONTEXT_STACK_DEPTH)) {
        NestingFailed("DovLeaveDebugContext", "DovDebugContextStackPtr < DEBUG_CONTEXT_STACK_DEPTH");
    }
    delete DovDebugContextStack[DovDebugContextStackPtr];
    DovDebugContextStack[DovDebugContextStackPtr++] = nullptr;
}

void DovDumpDebugContexts() {
    std::printf("Debug context stack dump: \n");
    int top = DovDebugContextStackPtr < 0 ? 0 : DovDebugContextStackPtr;
    for (int i = DEBUG_CONTEXT_STACK_DEPTH - 1; i >= top; --i) {
        const char* text = DovDebugContextStack[i] ? DovDebugContextStack[i]->Describe() : nullptr;
        std::printf("  %s\n", text ? text : "");
    }
    std::printf("\n\n");
    std::fflush(stdout);
}
