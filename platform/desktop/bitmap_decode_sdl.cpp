// Decoding a checked bitmap file on the desktop, with SDL's BMP reader (which needs no video).
#include <SDL.h>

#include "platform/compat/bitmap_file.h"

namespace compat {

// SDL's BMP reader knows 1, 4, 8, 24 and 32 bits a pixel, bottom-up and top-down, RLE.
std::optional<DecodedBitmap> decodeBitmap(const std::vector<std::uint8_t>& bytes) {
  SDL_RWops* memory = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (memory == nullptr) return std::nullopt;
  SDL_Surface* loaded = SDL_LoadBMP_RW(memory, 1);
  if (loaded == nullptr) return std::nullopt;
  SDL_Surface* rgb = nullptr;
  if (loaded->w > 0 && loaded->h > 0 && loaded->w <= largestBitmapSide &&
      loaded->h <= largestBitmapSide &&
      static_cast<long long>(loaded->w) * loaded->h <= largestBitmapPixels)
    rgb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(loaded);
  if (rgb == nullptr) return std::nullopt;
  DecodedBitmap bitmap{rgb->w, rgb->h, {}};
  bitmap.colours.resize(static_cast<std::size_t>(rgb->w) * rgb->h);
  for (int y = 0; y < rgb->h; ++y) {
    const auto* row =
        reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(rgb->pixels) +
                                               static_cast<std::ptrdiff_t>(y) * rgb->pitch);
    for (int x = 0; x < rgb->w; ++x) {
      const std::uint32_t argb = row[x];
      // 0x00BBGGRR, the order of a COLORREF
      bitmap.colours[static_cast<std::size_t>(y) * rgb->w + x] =
          ((argb >> 16) & 0xFF) | (argb & 0xFF00) | (argb & 0xFF) << 16;
    }
  }
  SDL_FreeSurface(rgb);
  return bitmap;
}

}  // namespace compat
