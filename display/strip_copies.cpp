// Effects made of rectangle copies: rows moved by a sine wave, and text in the bitmap font of
// slot 2's glyph sheet.
#include <cmath>
#include <cstring>
#include <optional>

#include "display/display_engine.h"
#include "display/effect_tables.h"

namespace {

bool fitsInt32(int64_t value) { return value >= INT32_MIN && value <= INT32_MAX; }

// The destination row of strip i, or nothing when the wave puts it beyond any coordinate.
std::optional<int64_t> stripRow(int64_t i, int32_t y, float phase, float frequency,
                                float amplitude) {
  const double wave = std::sin((static_cast<double>(i) * frequency + phase) * radiansPerDegree);
  const double row = wave * amplitude + static_cast<double>(y + i);
  if (!(std::fabs(row) < 0x1p62)) return std::nullopt;  // also NaN from an infinite input
  return static_cast<int64_t>(row);                     // toward zero
}

// 0 for a slot with no surface: nothing can be copied from it.
int64_t surfaceHeight(int32_t slot) {
  if (slot < 0 || slot >= maxSurfaceSlots || surfaces[slot] == nullptr) return 0;
  DDSURFACEDESC desc{};
  desc.dwSize = sizeof desc;
  if (surfaces[slot]->GetSurfaceDesc(&desc) != DD_OK) return 0;
  return desc.dwHeight;
}

}  // namespace

void DisplayEngine::drawSineStrips(int32_t x, int32_t y, int32_t srcX, int32_t srcY, int32_t width,
                                   int32_t rowCount, int32_t destSlot, int32_t sourceSlot,
                                   int32_t flags, float phase, float frequency, float amplitude) {
  // Rows whose source row is off the source surface would be refused by every copy: only the
  // others are visited, so a huge count costs no more than the surface's height.
  const int64_t first = std::max<int64_t>(0, -int64_t{srcY});
  const int64_t end = std::min<int64_t>(rowCount, surfaceHeight(sourceSlot) - srcY);
  std::optional<int64_t> previous;
  if (first > 0 && first < end) previous = stripRow(first - 1, y, phase, frequency, amplitude);
  for (int64_t i = first; i < end; ++i) {
    const std::optional<int64_t> row = stripRow(i, y, phase, frequency, amplitude);
    // Where the wave squeezes rows onto one destination row, only the first is drawn.
    const bool newRow = i == 0 || row != previous;
    previous = row;
    if (!newRow || !row || !fitsInt32(*row)) continue;
    blitClipped(x, static_cast<int32_t>(*row), srcX, static_cast<int32_t>(srcY + i), width, 1,
                destSlot, sourceSlot, static_cast<DWORD>(flags));
  }
}

void DisplayEngine::drawBitmapFontText(int32_t slot, int32_t x, int32_t y, const char* text,
                                       int8_t flags) {
  if (text == nullptr) return;
  const int64_t length = static_cast<int64_t>(std::strlen(text));
  // -1 centres the text on column 320, 8 pixels (half a glyph) per character to the left.
  int64_t penX = x == -1 ? 320 - 8 * length : x;
  const DWORD blitFlags = static_cast<DWORD>(int32_t{flags});  // widened with its sign
  for (const char* c = text; *c != '\0'; ++c, penX += glyphSize) {
    const signed char code = static_cast<signed char>(*c);
    if (code < 0 || glyphOfCharacter[code] < 0 || !fitsInt32(penX)) continue;
    blitRect(static_cast<int32_t>(penX), y, glyphSize * glyphOfCharacter[code], glyphSheetTop,
             glyphSize, glyphSize, slot, glyphSheetSlot, blitFlags);
  }
}
