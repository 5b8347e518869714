#pragma once

#include <cmath>
#include <limits>

// Every real number that becomes a pixel count or a width is rounded to the nearest integer,
// a half to the even neighbour (2.5 gives 2, 3.5 gives 4). A value beyond the integer range
// gives the range's nearer end and one that is not a number gives 0, where a plain conversion
// would be undefined.
inline int roundHalfEven(double value)
{
    constexpr double least = std::numeric_limits<int>::min();
    constexpr double most = std::numeric_limits<int>::max();
    if (std::isnan(value))
        return 0;
    const double rounded = std::nearbyint(value);
    if (rounded <= least)
        return std::numeric_limits<int>::min();
    if (rounded >= most)
        return std::numeric_limits<int>::max();
    return static_cast<int>(rounded);
}
