// Keys from SDL to the program: each key and modifier state, pushed as an SDL event, arrives in
// the message queue as the message and virtual-key code Windows would post.
#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/sdl/sdl_keymap.h"
#include "platform/web/web_keys.h"
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
      {"left arrow", SDL_SCANCODE_LEFT, KMOD_NONE, WM_KEYDOWN, VK_LEFT},
      {"Page Down", SDL_SCANCODE_PAGEDOWN, KMOD_NONE, WM_KEYDOWN, VK_NEXT},
      {"right Control", SDL_SCANCODE_RCTRL, KMOD_RCTRL, WM_KEYDOWN, VK_CONTROL},
      {"left Shift", SDL_SCANCODE_LSHIFT, KMOD_LSHIFT, WM_KEYDOWN, VK_SHIFT},
      {"Shift+A is still A", SDL_SCANCODE_A, KMOD_LSHIFT, WM_KEYDOWN, 'A'},
      {"Alt itself is a system key", SDL_SCANCODE_LALT, KMOD_LALT, WM_SYSKEYDOWN, VK_MENU},
      {"right Alt", SDL_SCANCODE_RALT, KMOD_RALT, WM_SYSKEYDOWN, VK_MENU},
      {"Alt+A", SDL_SCANCODE_A, KMOD_LALT, WM_SYSKEYDOWN, 'A'},
      {"F10 is a system key", SDL_SCANCODE_F10, KMOD_NONE, WM_SYSKEYDOWN, VK_F10},
      {"F13", SDL_SCANCODE_F13, KMOD_NONE, WM_KEYDOWN, VK_F13},
      {"F24", SDL_SCANCODE_F24, KMOD_NONE, WM_KEYDOWN, VK_F24},
      {"keypad 0, Num Lock off", SDL_SCANCODE_KP_0, KMOD_NONE, WM_KEYDOWN, VK_INSERT},
      {"keypad 1, Num Lock off", SDL_SCANCODE_KP_1, KMOD_NONE, WM_KEYDOWN, VK_END},
      {"keypad 5, Num Lock off", SDL_SCANCODE_KP_5, KMOD_NONE, WM_KEYDOWN, VK_CLEAR},
      {"keypad 9, Num Lock off", SDL_SCANCODE_KP_9, KMOD_NONE, WM_KEYDOWN, VK_PRIOR},
      {"keypad point, Num Lock off", SDL_SCANCODE_KP_PERIOD, KMOD_NONE, WM_KEYDOWN, VK_DELETE},
      {"Num Lock", SDL_SCANCODE_NUMLOCKCLEAR, KMOD_NONE, WM_KEYDOWN, VK_NUMLOCK},
      {"semicolon", SDL_SCANCODE_SEMICOLON, KMOD_NONE, WM_KEYDOWN, VK_OEM_1},
      {"equals", SDL_SCANCODE_EQUALS, KMOD_NONE, WM_KEYDOWN, VK_OEM_PLUS},
      {"comma", SDL_SCANCODE_COMMA, KMOD_NONE, WM_KEYDOWN, VK_OEM_COMMA},
      {"minus", SDL_SCANCODE_MINUS, KMOD_NONE, WM_KEYDOWN, VK_OEM_MINUS},
      {"full stop", SDL_SCANCODE_PERIOD, KMOD_NONE, WM_KEYDOWN, VK_OEM_PERIOD},
      {"slash", SDL_SCANCODE_SLASH, KMOD_NONE, WM_KEYDOWN, VK_OEM_2},
      {"grave", SDL_SCANCODE_GRAVE, KMOD_NONE, WM_KEYDOWN, VK_OEM_3},
      {"left bracket", SDL_SCANCODE_LEFTBRACKET, KMOD_NONE, WM_KEYDOWN, VK_OEM_4},
      {"backslash", SDL_SCANCODE_BACKSLASH, KMOD_NONE, WM_KEYDOWN, VK_OEM_5},
      {"right bracket", SDL_SCANCODE_RIGHTBRACKET, KMOD_NONE, WM_KEYDOWN, VK_OEM_6},
      {"apostrophe", SDL_SCANCODE_APOSTROPHE, KMOD_NONE, WM_KEYDOWN, VK_OEM_7},
      {"the key left of Z", SDL_SCANCODE_NONUSBACKSLASH, KMOD_NONE, WM_KEYDOWN, VK_OEM_102},
      {"left Windows key", SDL_SCANCODE_LGUI, KMOD_LGUI, WM_KEYDOWN, VK_LWIN},
      {"right Windows key", SDL_SCANCODE_RGUI, KMOD_RGUI, WM_KEYDOWN, VK_RWIN},
      {"menu key", SDL_SCANCODE_APPLICATION, KMOD_NONE, WM_KEYDOWN, VK_APPS},
      {"Japanese: kanji (zenkaku/hankaku)", SDL_SCANCODE_LANG5, KMOD_NONE, WM_KEYDOWN, VK_KANJI},
      {"Japanese: convert", SDL_SCANCODE_INTERNATIONAL4, KMOD_NONE, WM_KEYDOWN, VK_CONVERT},
      {"Japanese: non-convert", SDL_SCANCODE_INTERNATIONAL5, KMOD_NONE, WM_KEYDOWN, VK_NONCONVERT},
      {"Japanese: kana", SDL_SCANCODE_INTERNATIONAL2, KMOD_NONE, WM_KEYDOWN, VK_KANA},
      {"Japanese: ro", SDL_SCANCODE_INTERNATIONAL1, KMOD_NONE, WM_KEYDOWN, VK_OEM_102},
      {"Japanese: yen", SDL_SCANCODE_INTERNATIONAL3, KMOD_NONE, WM_KEYDOWN, VK_OEM_5},
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

TEST(SdlKeys, PrintScreenArrivesOnlyAsItsReleaseAsOnWindows) {
  HWND window = makeWindow();
  ASSERT_NE(window, nullptr);
  SDL_Event event{};
  event.type = SDL_KEYDOWN;
  event.key.keysym.scancode = SDL_SCANCODE_PRINTSCREEN;
  ASSERT_EQ(SDL_PushEvent(&event), 1);
  event.type = SDL_KEYUP;
  ASSERT_EQ(SDL_PushEvent(&event), 1);
  MSG msg{};
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_KEYUP);
  EXPECT_EQ(msg.wParam, VK_SNAPSHOT);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "a second message arrived";
}

TEST(SdlKeys, EveryKeyOfTheKeyboardHasACode) {
  // No scan code that a keyboard sends is dropped: each maps to a virtual key. The gaps SDL's
  // table leaves, and the media and application keys past it, are not keyboard keys.
  const SDL_Scancode lastKeyboardKey = SDL_SCANCODE_RGUI;
  for (int code = SDL_SCANCODE_A; code <= lastKeyboardKey; ++code) {
    const char* name = SDL_GetScancodeName(static_cast<SDL_Scancode>(code));
    if (name == nullptr || *name == '\0') continue;  // not a key
    // Keys of other machines' keyboards, with no Windows virtual key of their own.
    if ((code >= SDL_SCANCODE_MUTE && code <= SDL_SCANCODE_VOLUMEDOWN) ||
        (code >= SDL_SCANCODE_EXECUTE && code <= SDL_SCANCODE_FIND) || code == SDL_SCANCODE_POWER ||
        code == SDL_SCANCODE_KP_EQUALS || code == SDL_SCANCODE_KP_EQUALSAS400 ||
        code == SDL_SCANCODE_ALTERASE || code == SDL_SCANCODE_CANCEL ||
        code == SDL_SCANCODE_CLEAR || code == SDL_SCANCODE_PRIOR ||
        code == SDL_SCANCODE_SEPARATOR || code == SDL_SCANCODE_OUT || code == SDL_SCANCODE_OPER ||
        code == SDL_SCANCODE_CLEARAGAIN || code == SDL_SCANCODE_CRSEL ||
        code == SDL_SCANCODE_EXSEL ||
        (code >= SDL_SCANCODE_KP_00 && code <= SDL_SCANCODE_KP_HEXADECIMAL) ||
        (code >= SDL_SCANCODE_INTERNATIONAL6 && code <= SDL_SCANCODE_INTERNATIONAL9) ||
        (code >= SDL_SCANCODE_LANG1 && code <= SDL_SCANCODE_LANG2) ||
        (code >= SDL_SCANCODE_LANG6 && code <= SDL_SCANCODE_LANG9))
      continue;
    SDL_Keysym key{};
    key.scancode = static_cast<SDL_Scancode>(code);
    EXPECT_NE(sdl::virtualKeyFor(key), 0u) << "scan code " << code << " (" << name << ")";
  }
}

TEST(SdlKeys, ThePageAndSdlGiveEveryKeyTheSameCode) {
  // The same physical key by its name in the page's events (KeyboardEvent.code) and by SDL's
  // scan code: both platforms must hand the program the same virtual key.
  const struct {
    const char* code;
    SDL_Scancode scancode;
  } keys[] = {
      {"KeyA", SDL_SCANCODE_A},
      {"KeyZ", SDL_SCANCODE_Z},
      {"Digit0", SDL_SCANCODE_0},
      {"Digit7", SDL_SCANCODE_7},
      {"F1", SDL_SCANCODE_F1},
      {"F12", SDL_SCANCODE_F12},
      {"F13", SDL_SCANCODE_F13},
      {"F24", SDL_SCANCODE_F24},
      {"Escape", SDL_SCANCODE_ESCAPE},
      {"Pause", SDL_SCANCODE_PAUSE},
      {"Enter", SDL_SCANCODE_RETURN},
      {"Space", SDL_SCANCODE_SPACE},
      {"Tab", SDL_SCANCODE_TAB},
      {"Backspace", SDL_SCANCODE_BACKSPACE},
      {"ControlLeft", SDL_SCANCODE_LCTRL},
      {"ControlRight", SDL_SCANCODE_RCTRL},
      {"ShiftLeft", SDL_SCANCODE_LSHIFT},
      {"AltRight", SDL_SCANCODE_RALT},
      {"MetaLeft", SDL_SCANCODE_LGUI},
      {"MetaRight", SDL_SCANCODE_RGUI},
      {"ContextMenu", SDL_SCANCODE_APPLICATION},
      {"CapsLock", SDL_SCANCODE_CAPSLOCK},
      {"ArrowLeft", SDL_SCANCODE_LEFT},
      {"ArrowDown", SDL_SCANCODE_DOWN},
      {"PageUp", SDL_SCANCODE_PAGEUP},
      {"End", SDL_SCANCODE_END},
      {"Insert", SDL_SCANCODE_INSERT},
      {"Delete", SDL_SCANCODE_DELETE},
      {"PrintScreen", SDL_SCANCODE_PRINTSCREEN},
      {"ScrollLock", SDL_SCANCODE_SCROLLLOCK},
      {"NumLock", SDL_SCANCODE_NUMLOCKCLEAR},
      {"Semicolon", SDL_SCANCODE_SEMICOLON},
      {"Equal", SDL_SCANCODE_EQUALS},
      {"Comma", SDL_SCANCODE_COMMA},
      {"Minus", SDL_SCANCODE_MINUS},
      {"Period", SDL_SCANCODE_PERIOD},
      {"Slash", SDL_SCANCODE_SLASH},
      {"Backquote", SDL_SCANCODE_GRAVE},
      {"BracketLeft", SDL_SCANCODE_LEFTBRACKET},
      {"Backslash", SDL_SCANCODE_BACKSLASH},
      {"BracketRight", SDL_SCANCODE_RIGHTBRACKET},
      {"Quote", SDL_SCANCODE_APOSTROPHE},
      {"IntlBackslash", SDL_SCANCODE_NONUSBACKSLASH},
      {"NumpadMultiply", SDL_SCANCODE_KP_MULTIPLY},
      {"NumpadAdd", SDL_SCANCODE_KP_PLUS},
      {"NumpadEnter", SDL_SCANCODE_KP_ENTER},
      {"Numpad0", SDL_SCANCODE_KP_0},
      {"Numpad5", SDL_SCANCODE_KP_5},
      {"NumpadDecimal", SDL_SCANCODE_KP_PERIOD},
      {"IntlRo", SDL_SCANCODE_INTERNATIONAL1},
      {"IntlYen", SDL_SCANCODE_INTERNATIONAL3},
      {"KanaMode", SDL_SCANCODE_INTERNATIONAL2},
      {"Convert", SDL_SCANCODE_INTERNATIONAL4},
      {"NonConvert", SDL_SCANCODE_INTERNATIONAL5},
      {"Lang5", SDL_SCANCODE_LANG5},
  };
  for (const auto& key : keys)
    for (bool numLock : {true, false}) {
      SCOPED_TRACE(testing::Message()
                   << key.code << (numLock ? ", Num Lock on" : ", Num Lock off"));
      SDL_Keysym sdlKey{};
      sdlKey.scancode = key.scancode;
      sdlKey.mod = numLock ? KMOD_NUM : KMOD_NONE;
      const unsigned fromSdl = sdl::virtualKeyFor(sdlKey);
      EXPECT_NE(fromSdl, 0u);
      EXPECT_EQ(web::virtualKeyForCode(key.code, numLock), fromSdl);
    }
  EXPECT_EQ(web::virtualKeyForCode("Fn", true), 0u);
  EXPECT_EQ(web::virtualKeyForCode("F25", true), 0u);
  EXPECT_EQ(web::virtualKeyForCode("Key", true), 0u);
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
