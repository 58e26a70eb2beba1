// The page's keys to Windows virtual keys, through the key table by KeyboardEvent.code.
#include "platform/web/web_keys.h"

#include "platform/screen_core/physical_keys.h"

namespace web {

unsigned virtualKeyForCode(std::string_view code, bool numLockOn) {
  // A key the page cannot identify comes as "", which the table's keys that have no name in the
  // page hold too: it is no key.
  if (code.empty()) return 0;
  for (const compat::PhysicalKey& physical : compat::physicalKeys())
    if (physical.code == code) return physical.virtualKeyFor(numLockOn);
  return 0;
}

}  // namespace web
