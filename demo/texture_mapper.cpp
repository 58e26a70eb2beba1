#include "demo/texture_mapper.h"

#include <cstring>

#include "demo/demo_slots.h"
#include "demo/mapper_paths.h"
#include "display/display_engine.h"

namespace {

// The locked picture slot must hold the whole picture, the locked texture slot the whole texture;
// checked once per frame so that no grid and no surface can make the fill touch other memory.
bool pictureFits() {
  const DDSURFACEDESC& desc = displayEngine.surfaceDesc[pictureSlot];
  if (surfaceBits[pictureSlot] == nullptr || surfaceBits[pictureSlot] != desc.lpSurface)
    return false;
  if (desc.lPitch <= 0 || desc.dwHeight == 0) return false;
  const uint64_t bytes = static_cast<uint64_t>(desc.lPitch) * (desc.dwHeight - 1) + desc.dwWidth;
  return bytes >= static_cast<uint64_t>(pictureWidth) * pictureHeight;
}

bool textureFits() {
  const DDSURFACEDESC& desc = displayEngine.surfaceDesc[textureSlot];
  if (surfaceBits[textureSlot] == nullptr || surfaceBits[textureSlot] != desc.lpSurface)
    return false;
  return surfacePitch[textureSlot] == desc.lPitch &&
         desc.lPitch >= static_cast<LONG>(desc.dwWidth) && desc.dwWidth >= textureSide &&
         desc.dwHeight >= textureSide;
}

}  // namespace

void renderTextureBlocks(const uint8_t* texture, int32_t texturePitch, uint8_t* picture) {
  renderTextureBlocksWith(mapper::chosenPath(), texture, texturePitch, picture);
}

void renderTextureBlocksWith(const mapper::Path& path, const uint8_t* texture, int32_t texturePitch,
                             uint8_t* picture) {
  // A private copy with a 128-byte pitch turns the texel address into a shift, and 16 KiB
  // stay in the first-level cache for the whole frame.
  alignas(64) uint8_t packedTexture[textureSide * textureSide];
  for (int row = 0; row < textureSide; ++row)
    std::memcpy(packedTexture + row * textureSide,
                texture + static_cast<std::ptrdiff_t>(row) * texturePitch, textureSide);
  path.render(packedTexture, picture);
}

void mapTextureBlocks() {
  displayEngine.lockSurface(pictureSlot);
  displayEngine.lockSurface(textureSlot);
  if (pictureFits() && textureFits())
    renderTextureBlocks(surfaceBits[textureSlot], surfacePitch[textureSlot],
                        surfaceBits[pictureSlot]);
  displayEngine.unlockSurface(pictureSlot);
  displayEngine.unlockSurface(textureSlot);
}
