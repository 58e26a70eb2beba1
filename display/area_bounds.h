// Bounding the effects' areas by the surfaces: which offsets into an area of the caller's have
// both their destination and their source pixel on the surfaces, worked out in 64 bits.
#pragma once

#include <algorithm>
#include <cstdint>

// Offsets first..end-1 (end exclusive); empty when first >= end.
struct OffsetRange {
  int64_t first = 0;
  int64_t end = 0;
  bool empty() const { return first >= end; }
};

// Whether a coordinate computed in 64 bits can be handed to a 32-bit call.
inline bool fitsInt32(int64_t value) { return value >= INT32_MIN && value <= INT32_MAX; }

inline int64_t floorDiv(int64_t a, int64_t b) {
  const int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Offsets 0..length-1 whose position `start + offset` lies in 0..size-1.
inline OffsetRange offsetsOnSurface(int64_t start, int64_t length, int64_t size) {
  return {std::max<int64_t>(0, -start), std::min(length, size - start)};
}

inline OffsetRange intersect(OffsetRange a, OffsetRange b) {
  return {std::max(a.first, b.first), std::min(a.end, b.end)};
}
