#include "display/locked_slot_pair.h"

LockedSlotPair::LockedSlotPair(DisplayEngine& engine, int32_t destSlot, int32_t sourceSlot)
    : engine_(engine), destSlot_(destSlot), sourceSlot_(sourceSlot) {
  if (!holdsSurface(destSlot) || !holdsSurface(sourceSlot)) return;
  dest_ = lock(destSlot);
  if (dest_.bits == nullptr) return;
  source_ = destSlot == sourceSlot ? dest_ : lock(sourceSlot);
}

LockedSlotPair::~LockedSlotPair() {
  // Only what was locked: a failed lock has nothing to give back.
  if (dest_.bits != nullptr) engine_.unlockSurface(destSlot_);
  if (source_.bits != nullptr && sourceSlot_ != destSlot_) engine_.unlockSurface(sourceSlot_);
}

LockedPixels LockedSlotPair::lock(int32_t slot) {
  engine_.lockSurface(slot);
  if (surfaceBits[slot] == nullptr) return {};
  const DDSURFACEDESC& desc = engine_.surfaceDesc[slot];
  return {surfaceBits[slot], surfacePitch[slot], static_cast<int64_t>(desc.dwWidth),
          static_cast<int64_t>(desc.dwHeight)};
}
