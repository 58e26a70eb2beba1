// Keys from SDL to the program: each key and modifier state, pushed as an SDL event, arrives in
// the message queue as the message and virtual-key code Windows would post; every key of the key
// table does, by SDL's own name for it.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/screen_core/physical_keys.h"
#include "platform/sdl/sdl_keymap.h"
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

struct KeyMessages {
  MSG down{};
  MSG up{};
};

// Pushes the key's press and release as SDL events and takes the two messages they become.
// Print Screen's press is the screen's own (it takes a screenshot): only its release is pushed.
KeyMessages pressAndRelease(SDL_Scancode scancode, Uint16 modifiers) {
  KeyMessages messages;
  SDL_Event event{};
  event.key.keysym.scancode = scancode;
  event.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
  event.key.keysym.mod = modifiers;
  if (scancode != SDL_SCANCODE_PRINTSCREEN) {
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    EXPECT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    EXPECT_TRUE(PeekMessageA(&messages.down, nullptr, 0, 0, PM_REMOVE))
        << "no message for the press";
  }
  event.type = SDL_KEYUP;
  event.key.state = SDL_RELEASED;
  EXPECT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
  EXPECT_TRUE(PeekMessageA(&messages.up, nullptr, 0, 0, PM_REMOVE)) << "no message for the release";
  return messages;
}

}  // namespace

TEST(SdlKeys, EveryKeyOfTheTableArrivesAsItsVirtualKeyWithNumLockOnAndOff) {
  HWND window = makeWindow();
  ASSERT_NE(window, nullptr);
  struct Expected {
    SDL_Scancode scancode;
    unsigned numLockOn;
    unsigned numLockOff;  // the same but for the keypad's digits and point
  };
  std::vector<Expected> keys;
  for (unsigned i = 0; i < 26; ++i)
    keys.push_back({static_cast<SDL_Scancode>(SDL_SCANCODE_A + i), 'A' + i, 'A' + i});
  for (unsigned i = 0; i < 9; ++i)
    keys.push_back({static_cast<SDL_Scancode>(SDL_SCANCODE_1 + i), '1' + i, '1' + i});
  keys.push_back({SDL_SCANCODE_0, '0', '0'});
  for (unsigned i = 0; i < 12; ++i)
    keys.push_back({static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + i), VK_F1 + i, VK_F1 + i});
  for (unsigned i = 0; i < 12; ++i)
    keys.push_back({static_cast<SDL_Scancode>(SDL_SCANCODE_F13 + i), VK_F13 + i, VK_F13 + i});
  const Expected named[] = {
      {SDL_SCANCODE_RETURN, VK_RETURN, VK_RETURN},
      {SDL_SCANCODE_RETURN2, VK_RETURN, VK_RETURN},
      {SDL_SCANCODE_ESCAPE, VK_ESCAPE, VK_ESCAPE},
      {SDL_SCANCODE_BACKSPACE, VK_BACK, VK_BACK},
      {SDL_SCANCODE_TAB, VK_TAB, VK_TAB},
      {SDL_SCANCODE_SPACE, VK_SPACE, VK_SPACE},
      {SDL_SCANCODE_MINUS, VK_OEM_MINUS, VK_OEM_MINUS},
      {SDL_SCANCODE_EQUALS, VK_OEM_PLUS, VK_OEM_PLUS},
      {SDL_SCANCODE_LEFTBRACKET, VK_OEM_4, VK_OEM_4},
      {SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6, VK_OEM_6},
      {SDL_SCANCODE_BACKSLASH, VK_OEM_5, VK_OEM_5},
      {SDL_SCANCODE_NONUSHASH, VK_OEM_5, VK_OEM_5},
      {SDL_SCANCODE_SEMICOLON, VK_OEM_1, VK_OEM_1},
      {SDL_SCANCODE_APOSTROPHE, VK_OEM_7, VK_OEM_7},
      {SDL_SCANCODE_GRAVE, VK_OEM_3, VK_OEM_3},
      {SDL_SCANCODE_COMMA, VK_OEM_COMMA, VK_OEM_COMMA},
      {SDL_SCANCODE_PERIOD, VK_OEM_PERIOD, VK_OEM_PERIOD},
      {SDL_SCANCODE_SLASH, VK_OEM_2, VK_OEM_2},
      {SDL_SCANCODE_NONUSBACKSLASH, VK_OEM_102, VK_OEM_102},
      {SDL_SCANCODE_CAPSLOCK, VK_CAPITAL, VK_CAPITAL},
      {SDL_SCANCODE_PRINTSCREEN, VK_SNAPSHOT, VK_SNAPSHOT},
      {SDL_SCANCODE_SYSREQ, VK_SNAPSHOT, VK_SNAPSHOT},
      {SDL_SCANCODE_SCROLLLOCK, VK_SCROLL, VK_SCROLL},
      {SDL_SCANCODE_PAUSE, VK_PAUSE, VK_PAUSE},
      {SDL_SCANCODE_INSERT, VK_INSERT, VK_INSERT},
      {SDL_SCANCODE_HOME, VK_HOME, VK_HOME},
      {SDL_SCANCODE_PAGEUP, VK_PRIOR, VK_PRIOR},
      {SDL_SCANCODE_DELETE, VK_DELETE, VK_DELETE},
      {SDL_SCANCODE_END, VK_END, VK_END},
      {SDL_SCANCODE_PAGEDOWN, VK_NEXT, VK_NEXT},
      {SDL_SCANCODE_RIGHT, VK_RIGHT, VK_RIGHT},
      {SDL_SCANCODE_LEFT, VK_LEFT, VK_LEFT},
      {SDL_SCANCODE_DOWN, VK_DOWN, VK_DOWN},
      {SDL_SCANCODE_UP, VK_UP, VK_UP},
      {SDL_SCANCODE_NUMLOCKCLEAR, VK_NUMLOCK, VK_NUMLOCK},
      {SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE, VK_DIVIDE},
      {SDL_SCANCODE_KP_MULTIPLY, VK_MULTIPLY, VK_MULTIPLY},
      {SDL_SCANCODE_KP_MINUS, VK_SUBTRACT, VK_SUBTRACT},
      {SDL_SCANCODE_KP_PLUS, VK_ADD, VK_ADD},
      {SDL_SCANCODE_KP_ENTER, VK_RETURN, VK_RETURN},
      {SDL_SCANCODE_KP_COMMA, VK_SEPARATOR, VK_SEPARATOR},
      {SDL_SCANCODE_KP_0, VK_NUMPAD0, VK_INSERT},
      {SDL_SCANCODE_KP_1, VK_NUMPAD0 + 1, VK_END},
      {SDL_SCANCODE_KP_2, VK_NUMPAD0 + 2, VK_DOWN},
      {SDL_SCANCODE_KP_3, VK_NUMPAD0 + 3, VK_NEXT},
      {SDL_SCANCODE_KP_4, VK_NUMPAD0 + 4, VK_LEFT},
      {SDL_SCANCODE_KP_5, VK_NUMPAD0 + 5, VK_CLEAR},
      {SDL_SCANCODE_KP_6, VK_NUMPAD0 + 6, VK_RIGHT},
      {SDL_SCANCODE_KP_7, VK_NUMPAD0 + 7, VK_HOME},
      {SDL_SCANCODE_KP_8, VK_NUMPAD0 + 8, VK_UP},
      {SDL_SCANCODE_KP_9, VK_NUMPAD0 + 9, VK_PRIOR},
      {SDL_SCANCODE_KP_PERIOD, VK_DECIMAL, VK_DELETE},
      {SDL_SCANCODE_APPLICATION, VK_APPS, VK_APPS},
      {SDL_SCANCODE_MENU, VK_APPS, VK_APPS},
      {SDL_SCANCODE_INTERNATIONAL1, VK_OEM_102, VK_OEM_102},  // Ro
      {SDL_SCANCODE_INTERNATIONAL2, VK_KANA, VK_KANA},
      {SDL_SCANCODE_INTERNATIONAL3, VK_OEM_5, VK_OEM_5},  // Yen
      {SDL_SCANCODE_INTERNATIONAL4, VK_CONVERT, VK_CONVERT},
      {SDL_SCANCODE_INTERNATIONAL5, VK_NONCONVERT, VK_NONCONVERT},
      {SDL_SCANCODE_LANG3, VK_KANA, VK_KANA},
      {SDL_SCANCODE_LANG4, VK_KANA, VK_KANA},
      {SDL_SCANCODE_LANG5, VK_KANJI, VK_KANJI},
      {SDL_SCANCODE_LCTRL, VK_CONTROL, VK_CONTROL},
      {SDL_SCANCODE_RCTRL, VK_CONTROL, VK_CONTROL},
      {SDL_SCANCODE_LSHIFT, VK_SHIFT, VK_SHIFT},
      {SDL_SCANCODE_RSHIFT, VK_SHIFT, VK_SHIFT},
      {SDL_SCANCODE_LALT, VK_MENU, VK_MENU},
      {SDL_SCANCODE_RALT, VK_MENU, VK_MENU},
      {SDL_SCANCODE_LGUI, VK_LWIN, VK_LWIN},
      {SDL_SCANCODE_RGUI, VK_RWIN, VK_RWIN},
  };
  keys.insert(keys.end(), std::begin(named), std::end(named));

  // No key of the table goes unchecked.
  for (const compat::PhysicalKey& row : compat::physicalKeys())
    EXPECT_TRUE(std::any_of(keys.begin(), keys.end(),
                            [&](const Expected& key) { return key.scancode == row.usage; }))
        << "the table's usage 0x" << std::hex << row.usage << " (" << row.code
        << ") has no expected virtual key here";

  for (const Expected& key : keys)
    for (const bool numLock : {true, false}) {
      SCOPED_TRACE(testing::Message()
                   << SDL_GetScancodeName(key.scancode) << " (scan code " << key.scancode << ")"
                   << (numLock ? ", Num Lock on" : ", Num Lock off"));
      const WPARAM expected = numLock ? key.numLockOn : key.numLockOff;
      const KeyMessages messages = pressAndRelease(key.scancode, numLock ? KMOD_NUM : KMOD_NONE);
      if (key.scancode != SDL_SCANCODE_PRINTSCREEN) {
        EXPECT_TRUE(messages.down.message == WM_KEYDOWN || messages.down.message == WM_SYSKEYDOWN);
        EXPECT_EQ(messages.down.wParam, expected);
      }
      EXPECT_TRUE(messages.up.message == WM_KEYUP || messages.up.message == WM_SYSKEYUP);
      EXPECT_EQ(messages.up.wParam, expected);
    }
}

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
    const KeyMessages messages = pressAndRelease(c.scancode, c.modifiers);
    EXPECT_EQ(messages.down.hwnd, window);
    EXPECT_EQ(messages.down.message, c.message);
    EXPECT_EQ(messages.down.wParam, c.virtualKey);
    // The key's release follows it as the matching up message.
    EXPECT_EQ(messages.up.message, c.message == WM_KEYDOWN ? WM_KEYUP : WM_SYSKEYUP);
    EXPECT_EQ(messages.up.wParam, c.virtualKey);
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
