#include "platform/compat/shown_area.h"

#include <algorithm>

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

}  // namespace compat
