// The kept 8-bit picture onto the window where there is no GPU path, the SDL renderer's way:
// the palette mapped once per change to the window's own pixel format, each picture pixel
// through that lookup into a streaming texture, which the renderer scales by whole factors to
// the window and presents. Whatever the user's look, this path draws whole factors.
#include <algorithm>
#include <cstdio>

#include "platform/screen_core/notice_font.h"
#include "platform/sdl/sdl_screen.h"
#include "platform/sdl/sdl_x_errors.h"

namespace sdl {

void SdlScreen::measureMonitor(bool vsync) {
  SDL_DisplayMode mode;
  const bool rate = SDL_GetWindowDisplayMode(window_, &mode) == 0 && mode.refresh_rate > 0;
  pacer_.setMonitorPeriod(vsync && rate ? 1'000'000'000 / mode.refresh_rate : 0);
}

bool SdlScreen::startRenderer(bool softwareOnly, XErrorsCaught& xErrors, std::string& gpuRefused) {
  window_ = makeWindow(0);
  if (window_ == nullptr) {
    std::fprintf(stderr, "screen: cannot create the window: %s\n", SDL_GetError());
    return false;
  }
  if (!softwareOnly) {
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_PRESENTVSYNC);
    gpuRefused = xErrors.firstError();
    if (!gpuRefused.empty()) {
      // SDL's GPU renderers refused by the X server: a fresh window drawn in software.
      if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
      renderer_ = nullptr;
      SDL_DestroyWindow(window_);
      window_ = makeWindow(0);
      if (window_ == nullptr) {
        std::fprintf(stderr, "screen: cannot create the window: %s\n", SDL_GetError());
        return false;
      }
    }
  }
  if (renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  if (renderer_ == nullptr) {
    std::fprintf(stderr, "screen: cannot draw into the window: %s\n", SDL_GetError());
    return false;
  }
  // Frames are written straight into the texture in the window's own format when that format
  // has four bytes a pixel, so nothing converts them again on the way to the screen.
  const Uint32 windowFormat = SDL_GetWindowPixelFormat(window_);
  if (SDL_BYTESPERPIXEL(windowFormat) == 4 && !SDL_ISPIXELFORMAT_INDEXED(windowFormat))
    textureFormat_ = windowFormat;
  mapPalette();
  SDL_RendererInfo info;
  const bool known = SDL_GetRendererInfo(renderer_, &info) == 0;
  measureMonitor(known && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0);
  return true;
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
  return texture_ != nullptr;
}

void SdlScreen::setCanvas(int width, int height) {
  if (width == canvasWidth_ && height == canvasHeight_) return;
  canvasWidth_ = width;
  canvasHeight_ = height;
  // Scaled up with its aspect kept: black bars where the shapes differ.
  SDL_RenderSetLogicalSize(renderer_, width, height);
  updateScaling();
}

bool SdlScreen::rendererInSoftware() const {
  SDL_RendererInfo info{};
  return renderer_ != nullptr && SDL_GetRendererInfo(renderer_, &info) == 0 &&
         (info.flags & SDL_RENDERER_SOFTWARE) != 0;
}

void SdlScreen::stopRenderer() {
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  texture_ = nullptr;
  textureWidth_ = textureHeight_ = 0;
  SDL_DestroyRenderer(renderer_);
  renderer_ = nullptr;
  SDL_DestroyWindow(window_);
  window_ = nullptr;
}

void SdlScreen::drawPicture() {
  recordPicture();
  if (glContext_ != nullptr)
    drawWithGl();
  else if (onProcessor_)
    drawOnProcessor();
  else
    drawWithRenderer();
}

void SdlScreen::drawWithRenderer() {
  if (paletteChanged_) mapPalette();
  if (pictureWidth_ == 0 || pictureHeight_ == 0) return;
  if (!ensureTexture(pictureWidth_, pictureHeight_)) return;
  if (!convertIntoTexture(texture_, picture_.data(), pictureWidth_, pictureWidth_, pictureHeight_,
                          lookup_))
    return;
  // Full-screen the canvas is the picture. Windowed it is the window, which shows its rectangle
  // of the desktop: the picture where the desktop lies in it, black past the desktop's edges.
  if (exclusive_)
    setCanvas(pictureWidth_, pictureHeight_);
  else
    setCanvas(std::max(placement_.width, pictureWidth_),
              std::max(placement_.height, pictureHeight_));
  if (tooLargeToDraw()) return;
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  const SDL_Rect where{pictureLeft_, pictureTop_, pictureWidth_, pictureHeight_};
  SDL_RenderCopy(renderer_, texture_, nullptr, &where);
  drawRendererNotice();
  SDL_RenderPresent(renderer_);
}

void SdlScreen::drawRendererNotice() {
  if (noticeChanged_) {
    noticeChanged_ = false;
    if (noticeTexture_ != nullptr) SDL_DestroyTexture(noticeTexture_);
    noticeTexture_ = nullptr;
    const compat::NoticeImage notice = compat::renderNotice(noticeLines());
    if (notice.width > 0 && notice.height > 0) {
      // White ink on translucent black, a pixel of margin around it.
      const int width = notice.width + 2, height = notice.height + 2;
      std::vector<Uint32> pixels(static_cast<std::size_t>(width) * height, 0xA0000000u);
      for (int y = 0; y < notice.height; ++y)
        for (int x = 0; x < notice.width; ++x)
          if (notice.alpha[static_cast<std::size_t>(y) * notice.width + x] != 0)
            pixels[static_cast<std::size_t>(y + 1) * width + x + 1] = 0xFFFFFFFFu;
      noticeTexture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888,
                                         SDL_TEXTUREACCESS_STATIC, width, height);
      if (noticeTexture_ != nullptr) {
        SDL_SetTextureBlendMode(noticeTexture_, SDL_BLENDMODE_BLEND);
        SDL_UpdateTexture(noticeTexture_, nullptr, pixels.data(), width * 4);
      }
    }
  }
  if (noticeTexture_ == nullptr) return;
  // In the canvas's own pixels, at its bottom-left corner: scaled with it.
  int width = 0, height = 0;
  SDL_QueryTexture(noticeTexture_, nullptr, nullptr, &width, &height);
  const SDL_Rect where{2, canvasHeight_ - height - 2, width, height};
  SDL_RenderCopy(renderer_, noticeTexture_, nullptr, &where);
}

}  // namespace sdl
