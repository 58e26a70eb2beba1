#include "platform/sdl/sdl_screen.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/sdl/sdl_display_loss.h"
#include "platform/sdl/sdl_keymap.h"
#include "platform/sdl/sdl_message_box.h"
#include "platform/sdl/sdl_shown_area.h"

namespace sdl {
namespace {

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
  window_ =
      SDL_CreateWindow(title_.c_str(), placement_.x, placement_.y, std::max(placement_.width, 1),
                       std::max(placement_.height, 1), SDL_WINDOW_HIDDEN);
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

void SdlScreen::setExclusiveMode(bool exclusive) {
  exclusive_ = exclusive;
  if (window_ == nullptr) return;
  if (exclusive) {
    // Cover the desktop by hand as well: without a window manager (a bare X server) the
    // full-screen request alone leaves the window at its old size.
    const compat::DesktopSize desktop = desktopSize();
    SDL_SetWindowBordered(window_, SDL_FALSE);
    SDL_SetWindowPosition(window_, 0, 0);
    SDL_SetWindowSize(window_, desktop.width, desktop.height);
    SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
  } else {
    SDL_SetWindowFullscreen(window_, 0);
    SDL_SetWindowBordered(window_, SDL_TRUE);
    applyPlacement();
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
  const SDL_Rect area = shownArea(exclusive_, placement_, frame.width, frame.height);
  pictureWidth_ = area.w;
  pictureHeight_ = area.h;
  picture_.resize(static_cast<size_t>(area.w) * area.h);
  for (int y = 0; y < area.h; ++y)
    std::memcpy(picture_.data() + static_cast<size_t>(y) * area.w,
                frame.pixels + static_cast<ptrdiff_t>(area.y + y) * frame.pitch + area.x, area.w);
  if (std::memcmp(&palette, &palette_, sizeof palette) != 0) {
    palette_ = palette;
    mapPalette();
  }
  showPicture();
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
  int refreshRate = 60;
  SDL_DisplayMode mode;
  if (window_ != nullptr && SDL_GetWindowDisplayMode(window_, &mode) == 0 && mode.refresh_rate > 0)
    refreshRate = mode.refresh_rate;
  // The next tick of the display's refresh clock.
  using namespace std::chrono;
  const auto period = duration_cast<steady_clock::duration>(duration<double>(1.0 / refreshRate));
  const auto now = steady_clock::now().time_since_epoch();
  std::this_thread::sleep_for(period - now % period);
}

void SdlScreen::pollInput(std::vector<compat::InputEvent>& events) {
  if (!videoReady_) return;
  if (paletteChanged_) showPicture();
  using compat::InputKind;
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    switch (event.type) {
      case SDL_KEYDOWN:
      case SDL_KEYUP: {
        const unsigned key = virtualKeyFor(event.key.keysym);
        if (key == 0) break;
        const bool alt = (event.key.keysym.mod & KMOD_ALT) != 0;
        events.push_back({event.type == SDL_KEYDOWN ? InputKind::KeyDown : InputKind::KeyUp, key,
                          event.key.repeat != 0, alt, 0, 0});
        break;
      }
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: {
        const bool down = event.type == SDL_MOUSEBUTTONDOWN;
        InputKind kind;
        if (event.button.button == SDL_BUTTON_LEFT)
          kind = down ? InputKind::LeftButtonDown : InputKind::LeftButtonUp;
        else if (event.button.button == SDL_BUTTON_RIGHT)
          kind = down ? InputKind::RightButtonDown : InputKind::RightButtonUp;
        else
          break;
        events.push_back({kind, 0, false, false, event.button.x, event.button.y});
        break;
      }
      case SDL_MOUSEMOTION:
        events.push_back({InputKind::MouseMove, 0, false, false, event.motion.x, event.motion.y});
        break;
      case SDL_QUIT:  // also what SDL makes of SIGINT and SIGTERM
        events.push_back({InputKind::CloseWindow, 0, false, false, 0, 0});
        break;
      case SDL_WINDOWEVENT:
        switch (event.window.event) {
          case SDL_WINDOWEVENT_CLOSE:
            events.push_back({InputKind::CloseWindow, 0, false, false, 0, 0});
            break;
          case SDL_WINDOWEVENT_MOVED:
            if (exclusive_) break;
            placement_.x = event.window.data1;
            placement_.y = event.window.data2;
            events.push_back(
                {InputKind::WindowMoved, 0, false, false, event.window.data1, event.window.data2});
            break;
          case SDL_WINDOWEVENT_EXPOSED:
          case SDL_WINDOWEVENT_SIZE_CHANGED:
            showPicture();
            break;
          default:
            break;
        }
        break;
      default:
        break;
    }
  }
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
