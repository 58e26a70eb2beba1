// The key table. Usages are those of the USB HID Usage Tables' keyboard page (0x07); code names
// are those of the UI Events KeyboardEvent code values.
#include "platform/screen_core/physical_keys.h"

#include "platform/compat/virtual_keys.h"

namespace compat {
namespace {

constexpr PhysicalKey keys[] = {
    // Letters and digits keep the characters' own codes.
    {0x04, "KeyA", 'A'},
    {0x05, "KeyB", 'B'},
    {0x06, "KeyC", 'C'},
    {0x07, "KeyD", 'D'},
    {0x08, "KeyE", 'E'},
    {0x09, "KeyF", 'F'},
    {0x0A, "KeyG", 'G'},
    {0x0B, "KeyH", 'H'},
    {0x0C, "KeyI", 'I'},
    {0x0D, "KeyJ", 'J'},
    {0x0E, "KeyK", 'K'},
    {0x0F, "KeyL", 'L'},
    {0x10, "KeyM", 'M'},
    {0x11, "KeyN", 'N'},
    {0x12, "KeyO", 'O'},
    {0x13, "KeyP", 'P'},
    {0x14, "KeyQ", 'Q'},
    {0x15, "KeyR", 'R'},
    {0x16, "KeyS", 'S'},
    {0x17, "KeyT", 'T'},
    {0x18, "KeyU", 'U'},
    {0x19, "KeyV", 'V'},
    {0x1A, "KeyW", 'W'},
    {0x1B, "KeyX", 'X'},
    {0x1C, "KeyY", 'Y'},
    {0x1D, "KeyZ", 'Z'},
    {0x1E, "Digit1", '1'},
    {0x1F, "Digit2", '2'},
    {0x20, "Digit3", '3'},
    {0x21, "Digit4", '4'},
    {0x22, "Digit5", '5'},
    {0x23, "Digit6", '6'},
    {0x24, "Digit7", '7'},
    {0x25, "Digit8", '8'},
    {0x26, "Digit9", '9'},
    {0x27, "Digit0", '0'},
    {0x28, "Enter", VK_RETURN},
    {0x29, "Escape", VK_ESCAPE},
    {0x2A, "Backspace", VK_BACK},
    {0x2B, "Tab", VK_TAB},
    {0x2C, "Space", VK_SPACE},
    {0x2D, "Minus", VK_OEM_MINUS},
    {0x2E, "Equal", VK_OEM_PLUS},
    {0x2F, "BracketLeft", VK_OEM_4},
    {0x30, "BracketRight", VK_OEM_6},
    {0x31, "Backslash", VK_OEM_5},
    {0x32, "", VK_OEM_5},  // # ~ beside Enter on the ISO layouts; no name of its own in the page
    {0x33, "Semicolon", VK_OEM_1},
    {0x34, "Quote", VK_OEM_7},
    {0x35, "Backquote", VK_OEM_3},
    {0x36, "Comma", VK_OEM_COMMA},
    {0x37, "Period", VK_OEM_PERIOD},
    {0x38, "Slash", VK_OEM_2},
    {0x39, "CapsLock", VK_CAPITAL},
    {0x3A, "F1", VK_F1},
    {0x3B, "F2", VK_F1 + 1},
    {0x3C, "F3", VK_F1 + 2},
    {0x3D, "F4", VK_F1 + 3},
    {0x3E, "F5", VK_F1 + 4},
    {0x3F, "F6", VK_F1 + 5},
    {0x40, "F7", VK_F1 + 6},
    {0x41, "F8", VK_F1 + 7},
    {0x42, "F9", VK_F1 + 8},
    {0x43, "F10", VK_F1 + 9},
    {0x44, "F11", VK_F1 + 10},
    {0x45, "F12", VK_F1 + 11},
    {0x46, "PrintScreen", VK_SNAPSHOT},
    {0x47, "ScrollLock", VK_SCROLL},
    {0x48, "Pause", VK_PAUSE},
    {0x49, "Insert", VK_INSERT},
    {0x4A, "Home", VK_HOME},
    {0x4B, "PageUp", VK_PRIOR},
    {0x4C, "Delete", VK_DELETE},
    {0x4D, "End", VK_END},
    {0x4E, "PageDown", VK_NEXT},
    {0x4F, "ArrowRight", VK_RIGHT},
    {0x50, "ArrowLeft", VK_LEFT},
    {0x51, "ArrowDown", VK_DOWN},
    {0x52, "ArrowUp", VK_UP},
    {0x53, "NumLock", VK_NUMLOCK},
    // The keypad. Its digits and point are numbers with Num Lock on, and the editing keys they
    // are marked with when it is off.
    {0x54, "NumpadDivide", VK_DIVIDE},
    {0x55, "NumpadMultiply", VK_MULTIPLY},
    {0x56, "NumpadSubtract", VK_SUBTRACT},
    {0x57, "NumpadAdd", VK_ADD},
    {0x58, "NumpadEnter", VK_RETURN},
    {0x59, "Numpad1", VK_NUMPAD0 + 1, VK_END},
    {0x5A, "Numpad2", VK_NUMPAD0 + 2, VK_DOWN},
    {0x5B, "Numpad3", VK_NUMPAD0 + 3, VK_NEXT},
    {0x5C, "Numpad4", VK_NUMPAD0 + 4, VK_LEFT},
    {0x5D, "Numpad5", VK_NUMPAD0 + 5, VK_CLEAR},
    {0x5E, "Numpad6", VK_NUMPAD0 + 6, VK_RIGHT},
    {0x5F, "Numpad7", VK_NUMPAD0 + 7, VK_HOME},
    {0x60, "Numpad8", VK_NUMPAD0 + 8, VK_UP},
    {0x61, "Numpad9", VK_NUMPAD0 + 9, VK_PRIOR},
    {0x62, "Numpad0", VK_NUMPAD0, VK_INSERT},
    {0x63, "NumpadDecimal", VK_DECIMAL, VK_DELETE},
    {0x64, "IntlBackslash", VK_OEM_102},  // between left Shift and Z on the ISO layouts
    {0x65, "ContextMenu", VK_APPS},
    {0x68, "F13", VK_F13},
    {0x69, "F14", VK_F13 + 1},
    {0x6A, "F15", VK_F13 + 2},
    {0x6B, "F16", VK_F13 + 3},
    {0x6C, "F17", VK_F13 + 4},
    {0x6D, "F18", VK_F13 + 5},
    {0x6E, "F19", VK_F13 + 6},
    {0x6F, "F20", VK_F13 + 7},
    {0x70, "F21", VK_F13 + 8},
    {0x71, "F22", VK_F13 + 9},
    {0x72, "F23", VK_F13 + 10},
    {0x73, "F24", VK_F24},
    {0x76, "", VK_APPS},  // Menu
    {0x85, "NumpadComma", VK_SEPARATOR},
    // The Japanese keyboard: Ro and Yen are the JIS layout's extra punctuation keys.
    {0x87, "IntlRo", VK_OEM_102},
    {0x88, "KanaMode", VK_KANA},
    {0x89, "IntlYen", VK_OEM_5},
    {0x8A, "Convert", VK_CONVERT},
    {0x8B, "NonConvert", VK_NONCONVERT},
    {0x92, "Lang3", VK_KANA},   // katakana
    {0x93, "Lang4", VK_KANA},   // hiragana
    {0x94, "Lang5", VK_KANJI},  // zenkaku/hankaku
    {0x9A, "", VK_SNAPSHOT},    // SysReq, Print Screen's other name
    {0x9E, "", VK_RETURN},      // the other Return
    // Windows reports either Control, Shift or Alt key under one code in key messages. Older
    // browsers name the Windows keys OSLeft and OSRight.
    {0xE0, "ControlLeft", VK_CONTROL},
    {0xE1, "ShiftLeft", VK_SHIFT},
    {0xE2, "AltLeft", VK_MENU},
    {0xE3, "MetaLeft", VK_LWIN},
    {0xE3, "OSLeft", VK_LWIN},
    {0xE4, "ControlRight", VK_CONTROL},
    {0xE5, "ShiftRight", VK_SHIFT},
    {0xE6, "AltRight", VK_MENU},
    {0xE7, "MetaRight", VK_RWIN},
    {0xE7, "OSRight", VK_RWIN},
};

}  // namespace

std::span<const PhysicalKey> physicalKeys() { return keys; }

}  // namespace compat
