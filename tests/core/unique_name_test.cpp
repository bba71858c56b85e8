#include <gtest/gtest.h>

#include "core/unique_name.h"

TEST(UniqueName, CountsUpFromZeroInDecimal)
{
    const unsigned saved = uniqueNameCounter();
    setUniqueNameCounter(0);
    EXPECT_EQ(uniqueName(), "0");
    EXPECT_EQ(uniqueName(), "1");
    setUniqueNameCounter(4294967295u);
    EXPECT_EQ(uniqueName(), "4294967295");
    EXPECT_EQ(uniqueName(), "0") << "the counter is an unsigned that wraps";
    setUniqueNameCounter(saved);
}
