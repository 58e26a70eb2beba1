#include "tests/support/reference_walk.h"

#include "demo/animation.h"

namespace reference {
namespace {

// An arithmetic shift right by 4 of the 32-bit value: division by 16 toward minus infinity.
uint32_t shift4(uint32_t value) { return static_cast<uint32_t>(static_cast<int32_t>(value) >> 4); }

uint32_t at(const int32_t (&grid)[gridColumns][gridRows], int k, int r) {
  return static_cast<uint32_t>(grid[k][r]);
}

}  // namespace

void plainWalk(const uint8_t* texture, int32_t texturePitch, uint8_t* picture) {
  uint8_t* out = picture;
  for (int by = 0; by < 15; ++by) {
    for (int bx = 0; bx < 20; ++bx) {
      uint32_t vRow = at(gridV, bx, by);
      uint32_t uRow = at(gridU, bx, by);
      uint32_t vStepX = shift4(at(gridV, bx + 1, by) - vRow);
      uint32_t uStepX = shift4(at(gridU, bx + 1, by) - uRow);
      const uint32_t vStepY = shift4(at(gridV, bx, by + 1) - vRow);
      const uint32_t uStepY = shift4(at(gridU, bx, by + 1) - uRow);
      const uint32_t vStepXDelta =
          shift4(shift4(at(gridV, bx + 1, by + 1) - at(gridV, bx, by + 1)) - vStepX);
      const uint32_t uStepXDelta =
          shift4(shift4(at(gridU, bx + 1, by + 1) - at(gridU, bx, by + 1)) - uStepX);
      for (int py = 0; py < 16; ++py) {
        uint32_t v = vRow;
        uint32_t u = uRow;
        for (int px = 0; px < 16; ++px) {
          const uint32_t tr = (v >> 16) & 0x7F;
          const uint32_t tc = (u >> 16) & 0x7F;
          *out++ = texture[tr * static_cast<uint32_t>(texturePitch) + tc];
          v += vStepX;
          u += uStepX;
        }
        out += 304;  // to the next row of the block
        vRow += vStepY;
        uRow += uStepY;
        vStepX += vStepXDelta;
        uStepX += uStepXDelta;
      }
      out -= 5104;  // back to the top of the next block
    }
    out += 4800;  // to the start of the next block row
  }
}

Coordinate closedFormCoordinate(int x, int y) {
  const int bx = x / 16, by = y / 16;
  const uint32_t px = static_cast<uint32_t>(x % 16), py = static_cast<uint32_t>(y % 16);
  auto walk = [&](const int32_t (&grid)[gridColumns][gridRows]) {
    const uint32_t c00 = at(grid, bx, by), c10 = at(grid, bx + 1, by);
    const uint32_t c01 = at(grid, bx, by + 1), c11 = at(grid, bx + 1, by + 1);
    const uint32_t stepX0 = shift4(c10 - c00);
    const uint32_t stepY = shift4(c01 - c00);
    const uint32_t stepXDelta = shift4(shift4(c11 - c01) - stepX0);
    return c00 + py * stepY + px * (stepX0 + py * stepXDelta);
  };
  return {walk(gridU), walk(gridV)};
}

uint8_t closedFormPixel(const uint8_t* texture, int32_t texturePitch, int x, int y) {
  const Coordinate c = closedFormCoordinate(x, y);
  const uint32_t row = (c.v >> 16) & 0x7F;
  const uint32_t column = (c.u >> 16) & 0x7F;
  return texture[row * static_cast<uint32_t>(texturePitch) + column];
}

}  // namespace reference
