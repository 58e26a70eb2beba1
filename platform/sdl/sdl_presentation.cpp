// The kept 8-bit picture onto the window, the SDL renderer's way: the palette mapped once per
// change to the window's own pixel format, each picture pixel through that lookup into a
// streaming texture, which the renderer scales to the window and presents.
#include "platform/sdl/sdl_screen.h"

namespace sdl {

void SdlScreen::measureMonitor() {
  SDL_RendererInfo info;
  SDL_DisplayMode mode;
  const bool vsync =
      SDL_GetRendererInfo(renderer_, &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
  const bool rate = SDL_GetWindowDisplayMode(window_, &mode) == 0 && mode.refresh_rate > 0;
  pacer_.setMonitorPeriod(vsync && rate ? 1'000'000'000 / mode.refresh_rate : 0);
}

void SdlScreen::mapPalette() {
  std::uint8_t rgb[256][3];
  for (size_t i = 0; i < palette_.size(); ++i)
    rgb[i][0] = palette_[i].red, rgb[i][1] = palette_[i].green, rgb[i][2] = palette_[i].blue;
  mapColours(textureFormat_, rgb, lookup_);
}

bool SdlScreen::ensureTexture(int width, int height) {
  if (texture_ != nullptr && width == textureWidth_ && height == textureHeight_) return true;
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  texture_ =
      SDL_CreateTexture(renderer_, textureFormat_, SDL_TEXTUREACCESS_STREAMING, width, height);
  textureWidth_ = width;
  textureHeight_ = height;
  if (texture_ == nullptr) return false;
  // Scaled up with its aspect kept: black bars where the shapes differ.
  SDL_RenderSetLogicalSize(renderer_, width, height);
  updateScaling();
  return true;
}

void SdlScreen::drawPicture() {
  recordPicture();
  if (paletteChanged_) mapPalette();
  if (pictureWidth_ == 0 || pictureHeight_ == 0) return;
  if (!ensureTexture(pictureWidth_, pictureHeight_)) return;
  if (!convertIntoTexture(texture_, picture_.data(), pictureWidth_, pictureWidth_, pictureHeight_,
                          lookup_))
    return;
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
  SDL_RenderPresent(renderer_);
}

}  // namespace sdl
