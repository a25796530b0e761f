#include "tests/support/small_stack_run.h"

#include <pthread.h>

namespace vemlo_test {
namespace {

void* RunBody(void* body) {
    (*static_cast<const std::function<void()>*>(body))();
    return nullptr;
}

}  // namespace

bool RunOnSmallStack(const std::function<void()>& body, std::size_t bytes) {
    pthread_attr_t attr;
    if (pthread_attr_init(&attr) != 0) return false;
    pthread_t thread;
    const bool made = pthread_attr_setstacksize(&attr, bytes) == 0 &&
                      pthread_create(&thread, &attr, RunBody, const_cast<std::function<void()>*>(&body)) == 0;
    pthread_attr_destroy(&attr);
    if (made) pthread_join(thread, nullptr);
    return made;
}

}  // namespace vemlo_test
