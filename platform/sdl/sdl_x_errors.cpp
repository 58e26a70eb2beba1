// Kept apart: X11's header defines macros (None, Bool, Status) that clash with other code.
#include "platform/sdl/sdl_x_errors.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <cstdio>

namespace sdl {
namespace {

using ErrorHandler = int (*)(Display*, XErrorEvent*);

// Xlib calls the handler with no context of its own: one recording at a time.
std::string firstSeen;

int recordError(Display* display, XErrorEvent* error) {
  if (!firstSeen.empty()) return 0;
  char text[160] = "";
  XGetErrorText(display, error->error_code, text, sizeof text);
  char request[200];
  std::snprintf(request, sizeof request, "X error %s (request %d.%d)", text, error->request_code,
                error->minor_code);
  firstSeen = request;
  return 0;
}

}  // namespace

XErrorsCaught::XErrorsCaught() {
  firstSeen.clear();
  previous_ = reinterpret_cast<void*>(XSetErrorHandler(recordError));
}

XErrorsCaught::~XErrorsCaught() {
  if (display_ != nullptr) XSync(static_cast<Display*>(display_), False);
  XSetErrorHandler(reinterpret_cast<ErrorHandler>(previous_));
}

void XErrorsCaught::watch(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (window != nullptr && SDL_GetWindowWMInfo(window, &info) == SDL_TRUE &&
      info.subsystem == SDL_SYSWM_X11)
    display_ = info.info.x11.display;
}

std::string XErrorsCaught::firstError() {
  if (display_ != nullptr) XSync(static_cast<Display*>(display_), False);
  return firstSeen;
}

void XErrorsCaught::clear() { firstSeen.clear(); }

}  // namespace sdl
