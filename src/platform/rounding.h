#pragma once

#include <cmath>

// Every real number that becomes a pixel count or a width is rounded to the nearest integer,
// a half to the even neighbour (2.5 gives 2, 3.5 gives 4).
inline int roundHalfEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}
