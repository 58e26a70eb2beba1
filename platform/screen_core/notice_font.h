// A small bitmap font of our own for the short notices a screen shows over the picture (the
// look's name, where a screenshot went): printable ASCII at 6 x 8 pixels a character,
// rendered into an alpha image that the GPU presenter and the renderer fallback both draw.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace compat {

// Each character's cell: five columns of ink and one of space; seven rows from the top to
// the baseline and one below it for descenders.
inline constexpr int noticeGlyphWidth = 6;
inline constexpr int noticeGlyphHeight = 8;
// Longer lines and further lines are cut: a notice is a line or two.
inline constexpr int noticeMaxColumns = 120;
inline constexpr int noticeMaxLines = 8;

// One byte a pixel, rows packed top to bottom: 255 where a glyph has ink, 0 elsewhere.
struct NoticeImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> alpha;
};

// The text in the notice font, a line for each '\n'. Anything outside printable ASCII shows as
// '?', one for each UTF-8 character. An empty text gives an empty image (0 x 0).
NoticeImage renderNotice(std::string_view text);

// The glyph's rows, top first, bit 4 the leftmost column; the '?' glyph for anything outside
// printable ASCII.
const std::uint8_t* noticeGlyph(char character);

}  // namespace compat
