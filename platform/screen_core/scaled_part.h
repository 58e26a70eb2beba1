// Where a scaler on the processor writes a scaled rectangle: all of it into packed rows, or a
// part of it (what a window shows of it) straight into a screen's own pixels, whose rows lie
// `pitch` words apart.
#pragma once

#include <cstddef>
#include <cstdint>

namespace compat {

struct ScaledPart {
  // The part: columns [left, right) and rows [top, bottom) of the scaled rectangle.
  int left;
  int top;
  int right;
  int bottom;
  // The part's top-left pixel, and words from a row to the next (at least right - left).
  std::uint32_t* to;
  std::ptrdiff_t pitch;
};

// The whole of a `width` x `height` rectangle into packed rows at `to`.
inline ScaledPart wholeRectangle(int width, int height, std::uint32_t* to) {
  return {0, 0, width, height, to, width};
}

// Whether `part` is a part of a `width` x `height` rectangle that can be written: not empty,
// within the rectangle, somewhere to write it, rows at least its width apart.
inline bool validPart(const ScaledPart& part, int width, int height) {
  return part.to != nullptr && part.left >= 0 && part.top >= 0 && part.left < part.right &&
         part.top < part.bottom && part.right <= width && part.bottom <= height &&
         part.pitch >= part.right - part.left;
}

}  // namespace compat
