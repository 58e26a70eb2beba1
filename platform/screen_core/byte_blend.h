// Two words of four byte channels mixed channel by channel, two channels at a time in each
// half: what the looks on the processor do wherever a screen pixel straddles two picture pixels.
#pragma once

#include <cstdint>

namespace compat {

// a and b mixed per byte, b's share out of 256 (0 to 256), rounded.
inline std::uint32_t blendBytes(std::uint32_t a, std::uint32_t b, std::uint32_t share) {
  const std::uint32_t keep = 256 - share;
  const std::uint32_t evenBytes =
      ((a & 0x00FF00FFu) * keep + (b & 0x00FF00FFu) * share + 0x00800080u) >> 8 & 0x00FF00FFu;
  const std::uint32_t oddBytes =
      (((a >> 8) & 0x00FF00FFu) * keep + ((b >> 8) & 0x00FF00FFu) * share + 0x00800080u) &
      0xFF00FF00u;
  return evenBytes | oddBytes;
}

}  // namespace compat
