// GetModuleHandleA: the program itself is the only module.
#include "platform/compat/user32_api.h"

namespace {

// A distinct address serves as the module's handle: it has no state of its own.
char moduleInstance;

}  // namespace

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
  if (moduleName != nullptr) return nullptr;
  return reinterpret_cast<HMODULE>(&moduleInstance);
}
