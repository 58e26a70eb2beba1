#include "platform/screen_core/crt_beam.h"

#include <algorithm>
#include <cmath>

namespace compat {

CrtBeam crtBeam(const ScreenRect& rect, int pictureHeight) {
  if (rect.height <= 0 || pictureHeight <= 0) return {1.0f, 0.0f, 0.5f, 0.0f};
  const float linesPerRow = pictureHeight < 300 ? 2.0f : 1.0f;
  const float screenLines =
      static_cast<float>(rect.height) / (static_cast<float>(pictureHeight) * linesPerRow);
  // A smooth step between the two thresholds, so a window being resized fades the lines.
  const float x = std::clamp(
      (screenLines - crtNoDepthLines) / (crtFullDepthLines - crtNoDepthLines), 0.0f, 1.0f);
  const float depth = x * x * (3.0f - 2.0f * x);
  // Beam 0's centre lies half a beam line below the picture's top edge; moved by at most half
  // a screen line, it lies on a screen line's centre, and at whole numbers of screen lines to
  // a beam line every beam does. Otherwise a beam's centre on the line between two screen lines
  // lights both alike, and at two lines to a beam line no line structure would show at all.
  const float centre = 0.5f * screenLines;
  const float shift = 0.5f - (centre - std::floor(centre));  // screen lines, in (-0.5, 0.5]
  return {linesPerRow, -shift / screenLines, 0.5f / screenLines, depth};
}

}  // namespace compat
