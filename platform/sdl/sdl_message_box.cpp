#include "platform/sdl/sdl_message_box.h"

#include <SDL.h>

#include <string>

namespace sdl {
namespace {

constexpr int boxWidth = 360;
constexpr int boxHeight = 120;
constexpr SDL_Rect okButton{boxWidth / 2 - 40, boxHeight - 40, 80, 26};

void draw(SDL_Renderer* renderer, bool pressed) {
  SDL_SetRenderDrawColor(renderer, 212, 208, 200, 255);  // the classic dialog grey
  SDL_RenderClear(renderer);
  SDL_SetRenderDrawColor(renderer, pressed ? 160 : 255, pressed ? 160 : 255, pressed ? 160 : 255,
                         255);
  SDL_RenderFillRect(renderer, &okButton);
  SDL_SetRenderDrawColor(renderer, 64, 64, 64, 255);
  SDL_RenderDrawRect(renderer, &okButton);
  // "OK" in strokes, until the box draws its text with the system's text rendering.
  const int x = okButton.x + 30, y = okButton.y + 7;
  SDL_Rect o{x, y, 9, 12};
  SDL_RenderDrawRect(renderer, &o);
  SDL_RenderDrawLine(renderer, x + 13, y, x + 13, y + 11);
  SDL_RenderDrawLine(renderer, x + 13, y + 6, x + 20, y);
  SDL_RenderDrawLine(renderer, x + 13, y + 6, x + 20, y + 11);
  SDL_RenderPresent(renderer);
}

bool inside(const SDL_Rect& r, int x, int y) {
  return x >= r.x && y >= r.y && x < r.x + r.w && y < r.y + r.h;
}

}  // namespace

void runMessageBox(std::string_view captionUtf8, std::string_view /*textUtf8*/) {
  const std::string title(captionUtf8);
  SDL_Window* window =
      SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, boxWidth,
                       boxHeight, SDL_WINDOW_SHOWN | SDL_WINDOW_ALWAYS_ON_TOP);
  if (window == nullptr) return;  // the text is on standard error already
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  if (renderer == nullptr) {
    SDL_DestroyWindow(window);
    return;
  }
  SDL_RaiseWindow(window);
  const Uint32 id = SDL_GetWindowID(window);
  bool answered = false;
  draw(renderer, false);
  while (!answered) {
    SDL_Event event;
    if (!SDL_WaitEventTimeout(&event, 250)) {
      draw(renderer, false);  // keep the box drawn where nothing tells us it was exposed
      continue;
    }
    switch (event.type) {
      case SDL_QUIT:
        answered = true;
        break;
      case SDL_WINDOWEVENT:
        if (event.window.windowID != id) break;
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) answered = true;
        if (event.window.event == SDL_WINDOWEVENT_EXPOSED) draw(renderer, false);
        break;
      case SDL_KEYDOWN: {
        const SDL_Keycode key = event.key.keysym.sym;
        if (key == SDLK_RETURN || key == SDLK_KP_ENTER || key == SDLK_ESCAPE || key == SDLK_SPACE)
          answered = true;
        break;
      }
      case SDL_MOUSEBUTTONUP:
        if (event.button.windowID == id && inside(okButton, event.button.x, event.button.y))
          answered = true;
        break;
      default:
        break;
    }
  }
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
}

}  // namespace sdl
