#include "platform/sdl/sdl_frame_conversion.h"

#include <cstring>

namespace sdl {

void mapColours(Uint32 pixelFormat, const std::uint8_t (*rgb)[3], ColourLookup& lookup) {
  SDL_PixelFormat* format = SDL_AllocFormat(pixelFormat);
  if (format == nullptr) return;
  for (size_t i = 0; i < lookup.size(); ++i)
    lookup[i] = SDL_MapRGB(format, rgb[i][0], rgb[i][1], rgb[i][2]);
  SDL_FreeFormat(format);
}

bool convertIntoTexture(SDL_Texture* texture, const std::uint8_t* pixels, int pitch, int width,
                        int height, const ColourLookup& lookup) {
  SDL_Rect area{0, 0, width, height};
  void* out = nullptr;
  int outPitch = 0;
  if (SDL_LockTexture(texture, &area, &out, &outPitch) != 0) return false;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* in = pixels + static_cast<ptrdiff_t>(y) * pitch;
    auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(out) +
                                                 static_cast<ptrdiff_t>(y) * outPitch);
    int x = 0;
    // Four indices per read: one load feeds four lookups.
    for (; x + 4 <= width; x += 4) {
      std::uint32_t four;
      std::memcpy(&four, in + x, 4);
      row[x] = lookup[four & 0xFF];
      row[x + 1] = lookup[(four >> 8) & 0xFF];
      row[x + 2] = lookup[(four >> 16) & 0xFF];
      row[x + 3] = lookup[four >> 24];
    }
    for (; x < width; ++x) row[x] = lookup[in[x]];
  }
  SDL_UnlockTexture(texture);
  return true;
}

}  // namespace sdl
