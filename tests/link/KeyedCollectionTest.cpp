#include <gtest/gtest.h>

#include "link/KeyedCollection.h"

namespace tavo {
namespace {

TEST(KeyedCollection, KeysIgnoreCaseAndDuplicatesAreRefused) {
    KeyedCollection<std::string> c;
    EXPECT_TRUE(c.Add("one", "Ab"));
    EXPECT_FALSE(c.Add("two", "aB"));
    EXPECT_TRUE(c.Add("three"));
    EXPECT_TRUE(c.Add("four"));  // several items may go without a key
    ASSERT_EQ(c.Count(), 3u);
    EXPECT_EQ(*c.Find("AB"), "one");
    EXPECT_EQ(c.Find(""), nullptr);
    EXPECT_EQ(c.At(2), "four");
    c.RemoveAt(0);
    EXPECT_FALSE(c.Contains("ab"));
    EXPECT_TRUE(c.Add("again", "AB"));
}

}  // namespace
}  // namespace tavo
