// Input from SDL's events to the messages compat posts, and the keys the screen keeps for
// itself: Alt+Enter (full-screen or a window), Alt+L (the looks), Alt+R (recording) and Print
// Screen (a screenshot).
#include "platform/compat/virtual_keys.h"
#include "platform/sdl/sdl_keymap.h"
#include "platform/sdl/sdl_screen.h"
#include "platform/sdl/sdl_screenshot.h"

namespace sdl {

bool SdlScreen::takeKey(const SDL_KeyboardEvent& key, std::vector<compat::InputEvent>& events) {
  const SDL_Scancode code = key.keysym.scancode;
  const bool enter = code == SDL_SCANCODE_RETURN || code == SDL_SCANCODE_KP_ENTER;
  const bool alt = (key.keysym.mod & KMOD_ALT) != 0;
  if (enter && alt && exclusive_) {
    if (key.type == SDL_KEYDOWN && key.repeat == 0) toggleView();
    return true;
  }
  // The letter L wherever the layout puts it.
  if (key.keysym.sym == SDLK_l && alt && exclusive_) {
    if (key.type == SDL_KEYDOWN && key.repeat == 0) cycleLook();
    return true;
  }
  if (key.keysym.sym == SDLK_r && alt && exclusive_) {
    if (key.type == SDL_KEYDOWN && key.repeat == 0) toggleRecording();
    return true;
  }
  if (code == SDL_SCANCODE_PRINTSCREEN) {
    // As on Windows, the program sees the key's release only; the press takes the picture.
    if (key.type == SDL_KEYDOWN) {
      if (key.repeat == 0) takeScreenshot();
      return true;
    }
    events.push_back(
        {compat::InputKind::KeyUp, VK_SNAPSHOT, false, (key.keysym.mod & KMOD_ALT) != 0, 0, 0});
    return true;
  }
  return false;
}

void SdlScreen::takeScreenshot() {
  const std::string saved =
      saveScreenshot({picture_.data(), pictureWidth_, pictureHeight_, pictureWidth_}, palette_);
  if (!saved.empty()) showNotice("saved " + saved, 3'000'000'000);
}

void SdlScreen::readInput(std::vector<compat::InputEvent>& events) {
  if (!videoReady_) return;
  expireNotice();
  using compat::InputKind;
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    switch (event.type) {
      case SDL_KEYDOWN:
      case SDL_KEYUP: {
        if (takeKey(event.key, events)) break;
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
        const SDL_Point at = pointOnPicture(event.button.x, event.button.y);
        events.push_back({kind, 0, false, false, at.x, at.y});
        break;
      }
      case SDL_MOUSEMOTION: {
        const SDL_Point at = pointOnPicture(event.motion.x, event.motion.y);
        events.push_back({InputKind::MouseMove, 0, false, false, at.x, at.y});
        break;
      }
      case SDL_QUIT:
        // SDL's word for the last window closing, and for SIGINT and SIGTERM: the user sees
        // the window close, but an end by a signal says why.
        sayQuitAsked();
        events.push_back({InputKind::CloseWindow, 0, false, false, 0, 0});
        break;
      case SDL_WINDOWEVENT:
        switch (event.window.event) {
          case SDL_WINDOWEVENT_CLOSE:
            windowClosed_ = true;
            events.push_back({InputKind::CloseWindow, 0, false, false, 0, 0});
            break;
          case SDL_WINDOWEVENT_MOVED:
            if (exclusive_) {
              if (viewInWindow_) {
                viewWindow_.x = event.window.data1;
                viewWindow_.y = event.window.data2;
                rememberView();
              }
              break;
            }
            placement_.x = event.window.data1;
            placement_.y = event.window.data2;
            events.push_back(
                {InputKind::WindowMoved, 0, false, false, event.window.data1, event.window.data2});
            break;
          case SDL_WINDOWEVENT_SIZE_CHANGED:
            if (exclusive_ && viewInWindow_) {
              viewWindow_.width = event.window.data1;
              viewWindow_.height = event.window.data2;
              rememberView();
            }
            updateScaling();
            surfaceDrawn_ = nullptr;
            showPicture();
            break;
          case SDL_WINDOWEVENT_EXPOSED:
            // The X server keeps nothing of what a covered window showed, and our windows have
            // no background to fill it with: the processor path sends all of its pixels again.
            surfaceDrawn_ = nullptr;
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

}  // namespace sdl
