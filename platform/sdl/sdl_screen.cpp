#include "platform/sdl/sdl_screen.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/compat/shown_area.h"
#include "platform/sdl/sdl_display_loss.h"
#include "platform/sdl/sdl_message_box.h"

namespace sdl {
namespace {

std::int64_t nowNs() {
  using namespace std::chrono;
  return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

void sleepUntil(std::int64_t timeNs) {
  const std::int64_t wait = timeNs - nowNs();
  if (wait > 0) std::this_thread::sleep_for(std::chrono::nanoseconds(wait));
}

bool namedDriver(const char* driver) {
  const char* chosen = std::getenv("SDL_VIDEODRIVER");
  return chosen != nullptr && std::strcmp(chosen, driver) == 0;
}

}  // namespace

bool SdlScreen::startVideo() {
  if (videoTried_) return videoReady_;
  videoTried_ = true;
  // No display means no display: SDL would quietly fall back to its offscreen driver and the
  // program would run invisibly. Its drivers without a display count only when asked for.
  const bool virtualDriver = namedDriver("dummy") || namedDriver("offscreen");
  if (!virtualDriver && std::getenv("DISPLAY") == nullptr &&
      std::getenv("WAYLAND_DISPLAY") == nullptr) {
    std::fprintf(stderr,
                 "screen: no display: neither DISPLAY nor WAYLAND_DISPLAY is set; start the "
                 "program in a desktop session, or on a virtual display with xvfb-run -a "
                 "(Debian package xvfb)\n");
    return false;
  }
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "screen: cannot start video: %s\n", SDL_GetError());
    return false;
  }
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!virtualDriver && driver != nullptr &&
      (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0)) {
    std::fprintf(stderr, "screen: no display: SDL chose its %s driver\n", driver);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }
  if (driver != nullptr && std::strcmp(driver, "x11") == 0) endProcessOnDisplayLoss();
  std::atexit(SDL_Quit);  // closes the window and gives the desktop back on every exit
  videoReady_ = true;
  return true;
}

bool SdlScreen::isAvailable() { return startVideo(); }

compat::DesktopSize SdlScreen::desktopSize() {
  SDL_DisplayMode mode;
  if (startVideo() && SDL_GetDesktopDisplayMode(0, &mode) == 0) return {mode.w, mode.h};
  return {640, 480};
}

void SdlScreen::createWindow() {
  window_ = SDL_CreateWindow(title_.c_str(), placement_.x, placement_.y,
                             std::max(placement_.width, 1), std::max(placement_.height, 1),
                             SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI);
  if (window_ == nullptr) {
    std::fprintf(stderr, "screen: cannot create the window: %s\n", SDL_GetError());
    return;
  }
  renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_PRESENTVSYNC);
  if (renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  if (renderer_ == nullptr) {
    std::fprintf(stderr, "screen: cannot draw into the window: %s\n", SDL_GetError());
    return;
  }
  // Frames are written straight into the texture in the window's own format when that format
  // has four bytes a pixel, so nothing converts them again on the way to the screen.
  const Uint32 windowFormat = SDL_GetWindowPixelFormat(window_);
  if (SDL_BYTESPERPIXEL(windowFormat) == 4 && !SDL_ISPIXELFORMAT_INDEXED(windowFormat))
    textureFormat_ = windowFormat;
  mapPalette();
  measureMonitor();
}

void SdlScreen::measureMonitor() {
  SDL_RendererInfo info;
  SDL_DisplayMode mode;
  const bool vsync =
      SDL_GetRendererInfo(renderer_, &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
  const bool rate = SDL_GetWindowDisplayMode(window_, &mode) == 0 && mode.refresh_rate > 0;
  pacer_.setMonitorPeriod(vsync && rate ? 1'000'000'000 / mode.refresh_rate : 0);
}

void SdlScreen::placeWindow(const compat::WindowPlacement& placement) {
  title_ = placement.titleUtf8;
  placement_ = placement;
  placement_.titleUtf8 = title_;
  if (!startVideo()) return;
  if (window_ == nullptr) createWindow();
  if (window_ == nullptr) return;
  applyPlacement();
}

void SdlScreen::applyPlacement() {
  SDL_SetWindowTitle(window_, title_.c_str());
  if (!exclusive_) {
    SDL_SetWindowPosition(window_, placement_.x, placement_.y);
    SDL_SetWindowSize(window_, std::max(placement_.width, 1), std::max(placement_.height, 1));
  }
  if (placement_.visible) {
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
  } else {
    SDL_HideWindow(window_);
  }
}

void SdlScreen::setCursorVisible(bool visible) {
  if (visible == cursorVisible_ || !videoReady_) return;
  cursorVisible_ = visible;
  SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
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

void SdlScreen::showPicture() {
  if (renderer_ == nullptr || pictureWidth_ == 0 || pictureHeight_ == 0) return;
  if (!ensureTexture(pictureWidth_, pictureHeight_)) return;
  if (!convertIntoTexture(texture_, picture_.data(), pictureWidth_, pictureWidth_, pictureHeight_,
                          lookup_))
    return;
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
  SDL_RenderPresent(renderer_);
  paletteChanged_ = false;
}

void SdlScreen::presentFrame(const compat::IndexedFrame& frame, const compat::Palette& palette) {
  if (renderer_ == nullptr) return;
  const compat::ShownArea area =
      compat::shownArea(exclusive_, placement_, frame.width, frame.height);
  pictureWidth_ = area.width;
  pictureHeight_ = area.height;
  compat::copyShownArea(frame, area, picture_);
  if (std::memcmp(&palette, &palette_, sizeof palette) != 0) {
    palette_ = palette;
    mapPalette();
  }
  // A flip shows at the display mode's next tick, on the monitor's refresh nearest it.
  sleepUntil(pacer_.presentTime(nowNs()));
  showPicture();
  pacer_.presented(nowNs());
}

void SdlScreen::updatePalette(const compat::Palette& palette) {
  // A palette display changes colour at once: recorded here, shown by the next present, or by
  // the next look at input or the vertical blank when no frame follows.
  palette_ = palette;
  mapPalette();
  paletteChanged_ = true;
}

void SdlScreen::waitForVerticalBlank() {
  if (paletteChanged_) showPicture();
  sleepUntil(pacer_.nextVerticalBlank(nowNs()));
}

void SdlScreen::showMessageBox(std::string_view captionUtf8, std::string_view textUtf8) {
  if (!startVideo()) return;  // standard error has it, and that is all there is
  runMessageBox(captionUtf8, textUtf8);
}

}  // namespace sdl

compat::Screen& compat::activeScreen() {
  static sdl::SdlScreen screen;
  return screen;
}
