#include <gtest/gtest.h>
#include "transform/transform.h"
TEST(QuerySmoke, Compiles) {
    DovQuery q("STMT_MOVE");
    VString msg; int col = 0;
    EXPECT_EQ(q.Compile(nullptr, msg, col), 0);
}
