// The kept 8-bit picture onto the window where the GL itself would draw on the processor
// (Mesa's llvmpipe in a virtual machine, a remote desktop, a machine without its GPU driver),
// or where there is no GL and SDL's renderer would draw in software: every look drawn on the
// processor straight into the window's own pixels, which SDL hands to the X server as they are
// (shared memory where the server offers it). No GL at all: such a GL would cost as much again to
// copy the picture through its rasteriser and read it back for the window. The looks are
// screen_core's scalers, the GPU shaders' pictures within a level or two.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/screen_core/notice_font.h"
#include "platform/sdl/sdl_screen.h"

namespace sdl {
namespace {

// The formats the scalers can write: four bytes a pixel, 8 bits a channel, green the second
// byte (the mask's stripes tell green from the others). X servers of 24 and 32 bits give
// SDL_PIXELFORMAT_RGB888.
bool scalersWrite(const SDL_PixelFormat& format) {
  return format.BytesPerPixel == 4 && format.Gmask == 0x0000FF00u &&
         (format.Rmask | format.Bmask) == 0x00FF00FFu;
}

}  // namespace

bool SdlScreen::startProcessor() {
  window_ = makeWindow(0);
  if (window_ == nullptr) return false;
  // The window's own pixels, not a texture SDL would draw through a renderer (its GL one here;
  // on X startVideo has said so already, before any window asked).
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  const SDL_Surface* surface = SDL_GetWindowSurface(window_);
  if (surface == nullptr || !scalersWrite(*surface->format)) {
    if (surface != nullptr)
      SDL_SetError("the window's pixels are %s, not 8 bits a channel in four bytes",
                   SDL_GetPixelFormatName(surface->format->format));
    const std::string reason = SDL_GetError();
    SDL_DestroyWindow(window_);
    window_ = nullptr;
    SDL_SetError("%s", reason.c_str());
    return false;
  }
  textureFormat_ = surface->format->format;
  mapPalette();
  onProcessor_ = true;
  surfaceDrawn_ = nullptr;
  measureMonitor(false);
  return true;
}

void SdlScreen::drawOnProcessor() {
  if (paletteChanged_) mapPalette();
  // Where nothing can be drawn now, what was drawn is forgotten: the surface made anew later
  // may lie where the last one did, and its pixels must all be drawn and sent.
  SDL_Surface* surface = tooLargeToDraw() ? nullptr : SDL_GetWindowSurface(window_);
  if (surface == nullptr || !scalersWrite(*surface->format)) {
    surfaceDrawn_ = nullptr;
    return;
  }
  const int width = surface->w, height = surface->h;
  const auto pitch = static_cast<std::ptrdiff_t>(surface->pitch / 4);
  auto* pixels = static_cast<std::uint32_t*>(surface->pixels);
  const std::int64_t startNs = nowNs(), startCpuNs = processCpuNs();

  // The look and its rectangle, as the GPU presenter has them: the CRT look without room for its
  // lines (or on a screen beyond its tables) is the sharp look, and the sharp look at whole
  // factors both ways is the integer look's copy.
  compat::Look look = shownLook();
  compat::ScreenRect rect{0, 0, 0, 0};
  if (pictureWidth_ > 0 && pictureHeight_ > 0)
    rect = exclusive_ ? compat::lookRectangle(look, pictureWidth_, pictureHeight_, width, height)
                      : pictureInWindow(width, height);
  if (!exclusive_) look = compat::Look::integer;
  if (look == compat::Look::crt &&
      !compat::CrtScaler::draws(rect.width, rect.height, pictureHeight_))
    look = compat::Look::sharp;
  if (look == compat::Look::sharp && rect.width > 0 && rect.width % pictureWidth_ == 0 &&
      rect.height % pictureHeight_ == 0)
    look = compat::Look::integer;
  processorLook_ = look;

  // Everything is drawn anew when the window's pixels, the rectangle or the notice changed (the
  // bars black again); otherwise only the rectangle and the notice over it.
  if (noticeChanged_) {
    noticeChanged_ = false;
    notice_ = compat::renderNotice(noticeLines());
    surfaceDrawn_ = nullptr;
  }
  const bool whole = surface != surfaceDrawn_ || width != drawnWidth_ || height != drawnHeight_ ||
                     rect.x != drawnRect_.x || rect.y != drawnRect_.y ||
                     rect.width != drawnRect_.width || rect.height != drawnRect_.height;
  if (whole) {
    for (int y = 0; y < height; ++y)
      std::memset(pixels + y * pitch, 0, static_cast<std::size_t>(width) * 4);
    surfaceDrawn_ = surface;
    drawnWidth_ = width;
    drawnHeight_ = height;
    drawnRect_ = rect;
  }

  // The rectangle's part that lies on the window.
  const int left = std::max(0, -rect.x), top = std::max(0, -rect.y);
  const int right = std::min(rect.width, width - rect.x);
  const int bottom = std::min(rect.height, height - rect.y);
  SDL_Rect shown{0, 0, 0, 0};
  if (left < right && top < bottom) {
    words_.resize(picture_.size());
    convertPixels(picture_.data(), pictureWidth_, pictureWidth_, pictureHeight_, lookup_,
                  words_.data());
    const compat::ScaledPart part{
        left, top, right, bottom, pixels + (rect.y + top) * pitch + (rect.x + left), pitch};
    if (look == compat::Look::crt)
      crtScaler_.scalePart(words_.data(), pictureWidth_, pictureHeight_, rect.width, rect.height,
                           rect.x & 1, part);
    else
      sharpScaler_.scalePart(words_.data(), pictureWidth_, pictureHeight_, rect.width, rect.height,
                             look == compat::Look::sharp ? compat::SharpScaler::Sampling::sharp
                                                         : compat::SharpScaler::Sampling::nearest,
                             part);
    shown = {rect.x + left, rect.y + top, right - left, bottom - top};
  }
  const SDL_Rect box = drawProcessorNotice(pixels, pitch, width, height);

  const std::int64_t elapsedNs = nowNs() - startNs;
  const bool slow = timePresentation(std::min(elapsedNs, processCpuNs() - startCpuNs));
  if (whole) {
    SDL_UpdateWindowSurface(window_);
  } else {
    SDL_Rect changed[2];
    int count = 0;
    if (shown.w > 0) changed[count++] = shown;
    if (box.w > 0) changed[count++] = box;
    if (count > 0) SDL_UpdateWindowSurfaceRects(window_, changed, count);
  }
  if (slow) showSlowLook();
}

SDL_Rect SdlScreen::drawProcessorNotice(std::uint32_t* pixels, std::ptrdiff_t pitch, int width,
                                        int height) {
  if (notice_.width <= 0 || notice_.height <= 0) return {0, 0, 0, 0};
  // White ink; the rest of the box lets a third of what is under it through, so the text reads
  // on any picture (the GPU presenter's blend, ink premultiplied).
  const compat::NoticePlacement placed = compat::placeNotice(notice_.width, notice_.height, height);
  const int factor = placed.factor, margin = compat::NoticePlacement::margin;
  const int boxX = placed.box.x, boxY = placed.box.y;
  const int boxWidth = placed.box.width, boxHeight = placed.box.height;
  const int x0 = std::max(boxX, 0), y0 = std::max(boxY, 0);
  const int x1 = std::min(boxX + boxWidth, width), y1 = std::min(boxY + boxHeight, height);
  if (x0 >= x1 || y0 >= y1) return {0, 0, 0, 0};
  for (int y = y0; y < y1; ++y) {
    const int inkY = (y - boxY) / factor - margin;
    std::uint32_t* row = pixels + y * pitch;
    for (int x = x0; x < x1; ++x) {
      const int inkX = (x - boxX) / factor - margin;
      const std::uint32_t ink =
          inkX >= 0 && inkY >= 0 && inkX < notice_.width && inkY < notice_.height
              ? notice_.alpha[static_cast<std::size_t>(inkY) * notice_.width + inkX]
              : 0;
      std::uint32_t out = 0xFF000000u;
      for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t under = (row[x] >> shift) & 0xFF;
        out |= (ink + (under * (255 - ink) * 35 + 12750) / 25500) << shift;
      }
      row[x] = out;
    }
  }
  return {x0, y0, x1 - x0, y1 - y0};
}

}  // namespace sdl
