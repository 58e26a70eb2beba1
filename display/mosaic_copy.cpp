// The mosaic (pixelation) copy, on the pixels of two locked slots. It keeps to the surfaces
// whatever the area: a block pixel is drawn only where its destination and the block's source
// pixel both lie on their surfaces.
#include <cstring>

#include "display/area_bounds.h"
#include "display/locked_slot_pair.h"

namespace {

// The block-start offset whose pixel a mosaic block shows; block size 0 is one block for all.
int64_t blockStart(int64_t offset, int64_t blockSize) {
  return blockSize == 0 ? 0 : offset - offset % blockSize;
}

// Offsets 0..length-1 of a mosaic whose destination lies on the destination surface and whose
// block's source pixel lies on the source surface.
OffsetRange mosaicOffsets(int64_t destStart, int64_t sourceStart, int64_t length, int64_t blockSize,
                          int64_t destSize, int64_t sourceSize) {
  const OffsetRange onDest = offsetsOnSurface(destStart, length, destSize);
  if (blockSize == 0) return sourceStart >= 0 && sourceStart < sourceSize ? onDest : OffsetRange{};
  // The block starts k * blockSize whose source pixel is on the surface, and their blocks.
  const int64_t firstBlock = -floorDiv(sourceStart, blockSize);
  const int64_t lastBlock = floorDiv(sourceSize - 1 - sourceStart, blockSize);
  return intersect(onDest, {firstBlock * blockSize, (lastBlock + 1) * blockSize});
}

}  // namespace

void DisplayEngine::mosaicCopy(int32_t destX, int32_t destY, int32_t srcX, int32_t srcY,
                               int32_t width, int32_t height, int32_t destSlot, int32_t sourceSlot,
                               int32_t blockSize) {
  if (blockSize < 0) return;
  const LockedSlotPair slots(*this, destSlot, sourceSlot);
  if (!slots.ready()) return;
  const LockedPixels& dest = slots.dest();
  const LockedPixels& source = slots.source();
  const OffsetRange rows =
      mosaicOffsets(destY, srcY, height, blockSize, dest.height, source.height);
  const OffsetRange columns =
      mosaicOffsets(destX, srcX, width, blockSize, dest.width, source.width);
  if (rows.empty() || columns.empty()) return;

  for (int64_t row = rows.first; row < rows.end; ++row) {
    uint8_t* out = dest.at(destX + columns.first, destY + row);
    const int64_t sourceRow = srcY + blockStart(row, blockSize);
    // One fill per block of the row, cut to the bounded columns.
    for (int64_t column = columns.first; column < columns.end;) {
      const int64_t start = blockStart(column, blockSize);
      const int64_t blockEnd =
          blockSize == 0 ? columns.end : std::min(columns.end, start + blockSize);
      const uint8_t colour = *source.at(srcX + start, sourceRow);
      std::memset(out, colour, static_cast<size_t>(blockEnd - column));
      out += blockEnd - column;
      column = blockEnd;
    }
  }
}
