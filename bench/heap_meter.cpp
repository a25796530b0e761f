// Replaces the global operator new and delete of a benchmark program to
// count the heap bytes in use (as the C library's usable block sizes).
#include "bench/heap_meter.h"

#include <malloc.h>

#include <cstdlib>
#include <new>

namespace {

long long inUse = 0;
long long peak = 0;

void* Allocate(std::size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    inUse += static_cast<long long>(malloc_usable_size(p));
    if (inUse > peak) peak = inUse;
    return p;
}

void Release(void* p) noexcept {
    if (!p) return;
    inUse -= static_cast<long long>(malloc_usable_size(p));
    std::free(p);
}

}  // namespace

namespace vemlo_bench {

long long HeapInUse() { return inUse; }
long long HeapPeak() { return peak; }
void ResetHeapPeak() { peak = inUse; }

}  // namespace vemlo_bench

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }
