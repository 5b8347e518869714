#pragma once

#include "labels/settings.h"

#include <utility>

// A call number too wide for its label is drawn smaller: the font loses one point at a time,
// down to one point at the most, until the text's centring offset (`offsetOf(font)`) is at
// least `minimumOffset`. Returns the font to draw with and its offset.
template <typename OffsetOf>
std::pair<LabelFont, int> shrunkToFit(LabelFont font, int minimumOffset, OffsetOf offsetOf)
{
    int offset = offsetOf(font);
    while (offset < minimumOffset && font.size > 1) {
        --font.size;
        offset = offsetOf(font);
    }
    return {font, offset};
}
