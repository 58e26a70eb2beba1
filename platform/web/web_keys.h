// The page's keys to Windows virtual-key codes, by where the key is (KeyboardEvent.code),
// through the key table the SDL screen reads by scan code: a key has the same code on both.
#pragma once

#include <string_view>

namespace web {

// The virtual-key code of a key, or 0 for a key Windows has no code for here. `numLockOn`
// decides the keypad's digits and point (numbers, or the editing keys marked on them).
unsigned virtualKeyForCode(std::string_view code, bool numLockOn);

}  // namespace web
