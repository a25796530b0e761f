// DovSmallBlocks: memory for the many small, short-lived records of the
// lexer and the tree (tokens, token items, list cells). Blocks come in
// classes of 16-byte steps up to 240 bytes; a freed block goes onto the free
// list of its class and is handed out again before new memory is taken.
// Memory is taken from the heap in chunks of 64 KB and kept for reuse, so a
// run of many files stays at the level of its largest file.
//
// Larger sizes go to the global heap. Under AddressSanitizer every block
// comes from the global heap, so that stale pointers and leaks are still
// found. In debug builds a freed block is filled with 0xAA behind its
// free-list link.
//
// The program uses the library from a single thread.
#pragma once

#include <cstddef>
#include <cstring>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define VEMLO_SMALL_BLOCKS_OFF 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VEMLO_SMALL_BLOCKS_OFF 1
#endif
#endif

class DovSmallBlocks {
public:
    static constexpr std::size_t kStep = 16;
    static constexpr std::size_t kClasses = 16;  // class k holds blocks of k * kStep bytes

    static void* Take(std::size_t size) {
#ifdef VEMLO_SMALL_BLOCKS_OFF
        return ::operator new(size);
#else
        const std::size_t k = (size + kStep - 1) / kStep;
        if (k == 0 || k >= kClasses) return ::operator new(size);
        FreeBlock* block = heads_[k];
        if (!block) return Refill(k);
        heads_[k] = block->next;
        return block;
#endif
    }

    // `size` is the size given to Take for the block.
    static void Give(void* p, std::size_t size) noexcept {
        if (!p) return;
#ifdef VEMLO_SMALL_BLOCKS_OFF
        ::operator delete(p);
        (void)size;
#else
        const std::size_t k = (size + kStep - 1) / kStep;
        if (k == 0 || k >= kClasses) {
            ::operator delete(p);
            return;
        }
#ifndef NDEBUG
        std::memset(p, 0xAA, k * kStep);
#endif
        auto* block = static_cast<FreeBlock*>(p);
        block->next = heads_[k];
        heads_[k] = block;
#endif
    }

private:
    struct FreeBlock {
        FreeBlock* next;
    };
    // Takes a new chunk for class k, threads all but its first block onto the
    // free list and returns the first.
    static void* Refill(std::size_t k);

    static inline FreeBlock* heads_[kClasses] = {};
};

// The class-specific operators of a record whose memory comes from
// DovSmallBlocks (place inside the class body).
#define VEMLO_SMALL_BLOCK_OPERATORS                                                             \
    static void* operator new(std::size_t size) { return DovSmallBlocks::Take(size); }          \
    static void operator delete(void* p, std::size_t size) noexcept { DovSmallBlocks::Give(p, size); }

// An allocator for standard containers whose arrays come from
// DovSmallBlocks (arrays above the largest class go to the global heap).
template <typename T>
struct DovSmallBlockAllocator {
    using value_type = T;
    DovSmallBlockAllocator() = default;
    template <typename U>
    DovSmallBlockAllocator(const DovSmallBlockAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) { return static_cast<T*>(DovSmallBlocks::Take(n * sizeof(T))); }
    void deallocate(T* p, std::size_t n) noexcept { DovSmallBlocks::Give(p, n * sizeof(T)); }
    template <typename U>
    bool operator==(const DovSmallBlockAllocator<U>&) const noexcept { return true; }
};
