#include <gtest/gtest.h>

#include "Util/StringUtil.h"

TEST(StringUtil, placeholder) { EXPECT_EQ(StringUtil::trim("  a b  "), "a b"); }
