// The keyboard's keys by where they are, in one table for every screen: each key's USB HID
// usage (the keyboard page's number, which SDL's scan codes are), its name in the page's
// KeyboardEvent.code, and the Windows virtual-key code the program gets for it. Windows' virtual
// keys are places too: a layout that prints other characters on a key does not change its code,
// and the punctuation keys carry the US layout's codes. Plain data, so that both screens look
// keys up by what their events carry:
//   desktop (platform/sdl/sdl_keymap.cpp): by SDL's scan code, the usage;
//   web (platform/web/web_keys.cpp): by KeyboardEvent.code.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace compat {

struct PhysicalKey {
  std::uint16_t usage;    // more than one row may share a usage: one key, two names in the page
  std::string_view code;  // empty where the page has no name of its own for the key
  unsigned virtualKey;
  // The keypad's digits and point with Num Lock off: the editing keys marked on them. 0 for the
  // keys Num Lock does not change.
  unsigned numLockOff = 0;

  unsigned virtualKeyFor(bool numLockOn) const {
    return numLockOn || numLockOff == 0 ? virtualKey : numLockOff;
  }
};

// Every key that has a virtual-key code; the order is the usage's.
std::span<const PhysicalKey> physicalKeys();

}  // namespace compat
