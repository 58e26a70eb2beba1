// The bitmap header check that stands before SDL's reader: every kind of file the program reads
// passes, and each way a file can lie about itself is named.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "platform/compat/bitmap_file.h"
#include "tests/support/bmp_files.h"

namespace {

std::string problemOf(const std::vector<uint8_t>& file) {
  return compat::bmpHeaderProblem(file.data(), file.size());
}

std::vector<uint8_t> sample(int bits, bool topDown = false, bool rle8 = false) {
  support::BitmapPicture spec;
  spec.width = 7;
  spec.height = 5;
  spec.bitsPerPixel = bits;
  spec.topDown = topDown;
  spec.rle8 = rle8;
  if (bits <= 8) spec.colours = {0x000000, 0xFFFFFF};
  spec.pixels.assign(35, 0xFFFFFF);
  return support::bmpFile(spec);
}

}  // namespace

TEST(BmpHeader, EveryKindTheProgramReadsPasses) {
  const std::pair<const char*, std::vector<uint8_t>> files[] = {
      {"1 bit", sample(1)},
      {"4 bits", sample(4)},
      {"8 bits", sample(8)},
      {"8 bits top-down", sample(8, true)},
      {"8 bits RLE", sample(8, false, true)},
      {"24 bits", sample(24)},
      {"32 bits", sample(32)},
      {"the demo's kind: 128 x 128, 256 colours",
       support::eightBitBmp(
           128, 128, [](int i) { return uint32_t(i * 0x010101); },
           [](int x, int y) { return uint8_t(x ^ y); })},
  };
  for (const auto& [name, file] : files) EXPECT_EQ(problemOf(file), "") << name;
}

TEST(BmpHeader, LiesAndCutsAreNamed) {
  struct Case {
    const char* name;
    std::function<void(std::vector<uint8_t>&)> change;
    const char* problem;  // a part of the message
  };
  const Case cases[] = {
      {"cut inside the file header", [](auto& f) { f.resize(10); }, "shorter than"},
      {"cut inside the information header", [](auto& f) { f.resize(40); }, "cut short"},
      {"cut inside the colour table", [](auto& f) { f.resize(60); }, "colour table cut short"},
      {"cut inside the pixels", [](auto& f) { f.resize(f.size() - 3); }, "pixel data cut short"},
      {"no signature", [](auto& f) { f[0] = 'X'; }, "no BM signature"},
      {"unknown header size", [](auto& f) { support::overwrite32(f, 14, 41); },
       "information header size"},
      {"zero width", [](auto& f) { support::overwrite32(f, 18, 0); }, "dimensions"},
      {"negative width", [](auto& f) { support::overwrite32(f, 18, uint32_t(-7)); }, "dimensions"},
      {"absurd height", [](auto& f) { support::overwrite32(f, 22, 0x7FFFFFFF); }, "dimensions"},
      {"too many pixels",
       [](auto& f) { support::overwrite32(f, 18, 16384), support::overwrite32(f, 22, 16384); },
       "dimensions"},
      {"most negative height", [](auto& f) { support::overwrite32(f, 22, 0x80000000); },
       "dimensions"},
      {"two planes", [](auto& f) { support::overwrite16(f, 26, 2); }, "plane count"},
      {"7 bits a pixel", [](auto& f) { support::overwrite16(f, 28, 7); }, "bit count"},
      {"RLE4 on 8 bits", [](auto& f) { support::overwrite32(f, 30, 2); }, "compression"},
      {"JPEG inside", [](auto& f) { support::overwrite32(f, 30, 4); }, "compression"},
      {"300 colours", [](auto& f) { support::overwrite32(f, 46, 300); }, "colour count"},
      {"pixels before the headers", [](auto& f) { support::overwrite32(f, 10, 20); }, "offset"},
      {"pixels past the end", [](auto& f) { support::overwrite32(f, 10, 0xFFFFFFF0); }, "offset"},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> file = sample(8);
    c.change(file);
    EXPECT_NE(problemOf(file).find(c.problem), std::string::npos)
        << c.name << ": got \"" << problemOf(file) << "\"";
  }
}

TEST(BmpHeader, ZeroColoursMeansAFullTableAndATopDownRunLengthFileIsRefused) {
  std::vector<uint8_t> file = sample(8);
  support::overwrite32(file, 46, 0);  // 0: all 256 colours, more than this file's two
  EXPECT_EQ(problemOf(file), "colour table cut short");
  std::vector<uint8_t> rle = sample(8, false, true);
  support::overwrite32(rle, 22, uint32_t(-5));
  EXPECT_NE(problemOf(rle).find("top-down"), std::string::npos);
}
