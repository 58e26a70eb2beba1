// Which part of a presented frame a screen's window shows: the same answer for every screen.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/compat/screen.h"

namespace compat {

struct ShownArea {
  int x;
  int y;
  int width;
  int height;
};

// Exclusive: the whole frame, which fills the screen. Windowed: the frame is the desktop, and
// the window shows its own rectangle of it, cut to the desktop (empty when it lies wholly off).
ShownArea shownArea(bool exclusive, const WindowPlacement& window, int frameWidth, int frameHeight);

// The area's pixels of the frame, rows packed (pitch = the area's width), into `picture`.
void copyShownArea(const IndexedFrame& frame, const ShownArea& area,
                   std::vector<std::uint8_t>& picture);

}  // namespace compat
