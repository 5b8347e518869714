#pragma once

#include "platform/rounding.h"

// Label coordinates are layout pixels: 3.837 to the millimetre.
inline int mmToPixels(int millimetres)
{
    return roundHalfEven(millimetres * 3.837);
}
