// A small program on the host and display layers and the real screen: it opens the demo's
// window and full-screen display, and writes each message that reaches mainWindowProc to
// standard output before passing it on, so that a script can check what keys and clicks
// became, and where a click was. Escape (or any of the demo's quit triggers) ends it with
// status 1.
#include <cstdint>
#include <cstdio>

#include "display/display_engine.h"
#include "host/fatal_exit.h"
#include "host/main_window.h"
#include "host/shared_data.h"
#include "host/texts.h"
#include "host/timed_waits.h"
#include "platform/win32.h"

namespace {

const char* messageName(UINT message) {
  switch (message) {
    case WM_KEYDOWN:
      return "WM_KEYDOWN";
    case WM_KEYUP:
      return "WM_KEYUP";
    case WM_SYSKEYDOWN:
      return "WM_SYSKEYDOWN";
    case WM_SYSKEYUP:
      return "WM_SYSKEYUP";
    case WM_LBUTTONDOWN:
      return "WM_LBUTTONDOWN";
    case WM_RBUTTONDOWN:
      return "WM_RBUTTONDOWN";
    case WM_CLOSE:
      return "WM_CLOSE";
    default:
      return nullptr;
  }
}

LRESULT WINAPI loggingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (const char* name = messageName(message)) {
    std::printf("%s 0x%02X", name, static_cast<unsigned>(wParam));
    // A click's place, in the display mode's pixels.
    if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN)
      std::printf(" at %d,%d", static_cast<short>(LOWORD(static_cast<std::uintptr_t>(lParam))),
                  static_cast<short>(HIWORD(static_cast<std::uintptr_t>(lParam))));
    std::printf("\n");
    std::fflush(stdout);
  }
  return mainWindowProc(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  // Registered here with the logging procedure; createMainWindow, told a previous instance
  // registered it, uses it as it stands.
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = loggingProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = texts::windowClassName;
  if (RegisterClassA(&windowClass) == 0) fatalExit(texts::windowCreationFailed);
  createMainWindow(instance, instance, showCommand);
  if (!displayEngine.setupDisplay(mainWindow, 320, 240, 1, 8, 2))
    fatalExit(texts::directDrawInitFailed);
  std::printf("ready\n");
  std::fflush(stdout);
  for (;;) {
    surfaces[0]->Flip(nullptr, DDFLIP_WAIT);
    waitFor(5);
  }
}
