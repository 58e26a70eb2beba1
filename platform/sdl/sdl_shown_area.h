// Which part of a presented frame the window shows.
#pragma once

#include <SDL.h>

#include "platform/compat/screen.h"

namespace sdl {

// Exclusive: the whole frame, which fills the screen. Windowed: the frame is the desktop, and
// the window shows its own rectangle of it, cut to the desktop (empty when it lies wholly off).
SDL_Rect shownArea(bool exclusive, const compat::WindowPlacement& window, int frameWidth,
                   int frameHeight);

}  // namespace sdl
