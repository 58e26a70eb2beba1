// Independent computations of the mapper's result, for tests and benchmarks to hold the
// product against: the walk done step by step exactly as defined, and its closed form.
#pragma once

#include <cstdint>

namespace reference {

// The walk as defined: per pixel two additions, two shift-and-mask operations, a multiply by
// the texture pitch, a read and a write. Reads gridU and gridV; writes 240 rows of 320 bytes.
void plainWalk(const uint8_t* texture, int32_t texturePitch, uint8_t* picture);

// The texture coordinate (u, v) that the walk reaches at picture pixel (x, y), computed
// directly from the four corners of the pixel's block in wrapping 32-bit arithmetic.
struct Coordinate {
  uint32_t u;
  uint32_t v;
};
Coordinate closedFormCoordinate(int x, int y);

// The texel the closed form gives for picture pixel (x, y).
uint8_t closedFormPixel(const uint8_t* texture, int32_t texturePitch, int x, int y);

}  // namespace reference
