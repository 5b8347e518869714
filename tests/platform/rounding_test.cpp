#include "platform/rounding.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(149.5), 150);
    EXPECT_EQ(roundHalfEven(2.5000001), 3);
}

// A product of absurd settings or resolutions must not turn into undefined behaviour.
TEST(RoundHalfEven, ValuesBeyondTheIntegerRangeStopAtItsEnds)
{
    constexpr int most = std::numeric_limits<int>::max();
    constexpr int least = std::numeric_limits<int>::min();
    EXPECT_EQ(roundHalfEven(2000000000 * 3.837), most);
    EXPECT_EQ(roundHalfEven(most + 0.5), most);
    EXPECT_EQ(roundHalfEven(-1e300), least);
    EXPECT_EQ(roundHalfEven(least - 0.7), least);
    EXPECT_EQ(roundHalfEven(std::numeric_limits<double>::infinity()), most);
    EXPECT_EQ(roundHalfEven(std::nan("")), 0);
}

} // namespace
