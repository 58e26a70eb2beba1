// Direct access to a slot's pixels: every software read or write of surface memory lies
// between lockSurface and unlockSurface of that slot.
#include "display/display_engine.h"

void DisplayEngine::lockSurface(int32_t slot) {
  DDSURFACEDESC& desc = surfaceDesc[slot];
  desc = DDSURFACEDESC{};
  desc.dwSize = sizeof(DDSURFACEDESC);
  // The result is not examined: a failed lock leaves the cleared record's null address.
  surfaces[slot]->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr);
  surfaceBits[slot] = static_cast<uint8_t*>(desc.lpSurface);
  surfacePitch[slot] = desc.lPitch;
}

HRESULT DisplayEngine::unlockSurface(int32_t slot) {
  // The lock's own address, not surfaceBits: presentFrame may have swapped that since.
  return surfaces[slot]->Unlock(surfaceDesc[slot].lpSurface);
}
