#include "platform/sdl/sdl_message_box.h"

#include <SDL.h>

#include <algorithm>
#include <memory>
#include <string>

#include "platform/compat/text_layout.h"

namespace sdl {
namespace {

constexpr int margin = 20;
constexpr int minimumWidth = 240;
constexpr int buttonWidth = 80;
constexpr int buttonHeight = 26;

// The box as a picture: dialog grey, the text in black, an OK button.
class BoxPicture {
 public:
  explicit BoxPicture(std::string_view textUtf8) {
    // The system's text rendering, with a Japanese face for the Japanese messages.
    const std::unique_ptr<compat::FontFace> font =
        compat::FontFace::open({16, 0, 0, 400, false, 128, ""});
    if (font) {
      text_ = compat::renderLine(*font, textUtf8);
      ok_ = compat::renderLine(*font, "OK");
    }
    width = std::max(minimumWidth, text_.width + 2 * margin);
    height = 2 * margin + 16 + 12 + buttonHeight;
    button = {width / 2 - buttonWidth / 2, height - margin / 2 - buttonHeight, buttonWidth,
              buttonHeight};
  }

  void draw(SDL_Renderer* renderer, bool pressed) {
    SDL_SetRenderDrawColor(renderer, 212, 208, 200, 255);
    SDL_RenderClear(renderer);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    drawInk(renderer, text_, margin, margin);
    const int shade = pressed ? 160 : 255;
    SDL_SetRenderDrawColor(renderer, shade, shade, shade, 255);
    SDL_RenderFillRect(renderer, &button);
    SDL_SetRenderDrawColor(renderer, 64, 64, 64, 255);
    SDL_RenderDrawRect(renderer, &button);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    drawInk(renderer, ok_, button.x + (button.w - ok_.width) / 2, button.y + 5);
    SDL_RenderPresent(renderer);
  }

  int width = minimumWidth;
  int height = 100;
  SDL_Rect button{};

 private:
  static void drawInk(SDL_Renderer* renderer, const compat::TextInk& text, int x, int y) {
    for (int ty = 0; ty < text.height; ++ty)
      for (int tx = 0; tx < text.width; ++tx)
        if (text.ink[static_cast<size_t>(ty) * text.width + tx])
          SDL_RenderDrawPoint(renderer, x + tx, y + ty);
  }

  compat::TextInk text_;
  compat::TextInk ok_;
};

bool inside(const SDL_Rect& r, int x, int y) {
  return x >= r.x && y >= r.y && x < r.x + r.w && y < r.y + r.h;
}

}  // namespace

bool runMessageBox(std::string_view captionUtf8, std::string_view textUtf8) {
  BoxPicture picture(textUtf8);
  const std::string title(captionUtf8);
  SDL_Window* window =
      SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, picture.width,
                       picture.height, SDL_WINDOW_SHOWN | SDL_WINDOW_ALWAYS_ON_TOP);
  if (window == nullptr) return true;  // the text is on standard error already
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  if (renderer == nullptr) {
    SDL_DestroyWindow(window);
    return true;
  }
  SDL_RaiseWindow(window);
  const Uint32 id = SDL_GetWindowID(window);
  bool answered = false, quitAsked = false;
  picture.draw(renderer, false);
  while (!answered) {
    SDL_Event event;
    if (!SDL_WaitEventTimeout(&event, 250)) {
      picture.draw(renderer, false);  // keep it drawn where nothing says it was exposed
      continue;
    }
    switch (event.type) {
      case SDL_QUIT:  // the box's own closing was answered before it
        answered = quitAsked = true;
        break;
      case SDL_WINDOWEVENT:
        if (event.window.windowID != id) break;
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) answered = true;
        if (event.window.event == SDL_WINDOWEVENT_EXPOSED) picture.draw(renderer, false);
        break;
      case SDL_KEYDOWN: {
        const SDL_Keycode key = event.key.keysym.sym;
        if (key == SDLK_RETURN || key == SDLK_KP_ENTER || key == SDLK_ESCAPE || key == SDLK_SPACE)
          answered = true;
        break;
      }
      case SDL_MOUSEBUTTONDOWN:
        if (event.button.windowID == id && inside(picture.button, event.button.x, event.button.y))
          picture.draw(renderer, true);
        break;
      case SDL_MOUSEBUTTONUP:
        if (event.button.windowID == id && inside(picture.button, event.button.x, event.button.y))
          answered = true;
        break;
      default:
        break;
    }
  }
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
  return !quitAsked;
}

}  // namespace sdl
