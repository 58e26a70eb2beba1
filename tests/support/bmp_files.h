// Small bitmap files written for a test, in a temporary folder removed afterwards.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace support {

class TemporaryFolder {
 public:
  TemporaryFolder();
  ~TemporaryFolder();
  std::filesystem::path path(const std::string& name) const { return folder_ / name; }
  // Writes the bytes to a file of that name and returns its path.
  std::string write(const std::string& name, const std::vector<uint8_t>& bytes) const;

 private:
  std::filesystem::path folder_;
};

// An 8-bit Windows bitmap: 14-byte file header, 40-byte information header, a full 256-entry
// colour table (entry i from `colour(i)` as blue, green, red, reserved) and bottom-up rows.
std::vector<uint8_t> eightBitBmp(int width, int height, uint32_t (*colour)(int index),
                                 uint8_t (*pixel)(int x, int y));

// A picture to write as a bitmap file of any of the depths Windows writes. Pixels are given as
// colours; for 1, 4 and 8 bits the colour table holds `colours` and each pixel is the index of
// its colour there.
struct BitmapPicture {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 8;  // 1, 4, 8, 24 or 32
  bool topDown = false;
  bool rle8 = false;              // 8 bits only
  std::vector<uint32_t> colours;  // 0x00RRGGBB, for 1, 4 and 8 bits
  std::vector<uint32_t> pixels;   // 0x00RRGGBB, rows top to bottom
};
std::vector<uint8_t> bmpFile(const BitmapPicture& picture);

// Overwrites a little-endian field of a file's bytes, to make a header lie.
void overwrite16(std::vector<uint8_t>& file, size_t at, uint16_t value);
void overwrite32(std::vector<uint8_t>& file, size_t at, uint32_t value);

}  // namespace support
