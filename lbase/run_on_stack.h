// Running a piece of work on a machine stack of a chosen size, for passes
// that call themselves once per tree level and meet trees deeper than the
// calling thread's stack holds. The caller waits for the work to end.
#pragma once

#include <cstddef>
#include <type_traits>

// Runs body(context) to its end on a new thread whose stack holds at least
// `bytes`. False when the thread cannot be made; nothing is run then.
bool DovRunOnStack(std::size_t bytes, void (*body)(void*), void* context);

// The same for any callable.
template <typename F>
bool DovRunOnStack(std::size_t bytes, F& work) {
    return DovRunOnStack(
        bytes, [](void* w) { (*static_cast<F*>(w))(); }, const_cast<void*>(static_cast<const void*>(&work)));
}
