// How much of the calling thread's machine stack is still free, for passes
// that call themselves once per tree level: they measure a tree's depth
// first and refuse one deeper than the stack holds, instead of running out
// of stack part way.
#pragma once

#include <cstddef>

// Bytes between the caller's frame and the low end of its thread's stack;
// 0 when the system does not tell.
std::size_t DovStackRoom();
