// A block of pixels turned about its centre, mapped from source to destination one pixel at a
// time, with index 0 transparent.
#include <cmath>

#include "display/area_bounds.h"
#include "display/effect_tables.h"
#include "display/locked_slot_pair.h"

namespace {

// Turned pixels land only in this window, whatever the destination's size.
constexpr int64_t windowWidth = 639;
constexpr int64_t windowHeight = 479;

// The angle of (dx, dy), y up, in degrees 0..360, from the arc tangent of a positive quotient.
double ownAngle(int64_t dx, int64_t dy) {
  const double x = static_cast<double>(dx), y = static_cast<double>(dy);
  if (dx == 0) return dy > 0 ? 90 : dy < 0 ? 270 : 0;
  if (dy == 0) return dx < 0 ? 180 : 0;
  if (dx > 0 && dy > 0) return std::atan(y / x) * degreesPerRadian;
  if (dx < 0 && dy > 0) return 180 - std::atan(y / -x) * degreesPerRadian;
  if (dx < 0) return std::atan(-y / -x) * degreesPerRadian + 180;
  return 360 - std::atan(-y / x) * degreesPerRadian;
}

}  // namespace

void DisplayEngine::drawRotatedSprite(int32_t centreX, int32_t centreY, int32_t srcX, int32_t srcY,
                                      int32_t width, int32_t height, int32_t angle,
                                      int32_t destSlot, int32_t sourceSlot) {
  const int64_t halfWidth = width / 2, halfHeight = height / 2;
  const LockedSlotPair slots(*this, destSlot, sourceSlot);
  if (!slots.ready()) return;
  const LockedPixels& dest = slots.dest();
  const LockedPixels& source = slots.source();
  // The fixed window, and within it the destination surface when that is smaller.
  const int64_t right = std::min(windowWidth, dest.width);
  const int64_t bottom = std::min(windowHeight, dest.height);
  const OffsetRange rows = offsetsOnSurface(srcY, height, source.height);
  const OffsetRange columns = offsetsOnSurface(srcX, width, source.width);

  for (int64_t i = rows.first; i < rows.end; ++i) {
    const uint8_t* in = source.at(srcX + columns.first, srcY + i);
    for (int64_t j = columns.first; j < columns.end; ++j) {
      const uint8_t colour = in[j - columns.first];
      if (colour == 0) continue;
      const int64_t dx = j - halfWidth;
      const int64_t dy = halfHeight - i;  // y points up
      const double radius = std::sqrt(static_cast<double>(dx * dx + dy * dy));
      const double theta = (angle + ownAngle(dx, dy)) * radiansPerDegree;
      // Truncated toward zero before the corner is added.
      const int64_t x = centreX + static_cast<int64_t>(std::cos(theta) * radius + halfWidth);
      const int64_t y = centreY + static_cast<int64_t>(halfHeight - std::sin(theta) * radius);
      if (x >= 0 && x < right && y >= 0 && y < bottom) *dest.at(x, y) = colour;
    }
  }
}
