#include "platform/rounding.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <tuple>

namespace {

// Beyond the integer range a plain conversion would be undefined behaviour.
TEST(RoundHalfEven, HalvesGoToTheEvenNeighbourAndTheRangeEndsHold)
{
    EXPECT_EQ(std::tuple(roundHalfEven(2.5), roundHalfEven(3.5), roundHalfEven(-2.5)),
              std::tuple(2, 4, -2));
    EXPECT_EQ(roundHalfEven(2000000000 * 3.837), std::numeric_limits<int>::max());
    EXPECT_EQ(roundHalfEven(std::numeric_limits<int>::max() + 0.5),
              std::numeric_limits<int>::max());
    EXPECT_EQ(roundHalfEven(-1e300), std::numeric_limits<int>::min());
    EXPECT_EQ(roundHalfEven(std::nan("")), 0);
}

} // namespace
