// The ordered dissolve, on the pixels of two locked slots: one position of every 4 x 4 cell per
// step. It keeps to the surfaces whatever the area: a pixel is drawn only where its destination
// and its source both lie on their surfaces.
#include "display/area_bounds.h"
#include "display/effect_tables.h"
#include "display/locked_slot_pair.h"

namespace {

// The first offset at or after `from` that lies `phase` past a multiple of 4.
int64_t alignToCell(int64_t from, int64_t phase) { return from + ((phase - from % 4) % 4 + 4) % 4; }

}  // namespace

void DisplayEngine::dissolveCopy(int32_t destX, int32_t destY, int32_t srcX, int32_t srcY,
                                 int32_t width, int32_t height, int32_t destSlot,
                                 int32_t sourceSlot, int8_t step, int32_t flags) {
  if (step < 0 || step > 15) return;
  const LockedSlotPair slots(*this, destSlot, sourceSlot);
  if (!slots.ready()) return;
  const LockedPixels& dest = slots.dest();
  const LockedPixels& source = slots.source();
  const OffsetRange rows = intersect(offsetsOnSurface(destY, height, dest.height),
                                     offsetsOnSurface(srcY, height, source.height));
  const OffsetRange columns = intersect(offsetsOnSurface(destX, width, dest.width),
                                        offsetsOnSurface(srcX, width, source.width));
  // The cells are anchored at the area's corner, so bounding keeps each step's positions.
  const int64_t firstRow = alignToCell(rows.first, dissolveRowOffsets[step]);
  const int64_t firstColumn = alignToCell(columns.first, dissolveColumnOffsets[step]);
  if (firstRow >= rows.end || firstColumn >= columns.end) return;
  const int64_t perRow = (columns.end - firstColumn + 3) / 4;
  // Colour 0 is left out only for exactly the flags of a keyed copy, as the copies take them.
  const bool keyZero = flags == (DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);

  for (int64_t row = firstRow; row < rows.end; row += 4) {
    const uint8_t* in = source.at(srcX + firstColumn, srcY + row);
    uint8_t* out = dest.at(destX + firstColumn, destY + row);
    for (int64_t n = 0; n < perRow; ++n) {
      const uint8_t colour = in[4 * n];
      if (colour != 0 || !keyZero) out[4 * n] = colour;
    }
  }
}
