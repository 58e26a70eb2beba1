// Window classes and windows: registration, creation with its synchronous messages, showing,
// destruction, the default window procedure, and window geometry.
#include <map>
#include <memory>
#include <vector>

#include "platform/compat/screen.h"
#include "platform/compat/text_encoding.h"
#include "platform/compat/window_registry.h"

namespace compat {
namespace {

struct WindowClass {
  WNDPROC procedure;
};

std::map<std::string, WindowClass>& classes() {
  static std::map<std::string, WindowClass> registered;
  return registered;
}

std::vector<std::unique_ptr<HWND__>>& windows() {
  static std::vector<std::unique_ptr<HWND__>> all;
  return all;
}

HWND lastShown = nullptr;

}  // namespace

HWND__* liveWindow(HWND window) {
  if (window == nullptr) return nullptr;
  for (const auto& candidate : windows())
    if (candidate.get() == window) return candidate->destroyed ? nullptr : candidate.get();
  return nullptr;
}

HWND inputWindow() { return liveWindow(lastShown) ? lastShown : nullptr; }

LRESULT sendToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND__* target = liveWindow(window);
  if (target == nullptr) return 0;
  return target->procedure(window, message, wParam, lParam);
}

void placeOnScreen(const HWND__& window) {
  activeScreen().placeWindow(
      {window.rect.left, window.rect.top, window.rect.right - window.rect.left,
       window.rect.bottom - window.rect.top, window.visible, window.titleUtf8});
}

}  // namespace compat

using compat::liveWindow;
using compat::sendToWindow;

ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass) {
  if (windowClass == nullptr || windowClass->lpszClassName == nullptr ||
      windowClass->lpfnWndProc == nullptr)
    return 0;
  // Only named classes: an atom given as the name is not supported.
  if (reinterpret_cast<std::uintptr_t>(windowClass->lpszClassName) < 0x10000) return 0;
  auto [entry, added] = compat::classes().emplace(windowClass->lpszClassName,
                                                  compat::WindowClass{windowClass->lpfnWndProc});
  if (!added) return 0;  // the name is taken
  return static_cast<ATOM>(0xC000 + compat::classes().size());
}

HWND WINAPI CreateWindowExA(DWORD /*exStyle*/, LPCSTR className, LPCSTR windowName, DWORD style,
                            int x, int y, int width, int height, HWND /*parent*/, HMENU /*menu*/,
                            HINSTANCE /*instance*/, LPVOID /*param*/) {
  if (className == nullptr || reinterpret_cast<std::uintptr_t>(className) < 0x10000) return nullptr;
  auto found = compat::classes().find(className);
  if (found == compat::classes().end()) return nullptr;
  // A pop-up window given default coordinates goes to the desktop's corner, default size 0.
  if (x == CW_USEDEFAULT) x = y = 0;
  if (width == CW_USEDEFAULT) width = height = 0;
  auto window = std::make_unique<HWND__>();
  window->procedure = found->second.procedure;
  window->titleUtf8 = compat::cp932ToUtf8(windowName ? windowName : "");
  window->rect = {x, y, compat::saturatedInt(std::int64_t{x} + width),
                  compat::saturatedInt(std::int64_t{y} + height)};
  window->style = style & ~WS_VISIBLE;
  HWND handle = window.get();
  compat::windows().push_back(std::move(window));

  // The creation messages go through the window procedure before CreateWindowExA returns.
  if (!sendToWindow(handle, WM_NCCREATE, 0, 0) || sendToWindow(handle, WM_CREATE, 0, 0) == -1) {
    DestroyWindow(handle);
    return nullptr;
  }
  sendToWindow(handle, WM_SIZE, 0, MAKELPARAM(width, height));
  sendToWindow(handle, WM_MOVE, 0, MAKELPARAM(x, y));
  if (style & WS_VISIBLE) ShowWindow(handle, SW_SHOW);
  return handle;
}

BOOL WINAPI DestroyWindow(HWND window) {
  HWND__* target = liveWindow(window);
  if (target == nullptr) return FALSE;
  if (target->visible) {
    target->visible = false;
    compat::placeOnScreen(*target);
  }
  sendToWindow(window, WM_DESTROY, 0, 0);
  sendToWindow(window, WM_NCDESTROY, 0, 0);
  target->destroyed = true;
  return TRUE;
}

BOOL WINAPI ShowWindow(HWND window, int showCommand) {
  HWND__* target = liveWindow(window);
  if (target == nullptr) return FALSE;
  const bool wasVisible = target->visible;
  const bool show = showCommand != SW_HIDE;
  if (show != wasVisible) sendToWindow(window, WM_SHOWWINDOW, show ? 1 : 0, 0);
  // The procedure may have destroyed the window meanwhile.
  if ((target = liveWindow(window)) == nullptr) return wasVisible;
  target->visible = show;
  if (show) compat::lastShown = window;
  compat::placeOnScreen(*target);
  return wasVisible;
}

BOOL WINAPI UpdateWindow(HWND window) { return liveWindow(window) ? TRUE : FALSE; }

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_SYSKEYDOWN:
      // Alt+F4 asks to close the window, through the system menu's close command.
      if (wParam == VK_F4) sendToWindow(window, WM_SYSCOMMAND, SC_CLOSE, 0);
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) sendToWindow(window, WM_CLOSE, 0, 0);
      return 0;
    default:
      (void)lParam;
      return 0;
  }
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return sendToWindow(window, message, wParam, lParam);
}

BOOL WINAPI GetWindowRect(HWND window, LPRECT rect) {
  HWND__* target = liveWindow(window);
  if (target == nullptr || rect == nullptr) return FALSE;
  *rect = target->rect;
  return TRUE;
}

BOOL WINAPI SetRect(LPRECT rect, int left, int top, int right, int bottom) {
  if (rect == nullptr) return FALSE;
  *rect = {left, top, right, bottom};
  return TRUE;
}

int WINAPI GetSystemMetrics(int index) {
  // Borders and caption of the classic Windows look, which the window sizes assume.
  switch (index) {
    case SM_CXSCREEN:
      return compat::activeScreen().desktopSize().width;
    case SM_CYSCREEN:
      return compat::activeScreen().desktopSize().height;
    case SM_CYCAPTION:
      return 19;
    case SM_CXBORDER:
    case SM_CYBORDER:
      return 1;
    default:
      return 0;
  }
}
