#include "lbase/small_blocks.h"

#ifndef VEMLO_SMALL_BLOCKS_OFF

namespace {

constexpr std::size_t kRegionMax = 1024 * 1024;

// Chunks not yet handed out of the last region taken from the heap.
char* g_region_next = nullptr;
char* g_region_end = nullptr;

}  // namespace

void* DovSmallBlocks::NewChunk() {
    if (g_region_next == g_region_end) {
        // Regions grow with the run (1, 2, 4 ... chunks, up to 1 MB), so a
        // short run takes little; each is aligned by hand inside a block one
        // chunk longer, since aligned heap requests of this size leave gaps
        // in the heap that nothing else fills.
        std::size_t n = chunks_taken_ == 0 ? 1 : chunks_taken_;
        if (n > kRegionMax / kChunk) n = kRegionMax / kChunk;
        auto* raw = static_cast<char*>(::operator new(n * kChunk + kChunk));
        const std::uintptr_t at = (reinterpret_cast<std::uintptr_t>(raw) + kChunk - 1) & ~(std::uintptr_t{kChunk} - 1);
        g_region_next = reinterpret_cast<char*>(at);
        g_region_end = g_region_next + n * kChunk;
    }
    void* c = g_region_next;
    g_region_next += kChunk;
    ++chunks_taken_;
    return c;
}

void* DovSmallBlocks::TakeSlow(std::size_t k) {
    Current& s = current_[k];
    if (Chunk* used = s.chunk) {
        // Used up: it comes back to the class's list when a block is freed.
        used->free = s.free;
        used->bump = s.bump;
        used->live = static_cast<std::uint32_t>(s.live);
        used->state = kFull;
        s.chunk = nullptr;
    }
    Chunk* c = avail_[k];
    if (c) {
        avail_[k] = c->next;
        if (c->next) c->next->prev = nullptr;
    } else {
        if ((c = empty_) != nullptr) {
            empty_ = c->next;
        } else {
            c = static_cast<Chunk*>(NewChunk());
            c->all = all_;
            all_ = c;
        }
        const std::size_t size = k * kStep;
        char* first = reinterpret_cast<char*>(c) + kHeader;
        c->free = nullptr;
        c->bump = first;
        c->end = first + (kChunk - kHeader) / size * size;
        c->live = 0;
        c->k = static_cast<std::uint8_t>(k);
    }
    c->prev = c->next = nullptr;
    c->state = kCurrent;
    s.chunk = c;
    s.free = c->free;
    s.bump = c->bump;
    s.end = c->end;
    s.live = c->live;
    return Take(k * kStep);
}

void DovSmallBlocks::GiveSlow(Chunk* c) noexcept {
    const std::size_t k = c->k;
    if (c->live != 0) {
        // The first block freed in a used-up chunk: it can serve again.
        c->state = kAvail;
        c->prev = nullptr;
        c->next = avail_[k];
        if (c->next) c->next->prev = c;
        avail_[k] = c;
        return;
    }
    if (c->state == kAvail) {
        if (c->prev)
            c->prev->next = c->next;
        else
            avail_[k] = c->next;
        if (c->next) c->next->prev = c->prev;
    }
    c->state = kEmpty;
    c->next = empty_;
    empty_ = c;
}

std::size_t DovSmallBlocks::EmptyChunks() {
    std::size_t n = 0;
    for (const Chunk* c = empty_; c; c = c->next) ++n;
    return n;
}

std::size_t DovSmallBlocks::BlocksInUse(std::size_t k) {
    if (k == 0 || k >= kClasses) return 0;
    std::size_t n = 0;
    for (const Chunk* c = all_; c; c = c->all) {
        if (c->state == kEmpty || c->k != k) continue;
        n += c == current_[k].chunk ? current_[k].live : c->live;
    }
    return n;
}

#else

std::size_t DovSmallBlocks::EmptyChunks() { return 0; }
std::size_t DovSmallBlocks::BlocksInUse(std::size_t) { return 0; }

#endif
