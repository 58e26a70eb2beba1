#include "platform/screen_core/looks.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>

namespace compat {
namespace {

constexpr Look cycle[] = {Look::integer, Look::sharp, Look::crt};
constexpr std::string_view names[] = {"integer", "sharp", "crt"};

bool validSizes(int pictureWidth, int pictureHeight, int drawableWidth, int drawableHeight) {
  return pictureWidth > 0 && pictureHeight > 0 && drawableWidth > 0 && drawableHeight > 0;
}

}  // namespace

std::string_view lookName(Look look) { return names[static_cast<int>(look)]; }

std::optional<Look> parseLook(std::string_view name) {
  for (const Look look : cycle)
    if (lookName(look) == name) return look;
  return std::nullopt;
}

Look nextLook(Look look) {
  return cycle[(static_cast<int>(look) + 1) % static_cast<int>(std::size(cycle))];
}

ScreenRect lookRectangle(Look look, int pictureWidth, int pictureHeight, int drawableWidth,
                         int drawableHeight) {
  if (look == Look::integer)
    return integerRectangle(pictureWidth, pictureHeight, drawableWidth, drawableHeight);
  return aspectRectangle(pictureWidth, pictureHeight, drawableWidth, drawableHeight);
}

ScreenRect integerRectangle(int pictureWidth, int pictureHeight, int drawableWidth,
                            int drawableHeight) {
  if (!validSizes(pictureWidth, pictureHeight, drawableWidth, drawableHeight)) return {0, 0, 0, 0};
  // The same steps, in the same single-precision arithmetic, as SDL 2's logical size with
  // integer scaling switched on only where the drawable holds the picture (the SDL screen's
  // choice): the two paths must put the picture on the same pixels, odd remainders included
  // (the spare pixel goes to the right and the bottom).
  const float wantAspect = static_cast<float>(pictureWidth) / static_cast<float>(pictureHeight);
  const float realAspect = static_cast<float>(drawableWidth) / static_cast<float>(drawableHeight);
  if (drawableWidth >= pictureWidth && drawableHeight >= pictureHeight) {
    const int factor =
        wantAspect > realAspect ? drawableWidth / pictureWidth : drawableHeight / pictureHeight;
    const int width = pictureWidth * factor, height = pictureHeight * factor;
    return {(drawableWidth - width) / 2, (drawableHeight - height) / 2, width, height};
  }
  if (std::fabs(static_cast<double>(wantAspect - realAspect)) < 0.0001)
    return {0, 0, drawableWidth, drawableHeight};
  if (wantAspect > realAspect) {
    // Wider than the drawable: full width, bars above and below.
    const float scale = static_cast<float>(drawableWidth) / static_cast<float>(pictureWidth);
    const int height = static_cast<int>(std::floor(static_cast<float>(pictureHeight) * scale));
    return {0, (drawableHeight - height) / 2, drawableWidth, height};
  }
  const float scale = static_cast<float>(drawableHeight) / static_cast<float>(pictureHeight);
  const int width = static_cast<int>(std::floor(static_cast<float>(pictureWidth) * scale));
  return {(drawableWidth - width) / 2, 0, width, drawableHeight};
}

ScreenRect aspectRectangle(int pictureWidth, int pictureHeight, int drawableWidth,
                           int drawableHeight) {
  if (!validSizes(pictureWidth, pictureHeight, drawableWidth, drawableHeight)) return {0, 0, 0, 0};
  // In 64 bits and exact: the cross products of sizes up to 2^31 do not fit an int.
  const std::int64_t pw = pictureWidth, ph = pictureHeight;
  const std::int64_t dw = drawableWidth, dh = drawableHeight;
  if (dw * ph >= dh * pw) {
    // At least as wide as the picture's shape: full height, bars at the sides.
    const int width = static_cast<int>(std::max<std::int64_t>(1, dh * pw / ph));
    return {(drawableWidth - width) / 2, 0, width, drawableHeight};
  }
  const int height = static_cast<int>(std::max<std::int64_t>(1, dw * ph / pw));
  return {0, (drawableHeight - height) / 2, drawableWidth, height};
}

PicturePoint pointOnPicture(int x, int y, int windowWidth, int windowHeight, int drawableWidth,
                            int drawableHeight, const ScreenRect& rect, int pictureWidth,
                            int pictureHeight) {
  if (windowWidth <= 0 || windowHeight <= 0 || drawableWidth <= 0 || drawableHeight <= 0 ||
      rect.width <= 0 || rect.height <= 0 || pictureWidth <= 0 || pictureHeight <= 0)
    return {0, 0};
  const auto along = [](int point, int points, int pixels, int start, int length, int texels) {
    const double pixel = (point + 0.5) * pixels / points;
    const double texel = std::floor((pixel - start) * texels / length);
    return static_cast<int>(std::clamp(texel, 0.0, texels - 1.0));
  };
  return {along(x, windowWidth, drawableWidth, rect.x, rect.width, pictureWidth),
          along(y, windowHeight, drawableHeight, rect.y, rect.height, pictureHeight)};
}

}  // namespace compat
