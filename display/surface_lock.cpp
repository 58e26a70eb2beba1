// Direct access to a slot's pixels: every software read or write of surface memory lies
// between lockSurface and unlockSurface of that slot.
#include "display/display_engine.h"

void DisplayEngine::lockSurface(int32_t slot) {
  if (slot < 0 || slot >= maxSurfaceSlots) return;
  if (surfaces[slot] == nullptr) {
    // No surface, no memory: the address of an earlier lock (its surface freed since, as at
    // shutdown) must not stay for the pixel routines to write through.
    surfaceDesc[slot] = DDSURFACEDESC{};
    surfaceBits[slot] = nullptr;
    surfacePitch[slot] = 0;
    return;
  }
  DDSURFACEDESC desc{};
  desc.dwSize = sizeof(DDSURFACEDESC);
  // Recorded only when the lock is ours: a lock refused because the slot is already locked
  // must not overwrite the record that the holder's unlockSurface gives back.
  if (surfaces[slot]->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) == DD_OK) {
    surfaceDesc[slot] = desc;
  } else {
    desc.lpSurface = nullptr;
    desc.lPitch = 0;
  }
  surfaceBits[slot] = static_cast<uint8_t*>(desc.lpSurface);
  surfacePitch[slot] = desc.lPitch;
}

HRESULT DisplayEngine::unlockSurface(int32_t slot) {
  if (!holdsSurface(slot)) return DDERR_INVALIDPARAMS;
  // The lock's own address, not surfaceBits: presentFrame may have swapped that since.
  return surfaces[slot]->Unlock(surfaceDesc[slot].lpSurface);
}
