#pragma once

#include <array>
#include <QString>

// The program's version: the four numbers of the project version, compiled in.
std::array<int, 4> programVersionNumbers();

// The four numbers joined by ".", each without leading zeros (5.0.2.99).
QString programVersionText();
