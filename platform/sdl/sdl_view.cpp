// How a full-screen program is shown: full-screen, or in a resizable window at the user's
// choice (Alt+Enter), remembered for the next start. The program sees none of it: for it the
// display stays its exclusive mode, and the picture goes on without a break.
#include <algorithm>
#include <cmath>

#include "platform/sdl/sdl_screen.h"
#include "platform/sdl/sdl_window_fit.h"

namespace sdl {
namespace {

// Each display's desktop without its panels.
std::vector<WindowArea> usableAreas() {
  std::vector<WindowArea> areas;
  const int count = SDL_GetNumVideoDisplays();
  for (int i = 0; i < count; ++i) {
    SDL_Rect bounds;
    if (SDL_GetDisplayUsableBounds(i, &bounds) == 0)
      areas.push_back({bounds.x, bounds.y, bounds.w, bounds.h});
  }
  return areas;
}

}  // namespace

void SdlScreen::exclusiveModeChanged() {
  if (window_ == nullptr) return;
  if (!exclusive_) {
    SDL_SetWindowFullscreen(window_, 0);
    SDL_SetWindowResizable(window_, SDL_FALSE);
    SDL_SetWindowBordered(window_, SDL_TRUE);
    applyPlacement();
    updateScaling();
    return;
  }
  if (!viewRestored_) {
    viewRestored_ = true;
    if (const std::optional<DisplayState> state = readDisplayState(displayStatePath(), screens())) {
      viewInWindow_ = state->windowed;
      viewWindow_ = state->window;
      look_ = state->look;
    }
  }
  if (viewInWindow_)
    showInWindow();
  else
    showFullScreen();
}

void SdlScreen::showFullScreen() {
  // Cover the desktop by hand as well: without a window manager (a bare X server) the
  // full-screen request alone leaves the window at its old size.
  const compat::DesktopSize desktop = desktopSize();
  SDL_SetWindowResizable(window_, SDL_FALSE);
  SDL_SetWindowBordered(window_, SDL_FALSE);
  SDL_SetWindowPosition(window_, 0, 0);
  SDL_SetWindowSize(window_, desktop.width, desktop.height);
  SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
  updateScaling();
}

void SdlScreen::showInWindow() {
  if (viewWindow_.width <= 0 || viewWindow_.height <= 0) viewWindow_ = defaultWindow();
  // A window remembered larger than the desktop (another monitor, a resize beyond it) would
  // show mostly off the screen and cost its whole size in memory.
  viewWindow_ = fitToDesktop(viewWindow_, usableAreas());
  SDL_SetWindowFullscreen(window_, 0);
  SDL_SetWindowBordered(window_, SDL_TRUE);
  SDL_SetWindowResizable(window_, SDL_TRUE);
  SDL_SetWindowSize(window_, viewWindow_.width, viewWindow_.height);
  SDL_SetWindowPosition(window_, viewWindow_.x, viewWindow_.y);
  updateScaling();
}

void SdlScreen::toggleView() {
  viewInWindow_ = !viewInWindow_;
  if (viewInWindow_)
    showInWindow();
  else
    showFullScreen();
  rememberView();
  showPicture();
}

void SdlScreen::rememberView() {
  // A folder that cannot be written changes nothing else: the choice holds for this run.
  // A view that has not been in a window yet keeps the window it would open.
  const WindowArea window =
      viewWindow_.width > 0 && viewWindow_.height > 0 ? viewWindow_ : defaultWindow();
  writeDisplayState(displayStatePath(), {viewInWindow_, window, look_});
}

std::vector<WindowArea> SdlScreen::screens() const {
  std::vector<WindowArea> areas;
  const int count = SDL_GetNumVideoDisplays();
  for (int i = 0; i < count; ++i) {
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(i, &bounds) == 0)
      areas.push_back({bounds.x, bounds.y, bounds.w, bounds.h});
  }
  return areas;
}

WindowArea SdlScreen::defaultWindow() const {
  SDL_Rect usable{0, 0, 640, 480};
  SDL_GetDisplayUsableBounds(0, &usable);
  return defaultWindowOn({usable.x, usable.y, usable.w, usable.h},
                         pictureWidth_ > 0 ? pictureWidth_ : 320,
                         pictureHeight_ > 0 ? pictureHeight_ : 240);
}

void SdlScreen::updateScaling() {
  if (renderer_ == nullptr || canvasWidth_ == 0 || canvasHeight_ == 0) return;
  // Whole-number factors keep every picture pixel the same size: the unevenness of in-between
  // factors is what users of such layers mind most. Black bars take the rest of the window.
  // Only a window smaller than the picture is scaled down, by nearest sampling.
  int outputWidth = 0, outputHeight = 0;
  SDL_GetRendererOutputSize(renderer_, &outputWidth, &outputHeight);
  const bool holdsPicture = outputWidth >= canvasWidth_ && outputHeight >= canvasHeight_;
  SDL_RenderSetIntegerScale(renderer_, holdsPicture ? SDL_TRUE : SDL_FALSE);
}

SDL_Point SdlScreen::pointOnPicture(int x, int y) const {
  if (!exclusive_ || pictureWidth_ <= 0 || pictureHeight_ <= 0) return {x, y};
  if (renderer_ != nullptr) {
    // SDL's renderer has mapped the point to the picture, its logical size, already.
    return {std::clamp(x, 0, pictureWidth_ - 1), std::clamp(y, 0, pictureHeight_ - 1)};
  }
  // The GPU and processor paths draw the picture into the look's rectangle of the drawable,
  // whose pixels may be finer than the window's points: the picture pixel under the point's
  // centre.
  int windowWidth = 0, windowHeight = 0, drawableWidth = 0, drawableHeight = 0;
  SDL_GetWindowSize(window_, &windowWidth, &windowHeight);
  if (glContext_ != nullptr) {
    SDL_GL_GetDrawableSize(window_, &drawableWidth, &drawableHeight);
  } else {
    drawableWidth = windowWidth;
    drawableHeight = windowHeight;
  }
  const compat::ScreenRect rect = compat::lookRectangle(shownLook(), pictureWidth_, pictureHeight_,
                                                        drawableWidth, drawableHeight);
  const compat::PicturePoint point =
      compat::pointOnPicture(x, y, windowWidth, windowHeight, drawableWidth, drawableHeight, rect,
                             pictureWidth_, pictureHeight_);
  return {point.x, point.y};
}

}  // namespace sdl
