#pragma once

#include <array>

namespace uidesc
{
constexpr int DotColumns = 5;
constexpr int DotRows = 8;

// Lit dots of one display character, row by row from the top; bit 4 is the leftmost column.
using DotPattern = std::array<unsigned char, DotRows>;

// The pattern of a display character; every character of the display has one, others are blank.
DotPattern dotPattern(char32_t c);
bool hasDotPattern(char32_t c);
}
