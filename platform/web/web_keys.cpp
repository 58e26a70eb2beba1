#include "platform/web/web_keys.h"

#include <utility>

#include "platform/compat/virtual_keys.h"

namespace web {
namespace {

constexpr std::pair<std::string_view, unsigned> namedKeys[] = {
    {"Escape", VK_ESCAPE},
    {"Pause", VK_PAUSE},
    {"Enter", VK_RETURN},
    {"Space", VK_SPACE},
    {"Tab", VK_TAB},
    {"Backspace", VK_BACK},
    // Windows reports either Control, Shift or Alt key under one code in key messages.
    {"ControlLeft", VK_CONTROL},
    {"ControlRight", VK_CONTROL},
    {"ShiftLeft", VK_SHIFT},
    {"ShiftRight", VK_SHIFT},
    {"AltLeft", VK_MENU},
    {"AltRight", VK_MENU},
    {"MetaLeft", VK_LWIN},
    {"OSLeft", VK_LWIN},
    {"MetaRight", VK_RWIN},
    {"OSRight", VK_RWIN},
    {"ContextMenu", VK_APPS},
    {"CapsLock", VK_CAPITAL},
    {"ArrowLeft", VK_LEFT},
    {"ArrowUp", VK_UP},
    {"ArrowRight", VK_RIGHT},
    {"ArrowDown", VK_DOWN},
    {"PageUp", VK_PRIOR},
    {"PageDown", VK_NEXT},
    {"Home", VK_HOME},
    {"End", VK_END},
    {"Insert", VK_INSERT},
    {"Delete", VK_DELETE},
    {"PrintScreen", VK_SNAPSHOT},
    {"ScrollLock", VK_SCROLL},
    {"NumLock", VK_NUMLOCK},
    {"Semicolon", VK_OEM_1},
    {"Equal", VK_OEM_PLUS},
    {"Comma", VK_OEM_COMMA},
    {"Minus", VK_OEM_MINUS},
    {"Period", VK_OEM_PERIOD},
    {"Slash", VK_OEM_2},
    {"Backquote", VK_OEM_3},
    {"BracketLeft", VK_OEM_4},
    {"Backslash", VK_OEM_5},
    {"BracketRight", VK_OEM_6},
    {"Quote", VK_OEM_7},
    {"IntlBackslash", VK_OEM_102},
    {"NumpadMultiply", VK_MULTIPLY},
    {"NumpadAdd", VK_ADD},
    {"NumpadSubtract", VK_SUBTRACT},
    {"NumpadDivide", VK_DIVIDE},
    {"NumpadEnter", VK_RETURN},
    {"NumpadComma", VK_SEPARATOR},
    {"IntlRo", VK_OEM_102},
    {"IntlYen", VK_OEM_5},
    {"KanaMode", VK_KANA},
    {"Convert", VK_CONVERT},
    {"NonConvert", VK_NONCONVERT},
    {"Lang3", VK_KANA},
    {"Lang4", VK_KANA},
    {"Lang5", VK_KANJI},
};

struct KeypadKey {
  std::string_view code;
  unsigned numLockOn;
  unsigned numLockOff;
};
constexpr KeypadKey keypadKeys[] = {
    {"Numpad0", VK_NUMPAD0, VK_INSERT},       {"Numpad1", VK_NUMPAD0 + 1, VK_END},
    {"Numpad2", VK_NUMPAD0 + 2, VK_DOWN},     {"Numpad3", VK_NUMPAD0 + 3, VK_NEXT},
    {"Numpad4", VK_NUMPAD0 + 4, VK_LEFT},     {"Numpad5", VK_NUMPAD0 + 5, VK_CLEAR},
    {"Numpad6", VK_NUMPAD0 + 6, VK_RIGHT},    {"Numpad7", VK_NUMPAD0 + 7, VK_HOME},
    {"Numpad8", VK_NUMPAD0 + 8, VK_UP},       {"Numpad9", VK_NUMPAD0 + 9, VK_PRIOR},
    {"NumpadDecimal", VK_DECIMAL, VK_DELETE},
};

// "F1".."F24": the number, or 0.
unsigned functionKeyNumber(std::string_view code) {
  if (code.size() < 2 || code.size() > 3 || code[0] != 'F') return 0;
  unsigned number = 0;
  for (char c : code.substr(1)) {
    if (c < '0' || c > '9') return 0;
    number = number * 10 + static_cast<unsigned>(c - '0');
  }
  return number >= 1 && number <= 24 ? number : 0;
}

}  // namespace

unsigned virtualKeyForCode(std::string_view code, bool numLockOn) {
  // "KeyA".."KeyZ" and "Digit0".."Digit9" keep the characters' own codes.
  if (code.size() == 4 && code.substr(0, 3) == "Key" && code[3] >= 'A' && code[3] <= 'Z')
    return static_cast<unsigned>(code[3]);
  if (code.size() == 6 && code.substr(0, 5) == "Digit" && code[5] >= '0' && code[5] <= '9')
    return static_cast<unsigned>(code[5]);
  if (const unsigned f = functionKeyNumber(code)) return VK_F1 + f - 1;
  for (const KeypadKey& keypad : keypadKeys)
    if (keypad.code == code) return numLockOn ? keypad.numLockOn : keypad.numLockOff;
  for (const auto& [name, virtualKey] : namedKeys)
    if (name == code) return virtualKey;
  return 0;
}

}  // namespace web
