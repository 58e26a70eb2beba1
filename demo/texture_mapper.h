// The block texture mapper: paints the 320 x 240 picture of slot 2 from the 128 x 128 texture
// at the top-left of slot 3, 16 x 16 pixels at a time, interpolating the texture coordinates
// of each block bilinearly between its four grid corners with integer additions only. The
// coordinates wrap to the texture on both axes.
#pragma once

#include <cstdint>

inline constexpr int pictureWidth = 320;
inline constexpr int pictureHeight = 240;
inline constexpr int blockSide = 16;
inline constexpr int textureSide = 128;

// Called once per frame after advanceAnimation: locks slots 2 and 3, fills slot 2 from the
// grid, unlocks both. Writes nothing when a lock failed or a slot is smaller than the picture
// or the texture.
void mapTextureBlocks();

// The fill itself on memory the caller vouches for: 240 rows of 320 bytes at `picture`, and
// 128 rows of 128 texels `texturePitch` bytes apart at `texture`. Reads gridU and gridV.
// Uses the code path chosen for this processor.
void renderTextureBlocks(const uint8_t* texture, int32_t texturePitch, uint8_t* picture);

namespace mapper {
struct Path;
}
// The same with a given path, for tests and benchmarks that hold every path to the same result.
void renderTextureBlocksWith(const mapper::Path& path, const uint8_t* texture, int32_t texturePitch,
                             uint8_t* picture);
