// Keys from SDL to the program: each key and modifier state, pushed as an SDL event, arrives in
// the message queue as the message and virtual-key code Windows would post.
#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/win32.h"

namespace {

LRESULT WINAPI quietProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND makeWindow() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = quietProcedure;
  windowClass.lpszClassName = "keys";
  RegisterClassA(&windowClass);
  return CreateWindowExA(0, "keys", "keys", WS_POPUP | WS_VISIBLE, 0, 0, 64, 64, nullptr, nullptr,
                         nullptr, nullptr);
}

}  // namespace

TEST(SdlKeys, EachKeyArrivesAsItsMessageAndVirtualKeyCode) {
  HWND window = makeWindow();
  ASSERT_NE(window, nullptr);
  const struct {
    const char* name;
    SDL_Scancode scancode;
    Uint16 modifiers;
    UINT message;
    WPARAM virtualKey;
  } cases[] = {
      {"letter A", SDL_SCANCODE_A, KMOD_NONE, WM_KEYDOWN, 'A'},
      {"letter Z", SDL_SCANCODE_Z, KMOD_NONE, WM_KEYDOWN, 'Z'},
      {"digit 0", SDL_SCANCODE_0, KMOD_NONE, WM_KEYDOWN, '0'},
      {"digit 9", SDL_SCANCODE_9, KMOD_NONE, WM_KEYDOWN, '9'},
      {"F1", SDL_SCANCODE_F1, KMOD_NONE, WM_KEYDOWN, VK_F1},
      {"F12", SDL_SCANCODE_F12, KMOD_NONE, WM_KEYDOWN, VK_F12},
      {"keypad 0", SDL_SCANCODE_KP_0, KMOD_NUM, WM_KEYDOWN, VK_NUMPAD0},
      {"keypad 1", SDL_SCANCODE_KP_1, KMOD_NUM, WM_KEYDOWN, VK_NUMPAD0 + 1},
      {"keypad 9", SDL_SCANCODE_KP_9, KMOD_NUM, WM_KEYDOWN, VK_NUMPAD0 + 9},
      {"keypad point", SDL_SCANCODE_KP_PERIOD, KMOD_NUM, WM_KEYDOWN, VK_DECIMAL},
      {"keypad plus", SDL_SCANCODE_KP_PLUS, KMOD_NONE, WM_KEYDOWN, VK_ADD},
      {"keypad enter", SDL_SCANCODE_KP_ENTER, KMOD_NONE, WM_KEYDOWN, VK_RETURN},
      {"Escape", SDL_SCANCODE_ESCAPE, KMOD_NONE, WM_KEYDOWN, VK_ESCAPE},
      {"Pause", SDL_SCANCODE_PAUSE, KMOD_NONE, WM_KEYDOWN, VK_PAUSE},
      {"Print Screen", SDL_SCANCODE_PRINTSCREEN, KMOD_NONE, WM_KEYDOWN, VK_SNAPSHOT},
      {"left arrow", SDL_SCANCODE_LEFT, KMOD_NONE, WM_KEYDOWN, VK_LEFT},
      {"Page Down", SDL_SCANCODE_PAGEDOWN, KMOD_NONE, WM_KEYDOWN, VK_NEXT},
      {"right Control", SDL_SCANCODE_RCTRL, KMOD_RCTRL, WM_KEYDOWN, VK_CONTROL},
      {"left Shift", SDL_SCANCODE_LSHIFT, KMOD_LSHIFT, WM_KEYDOWN, VK_SHIFT},
      {"Shift+A is still A", SDL_SCANCODE_A, KMOD_LSHIFT, WM_KEYDOWN, 'A'},
      {"Alt itself is a system key", SDL_SCANCODE_LALT, KMOD_LALT, WM_SYSKEYDOWN, VK_MENU},
      {"right Alt", SDL_SCANCODE_RALT, KMOD_RALT, WM_SYSKEYDOWN, VK_MENU},
      {"Alt+A", SDL_SCANCODE_A, KMOD_LALT, WM_SYSKEYDOWN, 'A'},
      {"Alt+Enter", SDL_SCANCODE_RETURN, KMOD_RALT, WM_SYSKEYDOWN, VK_RETURN},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.scancode = c.scancode;
    event.key.keysym.sym = SDL_GetKeyFromScancode(c.scancode);
    event.key.keysym.mod = c.modifiers;
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, window);
    EXPECT_EQ(msg.message, c.message);
    EXPECT_EQ(msg.wParam, c.virtualKey);
    // The key's release follows it as the matching up message.
    event.type = SDL_KEYUP;
    event.key.state = SDL_RELEASED;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, c.message == WM_KEYDOWN ? WM_KEYUP : WM_SYSKEYUP);
    EXPECT_EQ(msg.wParam, c.virtualKey);
  }
}

TEST(SdlKeys, MouseButtonsArriveWithTheirPlace) {
  HWND window = makeWindow();
  ASSERT_NE(window, nullptr);
  const struct {
    Uint8 button;
    Uint32 type;
    UINT message;
  } cases[] = {
      {SDL_BUTTON_LEFT, SDL_MOUSEBUTTONDOWN, WM_LBUTTONDOWN},
      {SDL_BUTTON_LEFT, SDL_MOUSEBUTTONUP, WM_LBUTTONUP},
      {SDL_BUTTON_RIGHT, SDL_MOUSEBUTTONDOWN, WM_RBUTTONDOWN},
      {SDL_BUTTON_RIGHT, SDL_MOUSEBUTTONUP, WM_RBUTTONUP},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    SDL_Event event{};
    event.type = c.type;
    event.button.button = c.button;
    event.button.x = 12;
    event.button.y = 34;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, c.message);
    EXPECT_EQ(LOWORD(msg.lParam), 12);
    EXPECT_EQ(HIWORD(msg.lParam), 34);
  }
}
