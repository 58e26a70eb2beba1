// A window's size as the X server has it now. SDL's own idea of it follows the server's
// notices, which come later: a window another program has just resized is drawn at the
// server's size (the GL driver asks the server) before SDL has heard of it.
#pragma once

#include <SDL.h>

namespace sdl {

// The window's size on the X server (a round trip), or SDL's where it is not an X window.
SDL_Point serverWindowSize(SDL_Window* window);

}  // namespace sdl
