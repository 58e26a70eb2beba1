// The mapper's walk over the 20 x 15 blocks, shared by every code path: for each pixel row of
// each block, the row's starting texture coordinates and their step per pixel, in wrapping
// 32-bit arithmetic. What a path does with a run of 16 pixels is its own.
#pragma once

#include <cstdint>

#include "demo/animation.h"
#include "demo/texture_mapper.h"

namespace mapper {

inline constexpr int blockColumns = pictureWidth / blockSide;  // 20
inline constexpr int blockRows = pictureHeight / blockSide;    // 15

// Division by 16 rounding toward minus infinity, on the 32-bit two's-complement value.
inline uint32_t floorDiv16(uint32_t value) {
  return static_cast<uint32_t>(static_cast<int32_t>(value) >> 4);
}

// One coordinate's walk over a block.
struct BlockWalk {
  uint32_t row;         // value at the left end of the current pixel row
  uint32_t stepY;       // change of `row` per pixel row
  uint32_t stepX;       // change per pixel along the current row
  uint32_t stepXDelta;  // change of stepX per pixel row

  BlockWalk(uint32_t topLeft, uint32_t topRight, uint32_t bottomLeft, uint32_t bottomRight)
      : row(topLeft),
        stepY(floorDiv16(bottomLeft - topLeft)),
        stepX(floorDiv16(topRight - topLeft)),
        stepXDelta(
            floorDiv16(floorDiv16(bottomRight - bottomLeft) - floorDiv16(topRight - topLeft))) {}

  void nextRow() {
    row += stepY;
    stepX += stepXDelta;
  }
};

// Only bits 16..22 of each coordinate choose a texel, and bit n of a sum depends only on bits
// 0..n of the addends, so the low 23 bits of u and of v can ride in one 64-bit word (u in bits
// 0..22, v in bits 32..54) and step together in one addition. The carries out of u collect in
// bits 23..31: the fifteen additions of a run never reach v.
inline uint64_t packCoordinates(uint32_t u, uint32_t v) {
  constexpr uint32_t coordinateBits = 0x7FFFFF;
  return (static_cast<uint64_t>(v & coordinateBits) << 32) | (u & coordinateBits);
}

// A run of 16 pixels: the packed coordinates (packCoordinates) at its first pixel and their
// change per pixel.
struct Run {
  uint64_t word;
  uint64_t step;
};

// Calls Path::drawRun(run, texture, out) for every 16-pixel run of the picture. Each path's
// function is flattened, so the walk and the runs are inlined into it and compiled for the
// path's instruction set.
template <class Path>
inline void walkBlocks(const uint8_t* texture, uint8_t* picture) {
  for (int by = 0; by < blockRows; ++by)
    for (int bx = 0; bx < blockColumns; ++bx) {
      const auto corner = [bx, by](const int32_t(&grid)[gridColumns][gridRows], int dx, int dy) {
        return static_cast<uint32_t>(grid[bx + dx][by + dy]);
      };
      BlockWalk u(corner(gridU, 0, 0), corner(gridU, 1, 0), corner(gridU, 0, 1),
                  corner(gridU, 1, 1));
      BlockWalk v(corner(gridV, 0, 0), corner(gridV, 1, 0), corner(gridV, 0, 1),
                  corner(gridV, 1, 1));
      uint8_t* out = picture + (by * blockSide) * pictureWidth + bx * blockSide;
      for (int py = 0; py < blockSide; ++py, out += pictureWidth) {
        Path::drawRun(Run{packCoordinates(u.row, v.row), packCoordinates(u.stepX, v.stepX)},
                      texture, out);
        u.nextRow();
        v.nextRow();
      }
    }
}

}  // namespace mapper
