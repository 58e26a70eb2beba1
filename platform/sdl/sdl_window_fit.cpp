#include "platform/sdl/sdl_window_fit.h"

#include <algorithm>

namespace sdl {
namespace {

constexpr double comfortable = 0.85;

long long overlap(const WindowArea& a, const WindowArea& b) {
  const long long width = std::min<long long>(static_cast<long long>(a.x) + a.width,
                                              static_cast<long long>(b.x) + b.width) -
                          std::max(a.x, b.x);
  const long long height = std::min<long long>(static_cast<long long>(a.y) + a.height,
                                               static_cast<long long>(b.y) + b.height) -
                           std::max(a.y, b.y);
  return width > 0 && height > 0 ? width * height : 0;
}

}  // namespace

WindowArea defaultWindowOn(const WindowArea& usable, int pictureWidth, int pictureHeight) {
  pictureWidth = std::max(pictureWidth, 1);
  pictureHeight = std::max(pictureHeight, 1);
  // The smaller of the two factors: the larger one would leave the other side off the desktop.
  const int factor =
      std::max(1, std::min(static_cast<int>(usable.width * comfortable) / pictureWidth,
                           static_cast<int>(usable.height * comfortable) / pictureHeight));
  const int width = pictureWidth * factor, height = pictureHeight * factor;
  return {usable.x + (usable.width - width) / 2, usable.y + (usable.height - height) / 2, width,
          height};
}

WindowArea fitToDesktop(const WindowArea& window, const std::vector<WindowArea>& usableAreas) {
  if (usableAreas.empty()) return window;
  const WindowArea* home = &usableAreas.front();
  for (const WindowArea& area : usableAreas)
    if (overlap(window, area) > overlap(window, *home)) home = &area;
  WindowArea fitted = window;
  if (fitted.width > home->width) {
    fitted.width = std::max(home->width, 1);
    fitted.x = home->x;
  }
  if (fitted.height > home->height) {
    fitted.height = std::max(home->height, 1);
    fitted.y = home->y;
  }
  return fitted;
}

}  // namespace sdl
