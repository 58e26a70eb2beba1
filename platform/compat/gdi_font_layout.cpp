// What every platform's fonts share: the sizes a font can be made in, and the layout of a font's
// cell and baseline from its request, whichever library draws the glyphs.
#include <algorithm>
#include <cmath>

#include "platform/compat/gdi_fonts.h"

namespace compat {

bool sensibleFontSize(const FontRequest& request) {
  return request.height >= -largestFontPixels && request.height <= largestFontPixels &&
         request.width >= 0 && request.width <= largestFontPixels;
}

double escapementRadians(const FontRequest& request) {
  return request.escapement / 10.0 * 3.14159265358979323846 / 180.0;
}

void FontFace::setLayout(const FontRequest& request, int ascent, int descent) {
  request_ = request;
  ascent_ = ascent;
  descent_ = descent;
  const int cell = request.height > 0    ? request.height
                   : request.height == 0 ? defaultCellHeight
                                         : 0;
  if (cell > 0) descent_ = std::max(cell - ascent_, 0);
  const double angle = escapementRadians(request);
  cos_ = std::cos(angle);
  sin_ = std::sin(angle);
}

}  // namespace compat
