#include "app/texture_mapper.h"

#include <cstring>

#include "app/animation.h"
#include "display/display_engine.h"

namespace {

constexpr int blockColumns = pictureWidth / blockSide;  // 20
constexpr int blockRows = pictureHeight / blockSide;    // 15

// Division by 16 rounding toward minus infinity, on the 32-bit two's-complement value.
inline uint32_t floorDiv16(uint32_t value) {
  return static_cast<uint32_t>(static_cast<int32_t>(value) >> 4);
}

// Only bits 16..22 of a coordinate choose a texel, and bit n of a sum depends only on bits
// 0..n of the addends. So the low 23 bits of u and of v can ride in one 64-bit word (u in bits
// 0..22, v in bits 32..54) and step together in one addition. The carries out of u collect in
// bits 23..31: fifteen additions per run can never reach v. The word is rebuilt at every run.
constexpr uint32_t coordinateBits = 0x7FFFFF;

inline uint64_t pack(uint32_t v, uint32_t u) {
  return (static_cast<uint64_t>(v & coordinateBits) << 32) | (u & coordinateBits);
}

// Texel index in a 128 x 128 texture with a 128-byte pitch: v's bits 16..22 are bits 48..54 of
// the word and become index bits 7..13; u's bits 16..22 become index bits 0..6.
inline uint32_t texelIndex(uint64_t word) {
  return static_cast<uint32_t>(((word >> 41) & 0x3F80) | ((word >> 16) & 0x7F));
}

// One coordinate's walk over a block, in wrapping 32-bit arithmetic.
struct BlockWalk {
  uint32_t row;        // value at the left end of the current pixel row
  uint32_t stepY;      // change of `row` per pixel row
  uint32_t stepX;      // change per pixel along the current row
  uint32_t stepXDelta; // change of stepX per pixel row

  BlockWalk(uint32_t topLeft, uint32_t topRight, uint32_t bottomLeft, uint32_t bottomRight)
      : row(topLeft),
        stepY(floorDiv16(bottomLeft - topLeft)),
        stepX(floorDiv16(topRight - topLeft)),
        stepXDelta(floorDiv16(floorDiv16(bottomRight - bottomLeft) - floorDiv16(topRight - topLeft))) {}

  void nextRow() {
    row += stepY;
    stepX += stepXDelta;
  }
};

void renderBlock(int bx, int by, const uint8_t* texture, uint8_t* picture) {
  auto corner = [](const int32_t (&grid)[gridColumns][gridRows], int k, int r) {
    return static_cast<uint32_t>(grid[k][r]);
  };
  BlockWalk v(corner(gridV, bx, by), corner(gridV, bx + 1, by), corner(gridV, bx, by + 1),
              corner(gridV, bx + 1, by + 1));
  BlockWalk u(corner(gridU, bx, by), corner(gridU, bx + 1, by), corner(gridU, bx, by + 1),
              corner(gridU, bx + 1, by + 1));
  uint8_t* out = picture + (by * blockSide) * pictureWidth + bx * blockSide;
  for (int py = 0; py < blockSide; ++py, out += pictureWidth) {
    uint64_t word = pack(v.row, u.row);
    const uint64_t step = pack(v.stepX, u.stepX);
    for (int px = 0; px < blockSide; ++px) {
      out[px] = texture[texelIndex(word)];
      word += step;
    }
    v.nextRow();
    u.nextRow();
  }
}

// The locked slot 2 must hold the whole picture, the locked slot 3 the whole texture; checked
// once per frame so that no grid and no surface can make the fill touch other memory.
bool pictureFits() {
  const DDSURFACEDESC& desc = displayEngine.surfaceDesc[2];
  if (surfaceBits[2] == nullptr || surfaceBits[2] != desc.lpSurface) return false;
  if (desc.lPitch <= 0 || desc.dwHeight == 0) return false;
  const uint64_t bytes = static_cast<uint64_t>(desc.lPitch) * (desc.dwHeight - 1) + desc.dwWidth;
  return bytes >= static_cast<uint64_t>(pictureWidth) * pictureHeight;
}

bool textureFits() {
  const DDSURFACEDESC& desc = displayEngine.surfaceDesc[3];
  if (surfaceBits[3] == nullptr || surfaceBits[3] != desc.lpSurface) return false;
  return surfacePitch[3] == desc.lPitch && desc.lPitch >= static_cast<LONG>(desc.dwWidth) &&
         desc.dwWidth >= textureSide && desc.dwHeight >= textureSide;
}

}  // namespace

void renderTextureBlocks(const uint8_t* texture, int32_t texturePitch, uint8_t* picture) {
  // A private copy with a 128-byte pitch turns the texel address into a shift, and 16 KiB
  // stay in the first-level cache for the whole frame.
  alignas(64) uint8_t packedTexture[textureSide * textureSide];
  for (int row = 0; row < textureSide; ++row)
    std::memcpy(packedTexture + row * textureSide,
                texture + static_cast<std::ptrdiff_t>(row) * texturePitch, textureSide);
  for (int by = 0; by < blockRows; ++by)
    for (int bx = 0; bx < blockColumns; ++bx) renderBlock(bx, by, packedTexture, picture);
}

void mapTextureBlocks() {
  displayEngine.lockSurface(2);
  displayEngine.lockSurface(3);
  if (pictureFits() && textureFits())
    renderTextureBlocks(surfaceBits[3], surfacePitch[3], surfaceBits[2]);
  displayEngine.unlockSurface(2);
  displayEngine.unlockSurface(3);
}
