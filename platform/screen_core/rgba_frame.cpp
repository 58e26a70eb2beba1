#include "platform/screen_core/rgba_frame.h"

namespace compat {

void indexedToRgba(const std::uint8_t* pixels, std::size_t count, const Palette& palette,
                   std::uint32_t* rgba) {
  std::uint32_t lookup[256];
  for (int i = 0; i < 256; ++i)
    lookup[i] = palette[i].red | palette[i].green << 8 | palette[i].blue << 16 | 0xFF000000u;
  for (std::size_t i = 0; i < count; ++i) rgba[i] = lookup[pixels[i]];
}

}  // namespace compat
