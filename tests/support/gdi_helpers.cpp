#include "tests/support/gdi_helpers.h"

#include <algorithm>

namespace support {

void fillTestPalette(PALETTEENTRY (&entries)[256]) {
  const PALETTEENTRY named[] = {{0, 0, 0, 0},     {1, 1, 1, 0},       {255, 0, 0, 0},
                                {0, 255, 0, 0},   {0, 0, 255, 0},     {255, 255, 255, 0},
                                {128, 128, 128, 0}};
  for (int i = 0; i < 256; ++i)
    entries[i] = {static_cast<BYTE>(20 + i / 8), static_cast<BYTE>(30 + i / 8),
                  static_cast<BYTE>(60 + i / 4), 0};
  std::copy(std::begin(named), std::end(named), entries);
}

std::optional<RECT> boundsOf(const Picture& picture, uint8_t index) {
  std::optional<RECT> bounds;
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) {
      if (picture.at(x, y) != index) continue;
      if (!bounds) bounds = RECT{x, y, x + 1, y + 1};
      bounds->left = std::min<LONG>(bounds->left, x);
      bounds->top = std::min<LONG>(bounds->top, y);
      bounds->right = std::max<LONG>(bounds->right, x + 1);
      bounds->bottom = std::max<LONG>(bounds->bottom, y + 1);
    }
  return bounds;
}

long countOf(const Picture& picture, uint8_t index) {
  return std::count(picture.pixels.begin(), picture.pixels.end(), index);
}

}  // namespace support
