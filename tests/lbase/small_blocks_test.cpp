#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <set>
#include <vector>

#include "lbase/small_blocks.h"

namespace {

#ifdef VEMLO_SMALL_BLOCKS_OFF
#define SKIP_WITHOUT_CHUNKS() GTEST_SKIP() << "small blocks come from the global heap"
#else
#define SKIP_WITHOUT_CHUNKS() (void)0
#endif

using SB = DovSmallBlocks;

// Blocks of one class a chunk holds.
constexpr std::size_t PerChunk(std::size_t size) { return (SB::kChunk - SB::kHeader) / size; }

std::uintptr_t ChunkBase(const void* p) {
    return reinterpret_cast<std::uintptr_t>(p) & ~(std::uintptr_t{SB::kChunk} - 1);
}

TEST(SmallBlocks, BlocksAreDistinctAlignedAndWritable) {
    SKIP_WITHOUT_CHUNKS();
    constexpr std::size_t size = 48;
    const std::size_t before = SB::BlocksInUse(size / SB::kStep);
    std::vector<void*> blocks;
    std::set<std::uintptr_t> seen;
    for (std::size_t i = 0; i < 3 * PerChunk(size) + 7; ++i) {
        void* p = SB::Take(size);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % SB::kStep, 0u);
        // Never in a chunk's header.
        EXPECT_GE(reinterpret_cast<std::uintptr_t>(p) - ChunkBase(p), SB::kHeader);
        EXPECT_LE(reinterpret_cast<std::uintptr_t>(p) - ChunkBase(p) + size, SB::kChunk);
        std::memset(p, static_cast<int>(i & 0xff), size);
        EXPECT_TRUE(seen.insert(reinterpret_cast<std::uintptr_t>(p)).second);
        blocks.push_back(p);
    }
    EXPECT_EQ(SB::BlocksInUse(size / SB::kStep), before + blocks.size());
    for (std::size_t i = 0; i < blocks.size(); ++i)
        EXPECT_EQ(static_cast<unsigned char*>(blocks[i])[size - 1], static_cast<unsigned char>(i & 0xff));
    for (void* p : blocks) SB::Give(p, size);
    EXPECT_EQ(SB::BlocksInUse(size / SB::kStep), before);
}

TEST(SmallBlocks, FreshChunkHandsOutBlocksInAddressOrder) {
    SKIP_WITHOUT_CHUNKS();
    constexpr std::size_t size = 224;
    std::vector<void*> blocks;
    // Fill whatever is left of the current chunk, then a whole new one.
    for (std::size_t i = 0; i < 2 * PerChunk(size); ++i) blocks.push_back(SB::Take(size));
    std::size_t inOrder = 0;
    for (std::size_t i = 1; i < blocks.size(); ++i)
        inOrder += static_cast<char*>(blocks[i]) == static_cast<char*>(blocks[i - 1]) + size;
    // Every step but the ones into another chunk.
    EXPECT_GE(inOrder, blocks.size() - 3);
    for (void* p : blocks) SB::Give(p, size);
}

TEST(SmallBlocks, EmptiedChunksAreReusedWithoutNewMemory) {
    SKIP_WITHOUT_CHUNKS();
    constexpr std::size_t size = 160;
    std::vector<void*> blocks;
    for (std::size_t i = 0; i < 4 * PerChunk(size); ++i) blocks.push_back(SB::Take(size));
    const std::size_t taken = SB::ChunksTaken();
    // Freed in an order unlike the order of taking.
    std::mt19937 rng(7);
    std::shuffle(blocks.begin(), blocks.end(), rng);
    for (void* p : blocks) SB::Give(p, size);
    EXPECT_GE(SB::EmptyChunks(), 3u);
    // The same number of blocks again, of this class and of another one:
    // no chunk is taken from the heap.
    blocks.clear();
    for (std::size_t i = 0; i < 2 * PerChunk(size); ++i) blocks.push_back(SB::Take(size));
    std::vector<void*> others;
    for (std::size_t i = 0; i < PerChunk(96); ++i) others.push_back(SB::Take(96));
    EXPECT_EQ(SB::ChunksTaken(), taken);
    for (void* p : others) SB::Give(p, 96);
    for (void* p : blocks) SB::Give(p, size);
}

TEST(SmallBlocks, UsedUpChunkServesAgainWhenABlockComesBack) {
    SKIP_WITHOUT_CHUNKS();
    constexpr std::size_t size = 208;
    std::vector<void*> blocks;
    for (std::size_t i = 0; i < 3 * PerChunk(size); ++i) blocks.push_back(SB::Take(size));
    const std::size_t taken = SB::ChunksTaken();
    // Free every second block: every used-up chunk gets blocks back.
    std::vector<void*> kept;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        if (i % 2)
            SB::Give(blocks[i], size);
        else
            kept.push_back(blocks[i]);
    }
    std::set<void*> live(kept.begin(), kept.end());
    std::vector<void*> again;
    for (std::size_t i = 0; i < blocks.size() / 2; ++i) {
        void* p = SB::Take(size);
        EXPECT_TRUE(live.insert(p).second) << "block handed out twice";
        again.push_back(p);
    }
    EXPECT_LE(SB::ChunksTaken(), taken + 1);
    for (void* p : again) SB::Give(p, size);
    for (void* p : kept) SB::Give(p, size);
}

TEST(SmallBlocks, RandomTakesAndGivesOfAllClasses) {
    SKIP_WITHOUT_CHUNKS();
    std::mt19937 rng(11);
    struct Held {
        unsigned char* p;
        std::size_t size;
        unsigned char mark;
    };
    std::vector<Held> held;
    std::size_t before[SB::kClasses];
    for (std::size_t k = 0; k < SB::kClasses; ++k) before[k] = SB::BlocksInUse(k);
    for (int step = 0; step < 200000; ++step) {
        if (held.empty() || rng() % 5 < 3) {
            const std::size_t size = 1 + rng() % (SB::kStep * (SB::kClasses - 1));
            auto* p = static_cast<unsigned char*>(SB::Take(size));
            const auto mark = static_cast<unsigned char>(step);
            std::memset(p, mark, size);
            held.push_back({p, size, mark});
        } else {
            const std::size_t i = rng() % held.size();
            const Held h = held[i];
            held[i] = held.back();
            held.pop_back();
            // Nothing else wrote into the block while it was held.
            for (std::size_t b = 0; b < h.size; ++b) ASSERT_EQ(h.p[b], h.mark);
            SB::Give(h.p, h.size);
        }
    }
    for (const Held& h : held) SB::Give(h.p, h.size);
    for (std::size_t k = 0; k < SB::kClasses; ++k) EXPECT_EQ(SB::BlocksInUse(k), before[k]) << "class " << k;
}

TEST(SmallBlocks, LargeSizesGoToTheHeap) {
    void* p = SB::Take(SB::kStep * SB::kClasses);
    ASSERT_NE(p, nullptr);
    std::memset(p, 1, SB::kStep * SB::kClasses);
    SB::Give(p, SB::kStep * SB::kClasses);
    SB::Give(nullptr, 32);
}

}  // namespace
