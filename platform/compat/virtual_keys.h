// Windows virtual-key codes, with their real names and values (the US layout's codes for the
// punctuation keys). Plain constants with no Windows types, so that the SDL screen can map its
// keys to them without including win32.h.
#pragma once

inline constexpr unsigned VK_LBUTTON = 0x01;
inline constexpr unsigned VK_RBUTTON = 0x02;
inline constexpr unsigned VK_BACK = 0x08;
inline constexpr unsigned VK_TAB = 0x09;
inline constexpr unsigned VK_CLEAR = 0x0C;  // keypad 5 with Num Lock off
inline constexpr unsigned VK_RETURN = 0x0D;
inline constexpr unsigned VK_SHIFT = 0x10;
inline constexpr unsigned VK_CONTROL = 0x11;
inline constexpr unsigned VK_MENU = 0x12;  // Alt
inline constexpr unsigned VK_PAUSE = 0x13;
inline constexpr unsigned VK_CAPITAL = 0x14;
inline constexpr unsigned VK_KANA = 0x15;
inline constexpr unsigned VK_KANJI = 0x19;
inline constexpr unsigned VK_ESCAPE = 0x1B;
inline constexpr unsigned VK_CONVERT = 0x1C;
inline constexpr unsigned VK_NONCONVERT = 0x1D;
inline constexpr unsigned VK_SPACE = 0x20;
inline constexpr unsigned VK_PRIOR = 0x21;
inline constexpr unsigned VK_NEXT = 0x22;
inline constexpr unsigned VK_END = 0x23;
inline constexpr unsigned VK_HOME = 0x24;
inline constexpr unsigned VK_LEFT = 0x25;
inline constexpr unsigned VK_UP = 0x26;
inline constexpr unsigned VK_RIGHT = 0x27;
inline constexpr unsigned VK_DOWN = 0x28;
inline constexpr unsigned VK_SNAPSHOT = 0x2C;
inline constexpr unsigned VK_INSERT = 0x2D;
inline constexpr unsigned VK_DELETE = 0x2E;
// '0'..'9' are 0x30..0x39 and 'A'..'Z' are 0x41..0x5A: the characters' own codes.
inline constexpr unsigned VK_LWIN = 0x5B;
inline constexpr unsigned VK_RWIN = 0x5C;
inline constexpr unsigned VK_APPS = 0x5D;
inline constexpr unsigned VK_NUMPAD0 = 0x60;  // VK_NUMPAD1..9 follow
inline constexpr unsigned VK_MULTIPLY = 0x6A;
inline constexpr unsigned VK_ADD = 0x6B;
inline constexpr unsigned VK_SEPARATOR = 0x6C;
inline constexpr unsigned VK_SUBTRACT = 0x6D;
inline constexpr unsigned VK_DECIMAL = 0x6E;
inline constexpr unsigned VK_DIVIDE = 0x6F;
inline constexpr unsigned VK_F1 = 0x70;  // VK_F2..VK_F24 follow
inline constexpr unsigned VK_F4 = 0x73;
inline constexpr unsigned VK_F5 = 0x74;
inline constexpr unsigned VK_F10 = 0x79;
inline constexpr unsigned VK_F12 = 0x7B;
inline constexpr unsigned VK_F13 = 0x7C;
inline constexpr unsigned VK_F24 = 0x87;
inline constexpr unsigned VK_NUMLOCK = 0x90;
inline constexpr unsigned VK_SCROLL = 0x91;
inline constexpr unsigned VK_LSHIFT = 0xA0;
inline constexpr unsigned VK_RSHIFT = 0xA1;
inline constexpr unsigned VK_LCONTROL = 0xA2;
inline constexpr unsigned VK_RCONTROL = 0xA3;
inline constexpr unsigned VK_LMENU = 0xA4;
inline constexpr unsigned VK_RMENU = 0xA5;
// The punctuation keys, named by what they print on the US layout.
inline constexpr unsigned VK_OEM_1 = 0xBA;       // ; :
inline constexpr unsigned VK_OEM_PLUS = 0xBB;    // = +
inline constexpr unsigned VK_OEM_COMMA = 0xBC;   // , <
inline constexpr unsigned VK_OEM_MINUS = 0xBD;   // - _
inline constexpr unsigned VK_OEM_PERIOD = 0xBE;  // . >
inline constexpr unsigned VK_OEM_2 = 0xBF;       // / ?
inline constexpr unsigned VK_OEM_3 = 0xC0;       // ` ~
inline constexpr unsigned VK_OEM_4 = 0xDB;       // [ {
inline constexpr unsigned VK_OEM_5 = 0xDC;       // \ |
inline constexpr unsigned VK_OEM_6 = 0xDD;       // ] }
inline constexpr unsigned VK_OEM_7 = 0xDE;       // ' "
inline constexpr unsigned VK_OEM_102 = 0xE2;     // the key between left Shift and Z
