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

// Puts a key press with the left Alt held into SDL's queue, addressed to the window, as the
// keyboard would. False when SDL refuses it.
inline bool pushAltKey(SDL_Window* window, SDL_Scancode code, SDL_Keycode key) {
  SDL_Event press{};
  press.type = SDL_KEYDOWN;
  press.key.windowID = SDL_GetWindowID(window);
  press.key.state = SDL_PRESSED;
  press.key.keysym.scancode = code;
  press.key.keysym.sym = key;
  press.key.keysym.mod = KMOD_LALT;
  return SDL_PushEvent(&press) == 1;
}
