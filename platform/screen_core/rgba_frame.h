// An 8-bit picture through its palette into RGBA bytes (red first), one lookup a pixel: what
// the web screen hands the page's canvas each frame.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/compat/screen.h"

namespace compat {

// `count` indices from `pixels` into `rgba` as 32-bit words, red in the lowest byte (the
// canvas's byte order on little-endian machines, WebAssembly's), alpha opaque.
void indexedToRgba(const std::uint8_t* pixels, std::size_t count, const Palette& palette,
                   std::uint32_t* rgba);

}  // namespace compat
