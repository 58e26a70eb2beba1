// Text in the bitmap font whose 16 x 16 glyphs are a band of slot 2: one rectangle copy per
// character.
#include <cstring>

#include "display/area_bounds.h"
#include "display/display_engine.h"
#include "display/effect_tables.h"

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
