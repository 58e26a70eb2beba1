#include "platform/compat/text_layout.h"

#include <algorithm>
#include <cmath>

#include "platform/compat/text_encoding.h"

namespace compat {
namespace {

// A pen coordinate rounded to whole pixels; beyond any canvas it stays beyond.
std::int64_t pixelOf(double position) {
  return std::llround(std::clamp(position, -0x1p40, 0x1p40));
}

// Lines wider than this are cut in the boxes: no screen shows more.
constexpr double widestLine = 16384;

}  // namespace

void walkGlyphs(FontFace& face, std::u32string_view characters, double x, double y,
                const std::function<void(const Glyph&, std::int64_t, std::int64_t)>& place) {
  // The baseline starts one ascent below the cell's top-left corner, turned with the text.
  const double c = face.directionX(), s = face.directionY();
  double penX = x + face.ascent() * s;
  double penY = y + face.ascent() * c;
  for (char32_t character : characters) {
    const Glyph& glyph = face.glyph(character);
    place(glyph, pixelOf(penX), pixelOf(penY));
    penX += glyph.advance * c;
    penY -= glyph.advance * s;
  }
}

double lineAdvance(FontFace& face, std::u32string_view characters) {
  double width = 0;
  for (char32_t c : characters) width += face.glyph(c).advance;
  return width;
}

TextInk renderLine(FontFace& face, std::string_view utf8) {
  const std::u32string characters = utf8ToUtf32(utf8);
  TextInk text;
  text.width = static_cast<int>(std::ceil(std::min(lineAdvance(face, characters), widestLine)));
  text.height = face.cellHeight();
  text.ink.assign(static_cast<std::size_t>(text.width) * text.height, 0);
  walkGlyphs(face, characters, 0, 0,
             [&text](const Glyph& glyph, std::int64_t penX, std::int64_t penY) {
               for (int gy = 0; gy < glyph.rows; ++gy)
                 for (int gx = 0; gx < glyph.width; ++gx) {
                   const std::int64_t x = penX + glyph.left + gx, y = penY + glyph.top + gy;
                   if (x >= 0 && x < text.width && y >= 0 && y < text.height &&
                       glyph.ink[static_cast<std::size_t>(gy) * glyph.width + gx])
                     text.ink[static_cast<std::size_t>(y) * text.width + x] = 1;
                 }
             });
  return text;
}

}  // namespace compat
