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

namespace {

void convertRow(const std::uint8_t* in, std::uint32_t* out, int width, const ColourLookup& lookup) {
  int x = 0;
  // Eight indices per read (little-endian: the first pixel in the low byte): one load feeds
  // eight lookups.
  for (; x + 8 <= width; x += 8) {
    std::uint64_t eight;
    std::memcpy(&eight, in + x, 8);
#pragma GCC unroll 8
    for (int k = 0; k < 8; ++k) out[x + k] = lookup[(eight >> (8 * k)) & 0xFF];
  }
  for (; x < width; ++x) out[x] = lookup[in[x]];
}

}  // namespace

void convertPixels(const std::uint8_t* pixels, int pitch, int width, int height,
                   const ColourLookup& lookup, std::uint32_t* out) {
  for (int y = 0; y < height; ++y)
    convertRow(pixels + static_cast<ptrdiff_t>(y) * pitch, out + static_cast<ptrdiff_t>(y) * width,
               width, lookup);
}

bool convertIntoTexture(SDL_Texture* texture, const std::uint8_t* pixels, int pitch, int width,
                        int height, const ColourLookup& lookup) {
  SDL_Rect area{0, 0, width, height};
  void* out = nullptr;
  int outPitch = 0;
  if (SDL_LockTexture(texture, &area, &out, &outPitch) != 0) return false;
  for (int y = 0; y < height; ++y)
    convertRow(pixels + static_cast<ptrdiff_t>(y) * pitch,
               reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(out) +
                                                static_cast<ptrdiff_t>(y) * outPitch),
               width, lookup);
  SDL_UnlockTexture(texture);
  return true;
}

}  // namespace sdl
