// Direct pixel access to two slots at once, for the effects that read one surface and write
// another: the destination is locked first, then the source, and both are unlocked in that
// same order. One slot given as both is locked once and serves as both.
#pragma once

#include <cstdint>

#include "display/display_engine.h"

// A locked slot's pixels and the size of its surface, in 64 bits so that coordinate arithmetic
// on caller's arguments cannot overflow.
struct LockedPixels {
  uint8_t* bits = nullptr;
  int64_t pitch = 0;
  int64_t width = 0;
  int64_t height = 0;

  // Only for a pixel on the surface.
  uint8_t* at(int64_t x, int64_t y) const { return bits + y * pitch + x; }
};

class LockedSlotPair {
 public:
  LockedSlotPair(DisplayEngine& engine, int32_t destSlot, int32_t sourceSlot);
  ~LockedSlotPair();
  LockedSlotPair(const LockedSlotPair&) = delete;
  LockedSlotPair& operator=(const LockedSlotPair&) = delete;

  // False when a slot is out of range or empty, or a lock failed: the caller draws nothing.
  bool ready() const { return dest_.bits != nullptr && source_.bits != nullptr; }
  const LockedPixels& dest() const { return dest_; }
  const LockedPixels& source() const { return source_; }

 private:
  LockedPixels lock(int32_t slot);

  DisplayEngine& engine_;
  int32_t destSlot_;
  int32_t sourceSlot_;
  LockedPixels dest_;
  LockedPixels source_;
};
