#include "platform/sdl/sdl_screen.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include <time.h>

#include "platform/sdl/sdl_display_loss.h"
#include "platform/sdl/sdl_message_box.h"
#include "platform/sdl/sdl_x_errors.h"
#include "platform/sdl/sdl_x_window_size.h"

namespace sdl {
namespace {

std::int64_t steadyClockNs() {
  using namespace std::chrono;
  return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

void sleepUntil(std::int64_t timeNs) {
  const std::int64_t wait = timeNs - steadyClockNs();
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
  // Mesa's loaders print their own lines about a GL driver that cannot load, several of them,
  // before the screen says once which path shows the picture. A user's own settings stay.
  setenv("LIBGL_DEBUG", "quiet", 0);
  setenv("EGL_LOG_LEVEL", "fatal", 0);
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
  if (driver != nullptr && std::strcmp(driver, "x11") == 0) {
    endProcessOnDisplayLoss();
    // A window's own pixels (the processor path's; a message box's software renderer draws
    // into them too) are the X window's, sent to the server as they are, not a texture SDL
    // would draw through a GL renderer of its own: the processor path is there where that GL
    // costs most. SDL decides it once, for every later window, at the first that asks, so
    // before any does. (Elsewhere a window may have no pixels but such a texture's.)
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  }
  // Closes the window and gives the desktop back on every exit, the GPU's objects first while
  // their context still exists.
  std::atexit([] { static_cast<SdlScreen&>(compat::activeScreen()).closeVideo(); });
  videoReady_ = true;
  return true;
}

bool SdlScreen::isAvailable() { return startVideo(); }

compat::DesktopSize SdlScreen::desktopSize() {
  SDL_DisplayMode mode;
  if (startVideo() && SDL_GetDesktopDisplayMode(0, &mode) == 0) return {mode.w, mode.h};
  return {640, 480};
}

SDL_Window* SdlScreen::makeWindow(Uint32 flags) {
  // Untitled until applyPlacement shows it: a window made to try a path and given up for
  // another is never found by its title (by a test, a window manager's rules, a user's script).
  SDL_Window* window = SDL_CreateWindow(
      "", placement_.x, placement_.y, std::max(placement_.width, 1), std::max(placement_.height, 1),
      SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI | flags);
  if (xErrors_ != nullptr) xErrors_->watch(window);
  return window;
}

void SdlScreen::createWindow() {
  // The GPU path first; where its GL draws on the processor itself (llvmpipe, SwiftShader), the
  // processor path, which costs a fraction of such a GL's copying and reading back. SDL's
  // renderer where no OpenGL ES 3.0 context can be had, unless it would draw in software: the
  // processor path then (SDL's software renderer where the window's pixels cannot be had, or
  // where SDL's renderer was asked for). ROTOZOOM_RENDERER chooses a path: gl, processor or sdl
  // (anything else is said and ignored). A GL driver that cannot load shows as X errors,
  // recorded meanwhile: SDL's renderer is then its software one. One line says which path
  // shows it.
  XErrorsCaught xErrors;
  xErrors_ = &xErrors;
  const char* chosenText = std::getenv("ROTOZOOM_RENDERER");
  std::string chosen = chosenText != nullptr ? chosenText : "";
  if (!chosen.empty() && chosen != "gl" && chosen != "processor" && chosen != "sdl") {
    std::fprintf(stderr,
                 "screen: ROTOZOOM_RENDERER=%s ignored: not gl, processor or sdl; the path is "
                 "chosen as without it\n",
                 chosen.c_str());
    chosen.clear();
  }
  std::string noGl;
  if (chosen != "sdl" && chosen != "processor") {
    const bool started = startGl();
    const std::string xError = xErrors.firstError();
    if (started && xError.empty()) {
      const std::string renderer = presenter_.renderer();
      if (glOnProcessor_ && chosen != "gl") {
        stopGl();
        if (startProcessor()) {
          xErrors_ = nullptr;
          std::fprintf(stderr,
                       "screen: presenting on the processor into the window's own pixels: the "
                       "GL, \"%s\", draws on the processor too, at several times the cost\n",
                       renderer.c_str());
          return;
        }
        const std::string reason = SDL_GetError();
        if (!startGl()) {
          noGl = SDL_GetError();
        } else {
          xErrors_ = nullptr;
          std::fprintf(stderr,
                       "screen: presenting on the GPU path, OpenGL ES 3.0 on \"%s\" (the "
                       "window's own pixels cannot be had: %s)\n",
                       renderer.c_str(), reason.c_str());
          return;
        }
      } else {
        xErrors_ = nullptr;
        std::fprintf(stderr, "screen: presenting on the GPU path, OpenGL ES 3.0 on \"%s\"\n",
                     renderer.c_str());
        return;
      }
    } else {
      if (started) stopGl();  // the context came, and the server refused it afterwards
      noGl = xError.empty() ? std::string(SDL_GetError()) : xError;
    }
  }
  std::string noPixels;
  if (chosen == "processor") {
    if (startProcessor()) {
      xErrors_ = nullptr;
      std::fputs("screen: presenting on the processor into the window's own pixels\n", stderr);
      return;
    }
    noPixels = SDL_GetError();
  }
  const bool gpuBroken = !xErrors.firstError().empty();
  std::string gpuRefused;
  bool started = startRenderer(gpuBroken, xErrors, gpuRefused);
  // SDL's renderer in software draws on the processor too, and whole factors only: where that
  // is all SDL has (the GL cannot load, the display has no GL), the processor path draws every
  // look at that kind of cost.
  if (started && chosen.empty() && rendererInSoftware()) {
    stopRenderer();
    if (startProcessor()) {
      xErrors_ = nullptr;
      std::fprintf(stderr,
                   "screen: presenting on the processor into the window's own pixels: no OpenGL "
                   "ES 3.0 context: %s\n",
                   noGl.c_str());
      return;
    }
    started = startRenderer(true, xErrors, gpuRefused);
  }
  xErrors_ = nullptr;
  if (!started) return;
  SDL_RendererInfo info{};
  const char* name = SDL_GetRendererInfo(renderer_, &info) == 0 ? info.name : "?";
  if (chosen == "processor")
    std::fprintf(stderr,
                 "screen: ROTOZOOM_RENDERER=processor: the window's own pixels cannot be had: "
                 "%s; showing the picture through SDL's renderer (%s), in whole factors only\n",
                 noPixels.c_str(), name);
  else if (chosen != "sdl")
    std::fprintf(stderr,
                 "screen: no OpenGL ES 3.0 context: %s; showing the picture through SDL's "
                 "renderer (%s), in whole factors only\n",
                 noGl.c_str(), name);
  else if (!gpuRefused.empty())
    std::fprintf(stderr,
                 "screen: SDL's renderer cannot use the GPU: %s; showing the picture through "
                 "SDL's renderer (%s)\n",
                 gpuRefused.c_str(), name);
  else
    std::fprintf(stderr, "screen: presenting through the SDL renderer \"%s\"\n", name);
}

void SdlScreen::placementChanged() {
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

bool SdlScreen::tooLargeToDraw() const {
  // X11 windows have as many pixels as points; elsewhere the drawable's pixels count.
  const SDL_Point server = serverWindowSize(window_);
  int width = 0, height = 0;
  if (glContext_ != nullptr)
    SDL_GL_GetDrawableSize(window_, &width, &height);
  else if (renderer_ != nullptr)
    SDL_GetRendererOutputSize(renderer_, &width, &height);
  else
    SDL_GetWindowSize(window_, &width, &height);
  return std::max(server.x, width) > largestDrawable ||
         std::max(server.y, height) > largestDrawable;
}

void SdlScreen::setCursorVisible(bool visible) {
  if (visible == cursorVisible_ || !videoReady_) return;
  cursorVisible_ = visible;
  SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

std::int64_t SdlScreen::nowNs() { return steadyClockNs(); }

std::int64_t SdlScreen::processCpuNs() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

void SdlScreen::waitUntilNs(std::int64_t timeNs) { sleepUntil(timeNs); }

void SdlScreen::closeVideo() {
  if (glContext_ != nullptr) {
    presenter_.stop();
    SDL_GL_DeleteContext(glContext_);
  }
  // SDL_Quit closes the windows but leaves a renderer and its textures behind.
  if (noticeTexture_ != nullptr) SDL_DestroyTexture(noticeTexture_);
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
  if (window_ != nullptr) SDL_DestroyWindow(window_);
  SDL_Quit();
  // What reaches the screen after this (a destructor of the program's own, run later in the
  // exit) finds no window, as where there is no display, and video does not start again.
  glContext_ = nullptr;
  onProcessor_ = false;
  surfaceDrawn_ = nullptr;
  noticeTexture_ = texture_ = nullptr;
  renderer_ = nullptr;
  window_ = nullptr;
  textureWidth_ = textureHeight_ = canvasWidth_ = canvasHeight_ = 0;
  videoReady_ = false;
}

void SdlScreen::sayQuitAsked() {
  if (!windowClosed_)
    std::fputs("screen: ending: asked to quit by a signal (SIGINT or SIGTERM)\n", stderr);
  windowClosed_ = true;
}

void SdlScreen::showMessageBox(std::string_view captionUtf8, std::string_view textUtf8) {
  if (!startVideo()) return;  // standard error has it, and that is all there is
  if (!runMessageBox(captionUtf8, textUtf8)) sayQuitAsked();
}

}  // namespace sdl

compat::Screen& compat::activeScreen() {
  // Never destroyed: the program's own globals are destroyed at exit in no order the screen
  // can know, and one may still use the screen then (closeVideo has left it without video).
  static sdl::SdlScreen& screen = *new sdl::SdlScreen;
  return screen;
}
