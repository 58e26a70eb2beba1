// seed-bitmaps OUT_DIR: writes the bitmaps of the texture fuzzer's seed corpus that are not cut
// from the sample texture: every depth Windows writes, run-length and top-down files, and
// headers that lie about the picture's size or colours.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/bmp_files.h"

namespace {

support::BitmapPicture spec(int bits, int width = 16, int height = 16) {
  support::BitmapPicture s;
  s.width = width;
  s.height = height;
  s.bitsPerPixel = bits;
  if (bits <= 8)
    for (int i = 0; i < (1 << bits); ++i) s.colours.push_back(0x010203u * i);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      s.pixels.push_back(bits <= 8 ? s.colours[(x + y) % s.colours.size()] : 0x123456u * (x ^ y));
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: seed-bitmaps OUT_DIR\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  const auto write = [&](const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream(folder / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  };

  for (int bits : {1, 4, 8, 24, 32})
    write("depth-" + std::to_string(bits) + ".bmp", bmpFile(spec(bits)));
  support::BitmapPicture topDown = spec(8, 128, 128);
  topDown.topDown = true;
  write("top-down-128.bmp", bmpFile(topDown));
  support::BitmapPicture runLength = spec(8, 128, 128);
  runLength.rle8 = true;
  write("rle8-128.bmp", bmpFile(runLength));

  // Header lies on a small 8-bit file (information header at byte 14).
  const std::vector<uint8_t> base = bmpFile(spec(8));
  // Each lie: the 32-bit fields it overwrites, as (offset, value).
  const struct {
    const char* name;
    std::vector<std::pair<size_t, uint32_t>> fields;
  } lies[] = {
      {"huge-width.bmp", {{18, 0x7FFFFFFF}}},
      {"huge-height.bmp", {{22, 0x7FFFFFFF}}},
      {"most-negative-height.bmp", {{22, 0x80000000}}},
      {"16384-square.bmp", {{18, 16384}, {22, 16384}}},
      {"zero-width.bmp", {{18, 0}}},
      {"zero-colours.bmp", {{46, 0}}},
      {"1000-colours.bmp", {{46, 1000}}},
      {"bits-7.bmp", {{28, 0x00070001}}},
      {"rle-on-24-bits.bmp", {{28, 0x00180001}, {30, 1}}},
      {"offset-past-end.bmp", {{10, 0xFFFFFF00}}},
      {"header-size-0.bmp", {{14, 0}}},
  };
  for (const auto& lie : lies) {
    std::vector<uint8_t> file = base;
    for (auto [at, value] : lie.fields) support::overwrite32(file, at, value);
    write(lie.name, file);
  }
  return 0;
}
