// The kept 8-bit picture onto the window on the GPU: an OpenGL ES 3.0 context through SDL, the
// GL entry points looked up through SDL, and the presenter the browser shares
// (platform/gles), which looks the colours up and scales in the chosen look.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/screen_core/notice_font.h"
#include "platform/sdl/sdl_screen.h"

namespace sdl {
bool SdlScreen::startGl() {
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  // Nothing is drawn over earlier frames and nothing is blended with the window: no depth,
  // stencil or alpha to keep.
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
  window_ = makeWindow(SDL_WINDOW_OPENGL);
  if (window_ == nullptr) return false;
  glContext_ = SDL_GL_CreateContext(window_);
  gles::GlesFunctions functions;
  std::string missing;
  if (glContext_ != nullptr &&
      !gles::loadGlesFunctions([](const char* name) { return SDL_GL_GetProcAddress(name); },
                               functions, missing))
    SDL_SetError("the context has no %s", missing.c_str());
  else if (glContext_ != nullptr && presenter_.start(functions)) {
    // Presenting waits for the monitor's refresh where the system offers it.
    const bool vsync = SDL_GL_SetSwapInterval(1) == 0;
    measureMonitor(vsync);
    presenter_.setPalette(palette_);
    glOnProcessor_ = compat::rendersOnProcessor(presenter_.renderer());
    presenter_.scaleSharpOnProcessor(glOnProcessor_);
    return true;
  } else if (glContext_ != nullptr) {
    SDL_SetError("its shaders do not build");
  }
  const std::string reason = SDL_GetError();
  if (glContext_ != nullptr) SDL_GL_DeleteContext(glContext_);
  glContext_ = nullptr;
  SDL_DestroyWindow(window_);
  window_ = nullptr;
  SDL_SetError("%s", reason.c_str());
  return false;
}

void SdlScreen::stopGl() {
  presenter_.stop();
  SDL_GL_DeleteContext(glContext_);
  glContext_ = nullptr;
  SDL_DestroyWindow(window_);
  window_ = nullptr;
}

void SdlScreen::drawWithGl() {
  if (pictureChanged_ && pictureWidth_ > 0 && pictureHeight_ > 0)
    presenter_.setPicture(picture_.data(), pictureWidth_, pictureHeight_, pictureWidth_);
  if (paletteChanged_) presenter_.setPalette(palette_);
  if (noticeChanged_) {
    noticeChanged_ = false;
    const compat::NoticeImage notice = compat::renderNotice(noticeLines());
    if (notice.width > 0)
      presenter_.setNotice(notice.alpha.data(), notice.width, notice.height);
    else
      presenter_.clearNotice();
  }
  int width = 0, height = 0;
  SDL_GL_GetDrawableSize(window_, &width, &height);
  if (tooLargeToDraw()) return;
  // Timed up to the GL's finishing the frame, without the swap (which may wait for the
  // monitor): what the look costs to present. Where the GL draws on the processor, the lesser
  // of the time that passed and the processor time the program spent meanwhile, so that other
  // programs keeping the machine busy do not make the look seem slow; on a GPU, the time that
  // passed, since the program only waits while the GPU draws.
  const std::int64_t startNs = nowNs(), startCpuNs = processCpuNs();
  if (exclusive_)
    presenter_.draw(width, height, shownLook());
  else
    presenter_.drawAt(width, height, pictureInWindow(width, height));
  presenter_.finish();
  const std::int64_t elapsedNs = nowNs() - startNs;
  const bool slow = timePresentation(
      glOnProcessor_ ? std::min(elapsedNs, processCpuNs() - startCpuNs) : elapsedNs);
  // Asked again right before the swap: a GL that draws on the processor puts the frame into the
  // window at the size the X server gives at the swap, and one of 32767 x 32767 (over 4 GB)
  // aborts inside libxcb. Drawing takes long enough on such a GL for another program's resize
  // to land in between; from here to the swap it rarely can (the processor path, which such
  // a GL gets unless ROTOZOOM_RENDERER=gl asks otherwise, writes its own image's size).
  if (tooLargeToDraw()) return;
  SDL_GL_SwapWindow(window_);
  if (slow) showSlowLook();
}

compat::ScreenRect SdlScreen::pictureInWindow(int drawableWidth, int drawableHeight) const {
  // The window's rectangle of the desktop fills the drawable as it fills SDL's renderer, and
  // the picture lies in it where the desktop does: black past the desktop's edges.
  const int windowWidth = std::max(placement_.width, pictureWidth_);
  const int windowHeight = std::max(placement_.height, pictureHeight_);
  const compat::ScreenRect window =
      compat::integerRectangle(windowWidth, windowHeight, drawableWidth, drawableHeight);
  if (pictureWidth_ <= 0 || pictureHeight_ <= 0 || window.width <= 0 || window.height <= 0)
    return {0, 0, 0, 0};
  const auto scaled = [](int value, int to, int from) {
    return static_cast<int>(std::int64_t{value} * to / from);
  };
  return {window.x + scaled(pictureLeft_, window.width, windowWidth),
          window.y + scaled(pictureTop_, window.height, windowHeight),
          scaled(pictureWidth_, window.width, windowWidth),
          scaled(pictureHeight_, window.height, windowHeight)};
}

}  // namespace sdl
