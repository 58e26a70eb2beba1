// The SDL screen's window as the tests find it: the first window SDL has that is shown. Its
// number is not always 1: the screen may make and destroy hidden windows of its own first (the
// one through which it finds its X connection).
#pragma once

#include <SDL.h>

inline SDL_Window* screenWindow() {
  for (Uint32 id = 1; id < 64; ++id) {
    SDL_Window* window = SDL_GetWindowFromID(id);
    if (window != nullptr && (SDL_GetWindowFlags(window) & SDL_WINDOW_HIDDEN) == 0) return window;
  }
  return nullptr;
}
