// The cursor: the system's arrow, and whether it shows over the window.
#include "platform/compat/screen.h"
#include "platform/compat/user32_api.h"

namespace compat {
namespace {

// A distinct address serves as the arrow's handle: it has no state of its own.
char arrowCursor;
HCURSOR currentCursor = reinterpret_cast<HCURSOR>(&arrowCursor);

}  // namespace
}  // namespace compat

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
  // Only the system's arrow is known.
  if (instance != nullptr || name != IDC_ARROW) return nullptr;
  return reinterpret_cast<HCURSOR>(&compat::arrowCursor);
}

HCURSOR WINAPI SetCursor(HCURSOR cursor) {
  const HCURSOR previous = compat::currentCursor;
  compat::currentCursor = cursor;
  compat::activeScreen().setCursorVisible(cursor != nullptr);
  return previous;
}
