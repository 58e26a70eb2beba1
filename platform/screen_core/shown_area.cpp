#include "platform/screen_core/shown_area.h"

#include <algorithm>
#include <cstring>

namespace compat {

ShownArea shownArea(bool exclusive, const WindowPlacement& window, int frameWidth,
                    int frameHeight) {
  if (exclusive) return {0, 0, frameWidth, frameHeight};
  // In 64 bits: a window far off the desktop must not overflow on the way.
  const auto clamp = [](long long value, long long low, long long high) {
    return static_cast<int>(std::clamp(value, low, high));
  };
  const int left = clamp(window.x, 0, frameWidth);
  const int top = clamp(window.y, 0, frameHeight);
  const int right = clamp(static_cast<long long>(window.x) + window.width, left, frameWidth);
  const int bottom = clamp(static_cast<long long>(window.y) + window.height, top, frameHeight);
  return {left, top, right - left, bottom - top};
}

void copyShownArea(const IndexedFrame& frame, const ShownArea& area,
                   std::vector<std::uint8_t>& picture) {
  picture.resize(static_cast<std::size_t>(area.width) * area.height);
  for (int y = 0; y < area.height; ++y)
    std::memcpy(picture.data() + static_cast<std::size_t>(y) * area.width,
                frame.pixels + static_cast<std::ptrdiff_t>(area.y + y) * frame.pitch + area.x,
                static_cast<std::size_t>(area.width));
}

}  // namespace compat
