// SDL's keys to Windows virtual keys, through the key table: SDL's scan codes are the USB usages
// the table lists.
#include "platform/sdl/sdl_keymap.h"

#include "platform/screen_core/physical_keys.h"

namespace sdl {

static_assert(SDL_SCANCODE_A == 0x04 && SDL_SCANCODE_KP_1 == 0x59 && SDL_SCANCODE_LANG5 == 0x94 &&
                  SDL_SCANCODE_RGUI == 0xE7,
              "SDL's scan codes are the USB keyboard page's usages");

unsigned virtualKeyFor(const SDL_Keysym& key) {
  for (const compat::PhysicalKey& physical : compat::physicalKeys())
    if (physical.usage == key.scancode) return physical.virtualKeyFor((key.mod & KMOD_NUM) != 0);
  return 0;
}

}  // namespace sdl
