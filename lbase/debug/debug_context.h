// The debug-context stack: code that wants to be named in a crash report
// pushes a context while it works; the fatal-signal handler lists them.
#pragma once

class DovDebugContext {
public:
    virtual const char* Describe() const = 0;
    // Virtual: the stack deletes the contexts it is handed through this base.
    virtual ~DovDebugContext() = default;
};

// A context described by a text that the caller keeps alive (not copied).
class DovStringDebugContext : public DovDebugContext {
public:
    explicit DovStringDebugContext(const char* text) : text_(text) {}
    const char* Describe() const override { return text_; }

private:
    const char* text_;
};

constexpr int DEBUG_CONTEXT_STACK_DEPTH = 1000;

// The stack grows downward: the entries in use are those from index
// DovDebugContextStackPtr to DEBUG_CONTEXT_STACK_DEPTH - 1, the newest first.
extern DovDebugContext* DovDebugContextStack[DEBUG_CONTEXT_STACK_DEPTH];
extern int DovDebugContextStackPtr;

// Pushes a context made with new; the stack owns it until it is left.
void DovEnterDebugContext(DovDebugContext* context);
// Pops and deletes the newest context.
void DovLeaveDebugContext();
// Prints the stack on standard output, oldest first, and flushes it.
void DovDumpDebugContexts();
