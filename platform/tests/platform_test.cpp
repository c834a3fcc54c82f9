#include <gtest/gtest.h>
#include "text.h"
TEST(Placeholder, Builds) { EXPECT_EQ(quarn::Trim(" a "), "a"); }
