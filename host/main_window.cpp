#include "host/main_window.h"

#include <cstring>

#include "host/display_hooks.h"
#include "host/fatal_exit.h"
#include "host/shared_data.h"
#include "host/texts.h"

uint8_t keyDown[256];
uint8_t anyKeyDown;
int32_t waitEnabled = 1;

int32_t createMainWindow(HINSTANCE instance, HINSTANCE previousInstance, int showCommand) {
  if (previousInstance == nullptr) {
    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = nullptr;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = texts::windowClassName;
    if (RegisterClassA(&windowClass) == 0) return 0;
  }
  // A 320 x 240 client area inside the border, caption and the two-pixel margins.
  const int width = 2 * GetSystemMetrics(SM_CXBORDER) + 324;
  const int height = 2 * GetSystemMetrics(SM_CYBORDER) + GetSystemMetrics(SM_CYCAPTION) + 244;
  mainWindow = CreateWindowExA(WS_EX_APPWINDOW, texts::windowClassName, texts::windowTitle,
                               WS_POPUP | WS_BORDER | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT,
                               width, height, nullptr, nullptr, instance, nullptr);
  ShowWindow(mainWindow, showCommand);
  UpdateWindow(mainWindow);
  return 1;
}

LRESULT WINAPI mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return 1;
    case WM_MOVE:
      tellDisplayWindowMoved();
      return 1;
    case WM_CLOSE:
    case WM_RBUTTONDOWN:
      quit();
    case WM_SETCURSOR:
      SetCursor(nullptr);  // no pointer over the picture
      return 1;
    case WM_KEYDOWN:
      if (wParam == VK_PAUSE || wParam == VK_ESCAPE) quit();
      keyDown[wParam & 0xFF] = 1;
      anyKeyDown = 1;
      return 1;
    case WM_KEYUP:
      keyDown[wParam & 0xFF] = 0;
      if (wParam == VK_CONTROL) waitEnabled = 1;
      anyKeyDown = 0;
      return 1;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

void clearKeyStates() { std::memset(keyDown, 0, sizeof keyDown); }
