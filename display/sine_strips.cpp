// Sine strips: a block copied row by row, each row moved down by a sine wave; every row is a
// clipped rectangle copy.
#include <algorithm>
#include <cmath>
#include <optional>

#include "display/angle_factors.h"
#include "display/area_bounds.h"
#include "display/display_engine.h"

namespace {

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
  if (!holdsSurface(slot)) return 0;
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
