#include "platform/compat/guarded_pixels.h"

#include <algorithm>
#include <cstring>

namespace compat {

GuardedPixels::GuardedPixels(int width, int height, int pitch, std::uint8_t fill)
    : width_(width),
      height_(height),
      pitch_(pitch),
      bytes_(guardBand + static_cast<std::size_t>(pitch) * height + guardBand, guardByte) {
  for (int y = 0; y < height; ++y)
    std::memset(data() + static_cast<std::size_t>(y) * pitch, fill,
                static_cast<std::size_t>(width));
}

bool GuardedPixels::guardsIntact() const {
  const auto isGuard = [](std::uint8_t byte) { return byte == guardByte; };
  const std::uint8_t* first = bytes_.data();
  const std::uint8_t* end = first + bytes_.size();
  if (!std::all_of(first, first + guardBand, isGuard) ||
      !std::all_of(end - guardBand, end, isGuard))
    return false;
  for (int y = 0; y < height_; ++y) {
    const std::uint8_t* padding = data() + static_cast<std::size_t>(y) * pitch_ + width_;
    if (!std::all_of(padding, padding + (pitch_ - width_), isGuard)) return false;
  }
  return true;
}

}  // namespace compat
