// The small calls: message boxes, the cursor, the module handle, the clock.
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "platform/compat/screen.h"
#include "platform/compat/testing.h"
#include "platform/compat/text_encoding.h"
#include "platform/compat/user32_api.h"

namespace compat {
namespace {

// Distinct addresses serve as the handles of objects that have no state of their own.
char arrowCursor;
char moduleInstance;
HCURSOR currentCursor = reinterpret_cast<HCURSOR>(&arrowCursor);

std::function<DWORD()>& clockOverride() {
  static std::function<DWORD()> clock;
  return clock;
}

}  // namespace

namespace testing {

void setClock(std::function<DWORD()> clock) { clockOverride() = std::move(clock); }

}  // namespace testing
}  // namespace compat

int WINAPI MessageBoxA(HWND /*owner*/, LPCSTR text, LPCSTR caption, UINT /*type*/) {
  const std::string captionUtf8 = compat::cp932ToUtf8(caption ? caption : "");
  const std::string textUtf8 = compat::cp932ToUtf8(text ? text : "");
  // Where a Linux user looks first, and all there is where no display can show the box.
  std::fprintf(stderr, "%s: %s\n", captionUtf8.c_str(), textUtf8.c_str());
  std::fflush(stderr);
  compat::activeScreen().showMessageBox(captionUtf8, textUtf8);
  return IDOK;
}

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

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
  // The program itself is the only module.
  if (moduleName != nullptr) return nullptr;
  return reinterpret_cast<HMODULE>(&compat::moduleInstance);
}

DWORD WINAPI timeGetTime() {
  if (compat::clockOverride()) return compat::clockOverride()();
  using namespace std::chrono;
  const auto now = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  return static_cast<DWORD>(now);  // wraps after 2^32 ms, as the system's clock does
}
