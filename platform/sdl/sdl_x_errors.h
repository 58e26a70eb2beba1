// X protocol errors while the screen tries the GPU. A GL driver that cannot load (a broken or
// mismatched install, a remote display) makes the X server refuse the GL context, and the
// refusal arrives later, asynchronously; Xlib's default handler then ends the process before
// the screen could fall back to a path that works.
#pragma once

#include <SDL.h>

#include <string>

namespace sdl {

// While one exists, X errors are recorded instead of ending the process. Not nested.
class XErrorsCaught {
 public:
  XErrorsCaught();
  ~XErrorsCaught();
  XErrorsCaught(const XErrorsCaught&) = delete;
  XErrorsCaught& operator=(const XErrorsCaught&) = delete;

  // The X connection to wait on: the one the window was made on. Nothing on other drivers.
  void watch(SDL_Window* window);
  // Waits until the X server has answered everything sent so far; the first error it
  // answered with since this began (or since the last clear()), empty for none.
  std::string firstError();
  void clear();

 private:
  void* display_ = nullptr;  // Display*, kept out of this header with Xlib's macros
  void* previous_ = nullptr;
};

}  // namespace sdl
