// A surface's pixel memory with guard bytes around it: a band before the first row and after
// the last, and the padding at the end of each row (pitch minus width). Nothing may write to
// them; tests check they still hold their pattern after any drawing, so that a write outside a
// surface shows even where it stays inside the allocation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace compat {

class GuardedPixels {
 public:
  GuardedPixels(int width, int height, int pitch, std::uint8_t fill);

  std::uint8_t* data() { return bytes_.data() + guardBand; }
  const std::uint8_t* data() const { return bytes_.data() + guardBand; }
  void swap(GuardedPixels& other) { bytes_.swap(other.bytes_); }
  // Every guard byte still holds the pattern.
  bool guardsIntact() const;

 private:
  static constexpr std::size_t guardBand = 64;
  static constexpr std::uint8_t guardByte = 0xA5;

  int width_;
  int height_;
  int pitch_;
  std::vector<std::uint8_t> bytes_;
};

}  // namespace compat
