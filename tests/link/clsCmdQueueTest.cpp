#include <gtest/gtest.h>

#include "link/clsCmdQueue.h"

namespace tavo {
namespace {

TEST(clsCmdQueue, FirstInFirstOut) {
    clsCmdQueue q;
    EXPECT_EQ(q.Pop(), "");
    q.Push("050001");
    q.Push("050000");
    q.Push("050001");  // the same word twice is kept twice
    EXPECT_EQ(q.Pop(), "050001");
    EXPECT_EQ(q.Pop(), "050000");
    EXPECT_EQ(q.Pop(), "050001");
    EXPECT_EQ(q.Pop(), "");
    EXPECT_EQ(q.Count(), 0u);
}

}  // namespace
}  // namespace tavo
