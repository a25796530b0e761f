#include "tests/support/small_stack_run.h"

#include "lbase/run_on_stack.h"

namespace vemlo_test {

bool RunOnSmallStack(const std::function<void()>& body, std::size_t bytes) {
    return DovRunOnStack(bytes, body);
}

}  // namespace vemlo_test
