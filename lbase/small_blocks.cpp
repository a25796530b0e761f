#include "lbase/small_blocks.h"

void* DovSmallBlocks::Refill(std::size_t k) {
    constexpr std::size_t kChunk = 64 * 1024;
    const std::size_t size = k * kStep;
    const std::size_t count = kChunk / size;
    char* chunk = static_cast<char*>(::operator new(count * size));
    // Blocks 1..count-1 go onto the free list in address order.
    FreeBlock* head = heads_[k];
    for (std::size_t i = count - 1; i >= 1; --i) {
        auto* block = reinterpret_cast<FreeBlock*>(chunk + i * size);
        block->next = head;
        head = block;
    }
    heads_[k] = head;
    return chunk;
}
