// SDL key codes to Windows virtual-key codes.
#pragma once

#include <SDL.h>

namespace sdl {

// The virtual-key code of a key, or 0 for a key Windows has no code for here.
unsigned virtualKeyFor(const SDL_Keysym& key);

}  // namespace sdl
