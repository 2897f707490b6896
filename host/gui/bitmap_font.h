#pragma once

// The stand-in host's one typeface: 5 by 7 pixel capitals, digits and the usual punctuation of numbers.
// Small letters are drawn as capitals and any other character as "?". Pure data.

#include <array>
#include <cstdint>

namespace bitmap_font {

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;

// The glyph's rows from the top; in each row, bit 4 is the leftmost pixel.
using Glyph = std::array<uint8_t, kGlyphHeight>;
const Glyph& glyphOf(char16_t c);

}  // namespace bitmap_font
