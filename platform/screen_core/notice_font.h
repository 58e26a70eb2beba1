// A small bitmap font of our own for the short notices a screen shows over the picture (the
// look's name, where a screenshot went): printable ASCII at 6 x 8 pixels a character,
// rendered into an alpha image that the GPU presenter and the renderer fallback both draw.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/screen_core/looks.h"

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

// Where a notice of `inkWidth` x `inkHeight` ink pixels goes on a drawable `drawableHeight`
// pixels tall, as every screen that draws it over the picture puts it: its box at the
// bottom-left corner, `margin` ink pixels of box around the text and `offset` from the corner,
// each ink pixel `factor` screen pixels square. The factor is 1 up to 959 lines, 2 from 960 (a
// 1080p screen), 4 on 4K; it stops growing far beyond any screen, so that the box's size, even
// round the largest ink image, stays well within an int on whatever size a window system reports.
struct NoticePlacement {
  static constexpr int margin = 2;
  static constexpr int offset = 4;
  int factor;
  ScreenRect box;
};
NoticePlacement placeNotice(int inkWidth, int inkHeight, int drawableHeight);

// The glyph's rows, top first, bit 4 the leftmost column; the '?' glyph for anything outside
// printable ASCII.
const std::uint8_t* noticeGlyph(char character);

}  // namespace compat
