// DovSmallBlocks: memory for the many small, short-lived records of the
// lexer and the tree (tokens, token items, link arrays, nodes, slots).
// Blocks come in classes of 8-byte steps up to 240 bytes, so that a record
// whose size is an odd multiple of 8 (a 56-byte word leaf or operator node,
// a long image) does not carry 8 bytes of rounding.
//
// Memory comes in chunks of 16 KB, aligned to their size and carved from
// larger regions of the heap, each chunk serving one class at a time. A
// chunk hands out its blocks in address order from its untouched end, and
// takes back freed blocks on a free list of its own;
// the header at its start counts the blocks in use. A chunk whose blocks are
// all free again goes back to a common pool of empty chunks, from which any
// class starts again at the chunk's first block. So when a file's tree is
// deleted its chunks empty, and the next file's records are laid out anew in
// the order they are made (no chase through a scattered free list, no fresh
// pages), and a run of many files stays at the level of its largest file.
// Chunks are kept for reuse, never given back.
//
// Larger sizes go to the global heap. Under AddressSanitizer every block
// comes from the global heap, so that stale pointers and leaks are still
// found. In debug builds a freed block is filled with 0xAA behind its
// free-list link.
//
// The program uses the library from a single thread.
#pragma once

#include <cstddef>
#include <cstdint>
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
    static constexpr std::size_t kStep = 8;
    static constexpr std::size_t kClasses = 31;  // class k holds blocks of k * kStep bytes
    // Small, so that the part-used chunks of the classes add little to the
    // peak.
    static constexpr std::size_t kChunk = 16 * 1024;
    static constexpr std::size_t kHeader = 64;  // the chunk header; blocks follow it

    static void* Take(std::size_t size) {
#ifdef VEMLO_SMALL_BLOCKS_OFF
        return ::operator new(size);
#else
        const std::size_t k = (size + kStep - 1) / kStep;
        if (k == 0 || k >= kClasses) return ::operator new(size);
        Current& s = current_[k];
        if (FreeBlock* block = s.free) {
            FreeBlock* next = block->next;
            s.free = next;
            // The next take of the class reads that block's link: fetch it
            // now rather than wait for it then.
            __builtin_prefetch(next, 1);
            ++s.live;
            return block;
        }
        if (s.bump != s.end) {
            char* p = s.bump;
            s.bump = p + k * kStep;
            ++s.live;
            return p;
        }
        return TakeSlow(k);
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
        Chunk* c = ChunkOf(p);
        auto* block = static_cast<FreeBlock*>(p);
        Current& s = current_[k];
        if (c == s.chunk) {
            block->next = s.free;
            s.free = block;
            if (--s.live == 0) {
                // Start the chunk again from its first block.
                s.free = nullptr;
                s.bump = reinterpret_cast<char*>(c) + kHeader;
            }
            return;
        }
        block->next = c->free;
        c->free = block;
        if (--c->live == 0 || c->state == kFull) GiveSlow(c);
#endif
    }

    // Figures for tests: chunks taken from the heap so far, chunks in the
    // pool of empty ones, blocks in use in the chunks of class k.
    static std::size_t ChunksTaken() { return chunks_taken_; }
    static std::size_t EmptyChunks();
    static std::size_t BlocksInUse(std::size_t k);

private:
    struct FreeBlock {
        FreeBlock* next;
    };
    enum State : std::uint8_t { kEmpty, kCurrent, kAvail, kFull };
    // The header at the start of a chunk. While the chunk is its class's
    // current one, its free list, bump pointer and count are kept in the
    // class's Current record instead.
    struct Chunk {
        FreeBlock* free;   // freed blocks of the chunk
        char* bump;        // the first block never handed out
        char* end;         // behind the last whole block
        Chunk* prev;       // neighbours in the class's list of chunks with
        Chunk* next;       // free blocks, or (next) in the empty pool
        Chunk* all;        // the next of every chunk taken
        std::uint32_t live;
        std::uint8_t k;
        State state;
    };
    static_assert(sizeof(Chunk) <= kHeader);

    static Chunk* ChunkOf(void* p) {
        return reinterpret_cast<Chunk*>(reinterpret_cast<std::uintptr_t>(p) & ~(std::uintptr_t{kChunk} - 1));
    }
    // A chunk never used, carved from a region taken from the heap.
    static void* NewChunk();
    // The current chunk of class k is used up: takes the next one (a chunk
    // of the class with free blocks, an empty chunk or a new one).
    static void* TakeSlow(std::size_t k);
    // A block went back to a chunk (not a current one) that was used up, or
    // the chunk is empty.
    static void GiveSlow(Chunk* c) noexcept;

    // The chunk a class takes from, with its working fields.
    struct Current {
        FreeBlock* free;
        char* bump;
        char* end;
        Chunk* chunk;
        std::uint64_t live;
    };

    static inline Current current_[kClasses] = {};
    static inline Chunk* avail_[kClasses] = {};
    static inline Chunk* empty_ = nullptr;
    static inline Chunk* all_ = nullptr;
    static inline std::size_t chunks_taken_ = 0;
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
