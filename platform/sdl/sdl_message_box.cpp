#include "platform/sdl/sdl_message_box.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "platform/compat/gdi_fonts.h"

namespace sdl {
namespace {

constexpr int margin = 20;
constexpr int minimumWidth = 240;
constexpr int buttonWidth = 80;
constexpr int buttonHeight = 26;

std::u32string toCharacters(std::string_view utf8) {
  const std::string text(utf8);
  char* converted = SDL_iconv_string("UTF-32LE", "UTF-8", text.c_str(), text.size() + 1);
  std::u32string characters;
  if (converted == nullptr) return characters;
  const auto* units = reinterpret_cast<const unsigned char*>(converted);
  for (size_t i = 0;; i += 4) {
    const char32_t c = units[i] | units[i + 1] << 8 | units[i + 2] << 16 |
                       static_cast<char32_t>(units[i + 3]) << 24;
    if (c == 0) break;
    characters.push_back(c);
  }
  SDL_free(converted);
  return characters;
}

// The box as a picture: dialog grey, the text in black, an OK button.
class BoxPicture {
 public:
  explicit BoxPicture(std::string_view textUtf8) : characters_(toCharacters(textUtf8)) {
    // The system's text rendering, with a Japanese face for the Japanese messages.
    font_ = compat::FontFace::open({16, 0, 0, 400, false, 128, ""});
    double textWidth = 0;
    if (font_)
      for (char32_t c : characters_) textWidth += font_->glyph(c).advance;
    width = std::max(minimumWidth, static_cast<int>(std::ceil(textWidth)) + 2 * margin);
    height = 2 * margin + 16 + 12 + buttonHeight;
    button = {width / 2 - buttonWidth / 2, height - margin / 2 - buttonHeight, buttonWidth,
              buttonHeight};
  }

  void draw(SDL_Renderer* renderer, bool pressed) {
    SDL_SetRenderDrawColor(renderer, 212, 208, 200, 255);
    SDL_RenderClear(renderer);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    drawText(renderer, characters_, margin, margin);
    const int shade = pressed ? 160 : 255;
    SDL_SetRenderDrawColor(renderer, shade, shade, shade, 255);
    SDL_RenderFillRect(renderer, &button);
    SDL_SetRenderDrawColor(renderer, 64, 64, 64, 255);
    SDL_RenderDrawRect(renderer, &button);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    drawText(renderer, U"OK", button.x + button.w / 2 - 10, button.y + 5);
    SDL_RenderPresent(renderer);
  }

  int width = minimumWidth;
  int height = 100;
  SDL_Rect button{};

 private:
  void drawText(SDL_Renderer* renderer, const std::u32string& text, int x, int y) {
    if (!font_) return;
    double penX = x;
    const int penY = y + font_->ascent();
    for (char32_t c : text) {
      const compat::Glyph& glyph = font_->glyph(c);
      const int left = static_cast<int>(std::lround(penX)) + glyph.left;
      for (int gy = 0; gy < glyph.rows; ++gy)
        for (int gx = 0; gx < glyph.width; ++gx)
          if (glyph.ink[static_cast<size_t>(gy) * glyph.width + gx])
            SDL_RenderDrawPoint(renderer, left + gx, penY + glyph.top + gy);
      penX += glyph.advance;
    }
  }

  std::u32string characters_;
  std::unique_ptr<compat::FontFace> font_;
};

bool inside(const SDL_Rect& r, int x, int y) {
  return x >= r.x && y >= r.y && x < r.x + r.w && y < r.y + r.h;
}

}  // namespace

void runMessageBox(std::string_view captionUtf8, std::string_view textUtf8) {
  BoxPicture picture(textUtf8);
  const std::string title(captionUtf8);
  SDL_Window* window =
      SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, picture.width,
                       picture.height, SDL_WINDOW_SHOWN | SDL_WINDOW_ALWAYS_ON_TOP);
  if (window == nullptr) return;  // the text is on standard error already
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  if (renderer == nullptr) {
    SDL_DestroyWindow(window);
    return;
  }
  SDL_RaiseWindow(window);
  const Uint32 id = SDL_GetWindowID(window);
  bool answered = false;
  picture.draw(renderer, false);
  while (!answered) {
    SDL_Event event;
    if (!SDL_WaitEventTimeout(&event, 250)) {
      picture.draw(renderer, false);  // keep it drawn where nothing says it was exposed
      continue;
    }
    switch (event.type) {
      case SDL_QUIT:
        answered = true;
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
}

}  // namespace sdl
