#include "lbase/stack_room.h"

#include <cstdint>
#include <pthread.h>

std::size_t DovStackRoom() {
    pthread_attr_t attr;
    if (pthread_getattr_np(pthread_self(), &attr) != 0) return 0;
    void* low = nullptr;
    std::size_t size = 0;
    const bool known = pthread_attr_getstack(&attr, &low, &size) == 0;
    pthread_attr_destroy(&attr);
    if (!known) return 0;
    // The frame's own address, on the machine stack whatever the sanitizers
    // do with locals.
    const auto here = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
    const auto end = reinterpret_cast<std::uintptr_t>(low);
    return here > end ? here - end : 0;
}
