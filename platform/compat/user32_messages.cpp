// The thread's message queue: input from the screen becomes window messages, posted ones wait
// in the queue until PeekMessageA or GetMessageA takes them, sent ones reach the window
// procedure at once. WM_QUIT comes out only when nothing else is waiting, as on Windows.
#include <chrono>
#include <deque>
#include <thread>
#include <vector>

#include "platform/compat/screen.h"
#include "platform/compat/window_registry.h"

namespace compat {
namespace {

std::deque<MSG> queue;
bool quitPosted = false;
int quitCode = 0;

constexpr LPARAM repeatCountOne = 1;
constexpr LPARAM altHeldBit = LPARAM{1} << 29;
constexpr LPARAM wasDownBit = LPARAM{1} << 30;
constexpr LPARAM releasedBit = LPARAM{1} << 31;

void post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  queue.push_back({window, message, wParam, lParam, timeGetTime(), {}});
}

bool isSystemKey(const InputEvent& event) {
  return event.altHeld || event.virtualKey == VK_MENU || event.virtualKey == VK_F10;
}

void deliver(const InputEvent& event) {
  HWND window = inputWindow();
  if (window == nullptr) return;
  const LPARAM alt = event.altHeld ? altHeldBit : 0;
  const LPARAM at = MAKELPARAM(event.x, event.y);
  switch (event.kind) {
    case InputKind::KeyDown: {
      // With Alt held, for Alt itself, and for F10 (the menu key), keys are system keys.
      const bool system = isSystemKey(event);
      post(window, system ? WM_SYSKEYDOWN : WM_KEYDOWN, event.virtualKey,
           repeatCountOne | alt | (event.repeat ? wasDownBit : 0));
      break;
    }
    case InputKind::KeyUp: {
      const bool system = isSystemKey(event);
      post(window, system ? WM_SYSKEYUP : WM_KEYUP, event.virtualKey,
           repeatCountOne | alt | wasDownBit | releasedBit);
      break;
    }
    case InputKind::LeftButtonDown:
      post(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
      break;
    case InputKind::LeftButtonUp:
      post(window, WM_LBUTTONUP, 0, at);
      break;
    case InputKind::RightButtonDown:
      post(window, WM_RBUTTONDOWN, MK_RBUTTON, at);
      break;
    case InputKind::RightButtonUp:
      post(window, WM_RBUTTONUP, 0, at);
      break;
    case InputKind::MouseMove:
      // Windows asks the window for its cursor before it reports the move.
      sendToWindow(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
      post(window, WM_MOUSEMOVE, 0, at);
      break;
    case InputKind::CloseWindow:
      post(window, WM_CLOSE, 0, 0);
      break;
    case InputKind::WindowMoved:
      if (HWND__* moved = liveWindow(window)) {
        const std::int64_t width = std::int64_t{moved->rect.right} - moved->rect.left;
        const std::int64_t height = std::int64_t{moved->rect.bottom} - moved->rect.top;
        moved->rect = {event.x, event.y, saturatedInt(event.x + width),
                       saturatedInt(event.y + height)};
        sendToWindow(window, WM_MOVE, 0, MAKELPARAM(event.x, event.y));
      }
      break;
  }
}

void pollScreen() {
  std::vector<InputEvent> events;
  activeScreen().pollInput(events);
  for (const InputEvent& event : events) deliver(event);
}

bool matches(const MSG& msg, HWND window, UINT filterMin, UINT filterMax) {
  if (window != nullptr && msg.hwnd != window) return false;
  if (filterMin == 0 && filterMax == 0) return true;
  return msg.message >= filterMin && msg.message <= filterMax;
}

}  // namespace
}  // namespace compat

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window != nullptr && compat::liveWindow(window) == nullptr) return FALSE;
  compat::post(window, message, wParam, lParam);
  return TRUE;
}

void WINAPI PostQuitMessage(int exitCode) {
  compat::quitPosted = true;
  compat::quitCode = exitCode;
}

BOOL WINAPI PeekMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT remove) {
  if (msg == nullptr) return FALSE;
  compat::pollScreen();
  for (auto it = compat::queue.begin(); it != compat::queue.end(); ++it) {
    if (!compat::matches(*it, window, filterMin, filterMax)) continue;
    *msg = *it;
    if (remove & PM_REMOVE) compat::queue.erase(it);
    return TRUE;
  }
  if (compat::quitPosted &&
      compat::matches(MSG{nullptr, WM_QUIT, 0, 0, 0, {}}, nullptr, filterMin, filterMax)) {
    *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(compat::quitCode), 0, timeGetTime(), {}};
    if (remove & PM_REMOVE) compat::quitPosted = false;
    return TRUE;
  }
  return FALSE;
}

BOOL WINAPI GetMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax) {
  if (msg == nullptr) return -1;
  while (!PeekMessageA(msg, window, filterMin, filterMax, PM_REMOVE))
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return msg->message == WM_QUIT ? 0 : 1;
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
  if (msg == nullptr || msg->message != WM_KEYDOWN) return FALSE;
  // Characters for the keys that have one regardless of the keyboard's layout.
  const WPARAM key = msg->wParam;
  WPARAM character = 0;
  if (key >= 'A' && key <= 'Z')
    character = key - 'A' + 'a';
  else if ((key >= '0' && key <= '9') || key == VK_SPACE)
    character = key;
  else if (key == VK_RETURN)
    character = '\r';
  else if (key == VK_BACK || key == VK_TAB || key == VK_ESCAPE)
    character = key;
  if (character == 0) return FALSE;
  compat::post(msg->hwnd, WM_CHAR, character, msg->lParam);
  return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
  if (msg == nullptr || msg->hwnd == nullptr) return 0;
  return compat::sendToWindow(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}
