#pragma once

#include <algorithm>
#include <limits>

// The values a number of the settings may take: those its control in the settings dialog allows.
// Within them no sheet is empty and no layout arithmetic overflows.
struct Range {
    int min = std::numeric_limits<int>::min();
    int max = std::numeric_limits<int>::max();

    bool contains(int value) const { return value >= min && value <= max; }
    int clamped(int value) const { return std::clamp(value, min, max); }
};

// The ranges of the sheet's whole millimetres and counts.
namespace SheetRanges {
constexpr Range offset{0, 99};
constexpr Range gap{0, 20};
constexpr Range labelHeight{10, 50};
constexpr Range labelWidth{30, 99};
constexpr Range columns{1, 20};
constexpr Range rows{1, 50};
} // namespace SheetRanges
