#include "input/text.hpp"

#include "test_support.hpp"

TEST(Text, Placeholder) { EXPECT_EQ(toString(0.01), "0.01"); }
