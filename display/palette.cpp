// The palette: loading the colour table of a BMP file, single colours, and brightness changes
// of the whole table or a range, at once or as timed fades. Brightness is always recomputed
// from basePalette, so fades accumulate no rounding and any level can be set directly.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "display/display_engine.h"
#include "display/palette_tables.h"
#include "host/file_not_found.h"
#include "host/timed_waits.h"
#include "platform/files/regular_file.h"

namespace {

constexpr BYTE reservedFlag = 1;  // PC_RESERVED: the entry may change, as in a fade
constexpr long colourTableOffset = 54;
constexpr int windowedFirstEntry = 10;  // entries 0..9 and 246..255 belong to the system
constexpr int windowedEntryCount = 236;

BYTE shifted(BYTE component, int32_t level) {
  return static_cast<BYTE>(std::clamp(component + level, 0, 255));
}

}  // namespace

void DisplayEngine::transferPalette(const PALETTEENTRY* table) {
  if (displayPalette == nullptr) return;  // nothing to show the colours on yet
  auto* entries = const_cast<PALETTEENTRY*>(table);
  if (fullscreen != 0)
    displayPalette->SetEntries(0, 0, 256, entries);
  else
    displayPalette->SetEntries(0, windowedFirstEntry, windowedEntryCount, entries);
}

void DisplayEngine::loadPaletteFromBmp(const char* fileName) {
  std::FILE* file = openRegularFile(fileName);
  if (file == nullptr) exitFileNotFound(fileName);
  std::fseek(file, colourTableOffset, SEEK_SET);
  // Past the end every byte reads as 255: the end-of-file value kept to its low 8 bits.
  auto next = [file] { return static_cast<BYTE>(std::fgetc(file) & 0xFF); };
  for (int i = 0; i < 256; ++i) {
    const BYTE blue = next(), green = next(), red = next();
    next();  // reserved
    basePalette[i] = {red, green, blue, reservedFlag};
    shownPalette[i] = basePalette[i];
  }
  std::fclose(file);
  transferPalette(basePalette);
  DDCOLORKEY transparent{0, 0};
  for (int32_t slot = fullscreen; slot < surfaceCount; ++slot)
    if (surfaces[slot] != nullptr) surfaces[slot]->SetColorKey(DDCKEY_SRCBLT, &transparent);
}

void DisplayEngine::setPaletteEntry(int32_t index, int32_t red, int32_t green, int32_t blue) {
  if (index >= 0 && index < 256) {
    basePalette[index] = {static_cast<BYTE>(red), static_cast<BYTE>(green), static_cast<BYTE>(blue),
                          reservedFlag};
    shownPalette[index] = basePalette[index];
  }
  applyPalette();
}

void DisplayEngine::resetPalette() {
  std::memcpy(shownPalette, basePalette, sizeof shownPalette);
  transferPalette(shownPalette);
}

void DisplayEngine::applyPalette() { transferPalette(shownPalette); }

void DisplayEngine::setRangeBrightness(int32_t first, int32_t last, int32_t level) {
  // Beyond +-255 every component is already at its limit.
  level = std::clamp(level, -255, 255);
  // Entry 0 never takes part, and nothing outside the table is touched.
  for (int32_t i = std::max(first, 1); i <= std::min(last, 255); ++i) {
    if (level == 0) {
      shownPalette[i] = basePalette[i];
      continue;
    }
    const PALETTEENTRY& base = basePalette[i];
    shownPalette[i] = {shifted(base.peRed, level), shifted(base.peGreen, level),
                       shifted(base.peBlue, level), reservedFlag};
  }
  transferPalette(shownPalette);
}

void DisplayEngine::setEntryBrightness(int32_t index, int32_t level) {
  setRangeBrightness(index, index, level);
}

void DisplayEngine::setBrightness(int32_t level) {
  waitVerticalBlank();
  setRangeBrightness(0, 255, level);
}

namespace {

// One fade: a step every waitMs milliseconds from `from` toward `to`, then one at `to`. In
// windowed mode the stride is four steps: a quarter of the palette updates. A step below 1
// would never arrive, so such a fade goes straight to its last step.
template <typename Step>
void fade(int32_t from, int32_t to, int32_t step, uint32_t waitMs, bool up, int32_t fullscreen,
          Step setLevel) {
  if (step >= 1) {
    const int64_t stride = int64_t{step} * (fullscreen != 0 ? 1 : 4);
    for (int64_t level = from; up ? level <= to : level >= to; level += up ? stride : -stride) {
      markFrameStart();
      setLevel(static_cast<int32_t>(level));
      waitSinceFrameStart(waitMs);
    }
  }
  setLevel(to);
}

}  // namespace

void DisplayEngine::fadeUp(int32_t from, int32_t to, int32_t step, uint32_t waitMs) {
  fade(from, to, step, waitMs, true, fullscreen, [this](int32_t level) { setBrightness(level); });
}

void DisplayEngine::fadeDown(int32_t from, int32_t to, int32_t step, uint32_t waitMs) {
  fade(from, to, step, waitMs, false, fullscreen, [this](int32_t level) { setBrightness(level); });
}

void DisplayEngine::fadeRangeUp(int32_t from, int32_t to, int32_t first, int32_t last, int32_t step,
                                uint32_t waitMs) {
  fade(from, to, step, waitMs, true, fullscreen,
       [=, this](int32_t level) { setRangeBrightness(first, last, level); });
}

void DisplayEngine::fadeRangeDown(int32_t from, int32_t to, int32_t first, int32_t last,
                                  int32_t step, uint32_t waitMs) {
  fade(from, to, step, waitMs, false, fullscreen,
       [=, this](int32_t level) { setRangeBrightness(first, last, level); });
}
