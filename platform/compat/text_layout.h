// Laying text out along its baseline: the one glyph walk that GDI's TextOutA and the screens'
// message boxes share. No Windows types, so that the SDL screen can use it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/compat/gdi_fonts.h"

namespace compat {

// Calls `place` for each character's glyph with the whole-pixel pen position it is drawn at.
// The text starts at the top-left corner (x, y) of its cell and runs along the font's
// escapement; pen positions far beyond any canvas stay beyond it.
void walkGlyphs(
    FontFace& face, std::u32string_view characters, double x, double y,
    const std::function<void(const Glyph&, std::int64_t penX, std::int64_t penY)>& place);

// The advances of the characters along the baseline, before turning.
double lineAdvance(FontFace& face, std::u32string_view characters);

// One unturned line of UTF-8 text as ink: width x height, 1 where the text is drawn.
struct TextInk {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> ink;
};
TextInk renderLine(FontFace& face, std::string_view utf8);

}  // namespace compat
