// Windows and window classes as user32 keeps them, for the parts of compat that need to know
// a window's place (clippers, the message queue, the screen).
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "platform/compat/user32_api.h"

// A window. Handles stay valid for the life of the process, destroyed windows included, so a
// stale handle is recognised rather than followed into freed memory.
struct HWND__ {
  WNDPROC procedure = nullptr;
  std::string titleUtf8;
  RECT rect{};  // on the desktop, border and caption included
  DWORD style = 0;
  bool visible = false;
  bool destroyed = false;
};

namespace compat {

// A window edge or extent worked out in 64 bits and held to what an int holds: a window placed
// or sized far out stays far out instead of wrapping round.
inline int saturatedInt(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

// The window behind a handle, or null for a null, unknown or destroyed one.
HWND__* liveWindow(HWND window);

// The window that receives the screen's input: the one most recently shown.
HWND inputWindow();

// Calls the window's procedure, as SendMessage does; 0 for a window that is not alive.
LRESULT sendToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Tells the screen where the window is and whether it shows.
void placeOnScreen(const HWND__& window);

}  // namespace compat
