// SDL key codes to Windows virtual-key codes.
#pragma once

#include <SDL.h>

namespace sdl {

// The virtual-key code of a key, by where it is (its scan code), or 0 for a key Windows has no
// code for here. Num Lock decides the keypad's digits and point.
unsigned virtualKeyFor(const SDL_Keysym& key);

}  // namespace sdl
