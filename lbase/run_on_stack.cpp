#include "lbase/run_on_stack.h"

#include <pthread.h>

namespace {

struct Work {
    void (*body)(void*);
    void* context;
};

void* Run(void* w) {
    const Work& work = *static_cast<const Work*>(w);
    work.body(work.context);
    return nullptr;
}

}  // namespace

bool DovRunOnStack(std::size_t bytes, void (*body)(void*), void* context) {
    pthread_attr_t attr;
    if (pthread_attr_init(&attr) != 0) return false;
    Work work{body, context};
    pthread_t thread;
    const bool made = pthread_attr_setstacksize(&attr, bytes) == 0 &&
                      pthread_create(&thread, &attr, Run, &work) == 0;
    pthread_attr_destroy(&attr);
    if (made) pthread_join(thread, nullptr);
    return made;
}
