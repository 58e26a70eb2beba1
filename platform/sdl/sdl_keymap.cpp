#include "platform/sdl/sdl_keymap.h"

#include <array>
#include <utility>

#include "platform/compat/virtual_keys.h"

namespace sdl {
namespace {

// Keys by where they are on the keyboard (SDL's scan codes, which follow the USB usage table),
// as Windows' virtual keys are: a layout that prints other characters on them does not change
// the code, and the punctuation keys carry the US layout's codes.
constexpr std::pair<SDL_Scancode, unsigned> namedKeys[] = {
    {SDL_SCANCODE_ESCAPE, VK_ESCAPE},
    {SDL_SCANCODE_PAUSE, VK_PAUSE},
    {SDL_SCANCODE_RETURN, VK_RETURN},
    {SDL_SCANCODE_RETURN2, VK_RETURN},
    {SDL_SCANCODE_SPACE, VK_SPACE},
    {SDL_SCANCODE_TAB, VK_TAB},
    {SDL_SCANCODE_BACKSPACE, VK_BACK},
    // Windows reports either Control, Shift or Alt key under one code in key messages.
    {SDL_SCANCODE_LCTRL, VK_CONTROL},
    {SDL_SCANCODE_RCTRL, VK_CONTROL},
    {SDL_SCANCODE_LSHIFT, VK_SHIFT},
    {SDL_SCANCODE_RSHIFT, VK_SHIFT},
    {SDL_SCANCODE_LALT, VK_MENU},
    {SDL_SCANCODE_RALT, VK_MENU},
    {SDL_SCANCODE_LGUI, VK_LWIN},
    {SDL_SCANCODE_RGUI, VK_RWIN},
    {SDL_SCANCODE_APPLICATION, VK_APPS},
    {SDL_SCANCODE_MENU, VK_APPS},
    {SDL_SCANCODE_CAPSLOCK, VK_CAPITAL},
    {SDL_SCANCODE_LEFT, VK_LEFT},
    {SDL_SCANCODE_UP, VK_UP},
    {SDL_SCANCODE_RIGHT, VK_RIGHT},
    {SDL_SCANCODE_DOWN, VK_DOWN},
    {SDL_SCANCODE_PAGEUP, VK_PRIOR},
    {SDL_SCANCODE_PAGEDOWN, VK_NEXT},
    {SDL_SCANCODE_HOME, VK_HOME},
    {SDL_SCANCODE_END, VK_END},
    {SDL_SCANCODE_INSERT, VK_INSERT},
    {SDL_SCANCODE_DELETE, VK_DELETE},
    {SDL_SCANCODE_PRINTSCREEN, VK_SNAPSHOT},
    {SDL_SCANCODE_SYSREQ, VK_SNAPSHOT},
    {SDL_SCANCODE_SCROLLLOCK, VK_SCROLL},
    {SDL_SCANCODE_NUMLOCKCLEAR, VK_NUMLOCK},
    {SDL_SCANCODE_SEMICOLON, VK_OEM_1},
    {SDL_SCANCODE_EQUALS, VK_OEM_PLUS},
    {SDL_SCANCODE_COMMA, VK_OEM_COMMA},
    {SDL_SCANCODE_MINUS, VK_OEM_MINUS},
    {SDL_SCANCODE_PERIOD, VK_OEM_PERIOD},
    {SDL_SCANCODE_SLASH, VK_OEM_2},
    {SDL_SCANCODE_GRAVE, VK_OEM_3},
    {SDL_SCANCODE_LEFTBRACKET, VK_OEM_4},
    {SDL_SCANCODE_BACKSLASH, VK_OEM_5},
    {SDL_SCANCODE_NONUSHASH, VK_OEM_5},
    {SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6},
    {SDL_SCANCODE_APOSTROPHE, VK_OEM_7},
    {SDL_SCANCODE_NONUSBACKSLASH, VK_OEM_102},
    // The keypad's keys that do not change with Num Lock.
    {SDL_SCANCODE_KP_MULTIPLY, VK_MULTIPLY},
    {SDL_SCANCODE_KP_PLUS, VK_ADD},
    {SDL_SCANCODE_KP_MINUS, VK_SUBTRACT},
    {SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE},
    {SDL_SCANCODE_KP_ENTER, VK_RETURN},
    {SDL_SCANCODE_KP_COMMA, VK_SEPARATOR},
    // The Japanese keyboard: Ro and Yen are the JIS layout's extra punctuation keys.
    {SDL_SCANCODE_INTERNATIONAL1, VK_OEM_102},
    {SDL_SCANCODE_INTERNATIONAL3, VK_OEM_5},
    {SDL_SCANCODE_INTERNATIONAL2, VK_KANA},
    {SDL_SCANCODE_LANG3, VK_KANA},
    {SDL_SCANCODE_LANG4, VK_KANA},
    {SDL_SCANCODE_INTERNATIONAL4, VK_CONVERT},
    {SDL_SCANCODE_INTERNATIONAL5, VK_NONCONVERT},
    {SDL_SCANCODE_LANG5, VK_KANJI},
};

// The keypad's digits and point: numbers with Num Lock on, the editing keys they are marked
// with when it is off.
struct KeypadKey {
  SDL_Scancode scancode;
  unsigned numLockOn;
  unsigned numLockOff;
};
constexpr KeypadKey keypadKeys[] = {
    {SDL_SCANCODE_KP_0, VK_NUMPAD0, VK_INSERT},      {SDL_SCANCODE_KP_1, VK_NUMPAD0 + 1, VK_END},
    {SDL_SCANCODE_KP_2, VK_NUMPAD0 + 2, VK_DOWN},    {SDL_SCANCODE_KP_3, VK_NUMPAD0 + 3, VK_NEXT},
    {SDL_SCANCODE_KP_4, VK_NUMPAD0 + 4, VK_LEFT},    {SDL_SCANCODE_KP_5, VK_NUMPAD0 + 5, VK_CLEAR},
    {SDL_SCANCODE_KP_6, VK_NUMPAD0 + 6, VK_RIGHT},   {SDL_SCANCODE_KP_7, VK_NUMPAD0 + 7, VK_HOME},
    {SDL_SCANCODE_KP_8, VK_NUMPAD0 + 8, VK_UP},      {SDL_SCANCODE_KP_9, VK_NUMPAD0 + 9, VK_PRIOR},
    {SDL_SCANCODE_KP_PERIOD, VK_DECIMAL, VK_DELETE},
};

}  // namespace

unsigned virtualKeyFor(const SDL_Keysym& key) {
  const SDL_Scancode code = key.scancode;
  if (code >= SDL_SCANCODE_A && code <= SDL_SCANCODE_Z) return 'A' + (code - SDL_SCANCODE_A);
  if (code >= SDL_SCANCODE_1 && code <= SDL_SCANCODE_9) return '1' + (code - SDL_SCANCODE_1);
  if (code == SDL_SCANCODE_0) return '0';
  if (code >= SDL_SCANCODE_F1 && code <= SDL_SCANCODE_F12) return VK_F1 + (code - SDL_SCANCODE_F1);
  if (code >= SDL_SCANCODE_F13 && code <= SDL_SCANCODE_F24)
    return VK_F13 + (code - SDL_SCANCODE_F13);
  for (const KeypadKey& keypad : keypadKeys)
    if (keypad.scancode == code) return (key.mod & KMOD_NUM) ? keypad.numLockOn : keypad.numLockOff;
  for (const auto& [scancode, virtualKey] : namedKeys)
    if (scancode == code) return virtualKey;
  return 0;
}

}  // namespace sdl
