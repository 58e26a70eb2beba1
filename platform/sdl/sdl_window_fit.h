// The size and place of the window a full-screen program is shown in (Alt+Enter): the one it
// starts with, and a remembered one brought within the desktop it returns to.
#pragma once

#include <vector>

#include "platform/sdl/sdl_display_state.h"

namespace sdl {

// The largest whole multiple of the picture that fits comfortably (85 % each way, room for
// the desktop's panels and the window's frame) in the usable area, at least the picture
// itself, centred there.
WindowArea defaultWindowOn(const WindowArea& usable, int pictureWidth, int pictureHeight);

// The window made no larger than the usable area of the display it lies most on (the first
// when it lies on none), and moved inside that area on a side it had to shrink. A window that
// fits is left as it is. An empty list of areas leaves it as it is too.
WindowArea fitToDesktop(const WindowArea& window, const std::vector<WindowArea>& usableAreas);

}  // namespace sdl
