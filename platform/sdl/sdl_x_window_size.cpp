// Kept apart: X11's header defines macros (None, Bool, Status) that clash with other code.
#include "platform/sdl/sdl_x_window_size.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>

namespace sdl {

SDL_Point serverWindowSize(SDL_Window* window) {
  SDL_Point size{0, 0};
  SDL_GetWindowSize(window, &size.x, &size.y);
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11)
    return size;
  ::Window root = 0;
  int x = 0, y = 0;
  unsigned width = 0, height = 0, border = 0, depth = 0;
  if (XGetGeometry(info.info.x11.display, info.info.x11.window, &root, &x, &y, &width, &height,
                   &border, &depth) != 0)
    size = {static_cast<int>(width), static_cast<int>(height)};
  return size;
}

}  // namespace sdl
