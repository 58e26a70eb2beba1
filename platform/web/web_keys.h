// The page's keys to Windows virtual-key codes, by where the key is (KeyboardEvent.code), as
// the SDL screen maps SDL's scan codes: the two platforms give the same codes for a key.
#pragma once

#include <string_view>

namespace web {

// The virtual-key code of a key, or 0 for a key Windows has no code for here. `numLockOn`
// decides the keypad's digits and point (numbers, or the editing keys marked on them).
unsigned virtualKeyForCode(std::string_view code, bool numLockOn);

}  // namespace web
