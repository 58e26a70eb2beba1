// A window on the web screen that reports each key message it gets on standard output, which
// the page shows in its console: the page test presses every key of the key table there and
// reads what arrived. It first names each key the table knows by a page name, then says it is
// ready.
#include <cstdio>

#include "platform/screen_core/physical_keys.h"
#include "platform/win32.h"

namespace {

LRESULT WINAPI reportKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      std::printf("down 0x%02X\n", static_cast<unsigned>(wParam));
      return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      std::printf("up 0x%02X\n", static_cast<unsigned>(wParam));
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  for (const compat::PhysicalKey& key : compat::physicalKeys())
    if (!key.code.empty())
      std::printf("knows %.*s\n", static_cast<int>(key.code.size()), key.code.data());
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = reportKeys;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = "keys";
  if (RegisterClassA(&windowClass) == 0) return 1;
  if (CreateWindowExA(0, "keys", "keys", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, nullptr, nullptr,
                      instance, nullptr) == nullptr)
    return 1;
  // The screen takes the page's input from when DirectDraw is asked for, as by every program.
  LPDIRECTDRAW directDraw = nullptr;
  if (DirectDrawCreate(nullptr, &directDraw, nullptr) != DD_OK) return 1;
  std::printf("ready\n");
  // Polling gives the page its turn now and then (the web screen yields), as the demo's waits do.
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
      DispatchMessageA(&msg);
    }
  }
}
