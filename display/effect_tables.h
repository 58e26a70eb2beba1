// Constants of the pixel effects: the order in which a dissolve fills each 4 x 4 cell, and the
// characters the bitmap font has glyphs for.
#pragma once

#include <array>
#include <cstdint>

#include "display/angle_factors.h"

// Step s of a dissolve copies the pixel at (column, row) = (dissolveColumnOffsets[s],
// dissolveRowOffsets[s]) of every 4 x 4 cell; the sixteen steps visit each position once, in an
// order that spreads the early steps over the cell.
inline constexpr std::array<int8_t, 16> dissolveColumnOffsets = {0, 2, 2, 0, 1, 3, 1, 3,
                                                                 1, 3, 1, 3, 0, 2, 0, 2};
inline constexpr std::array<int8_t, 16> dissolveRowOffsets = {0, 2, 0, 2, 1, 3, 3, 1,
                                                              0, 2, 2, 0, 1, 3, 3, 1};

// The bitmap font's glyph sheet: glyph g is the 16 x 16 square at (16 g, glyphSheetTop) of slot 2.
inline constexpr int32_t glyphSize = 16;
inline constexpr int32_t glyphSheetTop = 464;
inline constexpr int32_t glyphSheetSlot = 2;
inline constexpr int32_t glyphCount = 37;

// Glyph of each 7-bit character, or -1: digits 0..9, letters 10..35 (small letters share the
// capitals' glyphs), the full stop 36.
inline constexpr std::array<int8_t, 128> glyphOfCharacter = [] {
  std::array<int8_t, 128> glyphs{};
  glyphs.fill(-1);
  for (int c = '0'; c <= '9'; ++c) glyphs[c] = static_cast<int8_t>(c - '0');
  for (int c = 'A'; c <= 'Z'; ++c) glyphs[c] = static_cast<int8_t>(10 + c - 'A');
  for (int c = 'a'; c <= 'z'; ++c) glyphs[c] = static_cast<int8_t>(10 + c - 'a');
  glyphs['.'] = 36;
  return glyphs;
}();
