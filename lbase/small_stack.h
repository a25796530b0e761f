// DovSmallStack: the stack of a walk that keeps its own frames instead of
// calling itself once per level. The first N frames live in the object
// (on the machine stack of the walk, no allocation for ordinary depths);
// deeper ones move to the heap, which grows to any depth. Frames are plain
// records, copied bytewise.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <type_traits>

template <typename T, std::size_t N = 64>
class DovSmallStack {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

public:
    DovSmallStack() = default;
    DovSmallStack(const DovSmallStack&) = delete;
    DovSmallStack& operator=(const DovSmallStack&) = delete;

    bool empty() const { return top_ == base_; }
    std::size_t size() const { return static_cast<std::size_t>(top_ - base_); }
    T& back() { return top_[-1]; }
    void push_back(const T& frame) {
        if (top_ == end_) Grow();
        *top_++ = frame;
    }
    void pop_back() { --top_; }

private:
    // Twice the room, moved to the heap.
    [[gnu::noinline]] void Grow() {
        const std::size_t size = this->size();
        const std::size_t room = static_cast<std::size_t>(end_ - base_) * 2;
        std::unique_ptr<T[]> fresh(new T[room]);
        std::memcpy(static_cast<void*>(fresh.get()), base_, size * sizeof(T));
        heap_ = std::move(fresh);
        base_ = heap_.get();
        top_ = base_ + size;
        end_ = base_ + room;
    }

    T* base_ = inline_;
    T* top_ = inline_;
    T* end_ = inline_ + N;
    std::unique_ptr<T[]> heap_;
    T inline_[N];
};
