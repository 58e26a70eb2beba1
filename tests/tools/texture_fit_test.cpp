// The fit of a picture to the 128 x 128 tile: the centred square of a picture of any shape,
// averaged in linear light (not in sRGB's numbers), transparency over black, small pictures
// enlarged as sharp blocks; the sizes refused; and the bitmap file's rows the right way up.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tools/texture/texture_file.h"
#include "tools/texture/texture_fit.h"

namespace {

using texture::Rgb;
using texture::textureSide;

struct Picture {
  int width, height;
  std::vector<std::uint8_t> rgba;
  void set(int x, int y, Rgb c, std::uint8_t alpha = 255) {
    std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
    p[0] = c.red, p[1] = c.green, p[2] = c.blue, p[3] = alpha;
  }
};

Picture filled(int width, int height, Rgb c, std::uint8_t alpha = 255) {
  Picture picture{width, height, std::vector<std::uint8_t>(std::size_t(width) * height * 4)};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) picture.set(x, y, c, alpha);
  return picture;
}

std::vector<Rgb> fit(const Picture& p) { return texture::fitToTexture(p.rgba, p.width, p.height); }

TEST(TextureFit, KeepsTheCentredSquareOfAnyShape) {
  const Rgb inside{10, 200, 30}, outside{255, 0, 0};
  struct Case {
    int width, height;
  };
  for (const Case c :
       {Case{300, 128}, Case{128, 300}, Case{1000, 400}, Case{129, 128}, Case{3, 1}}) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    Picture picture = filled(c.width, c.height, outside);
    const int square = std::min(c.width, c.height);
    const int left = (c.width - square) / 2, top = (c.height - square) / 2;
    for (int y = top; y < top + square; ++y)
      for (int x = left; x < left + square; ++x) picture.set(x, y, inside);
    const std::vector<Rgb> tile = fit(picture);
    ASSERT_EQ(tile.size(), std::size_t(textureSide * textureSide));
    for (std::size_t i = 0; i < tile.size(); ++i) ASSERT_EQ(tile[i], inside) << "pixel " << i;
  }
}

// A fine black and white checker halves the light: linear 0.5 is sRGB 188, where averaging
// the numbers would give 128.
TEST(TextureFit, AveragesInLinearLight) {
  Picture checker = filled(512, 512, {0, 0, 0});
  for (int y = 0; y < 512; ++y)
    for (int x = (y % 2); x < 512; x += 2) checker.set(x, y, {255, 255, 255});
  for (Rgb c : fit(checker)) ASSERT_EQ(c, (Rgb{188, 188, 188}));
  // Transparent pixels count as black: white at half alpha is half the light.
  for (Rgb c : fit(filled(200, 200, {255, 255, 255}, 128))) ASSERT_EQ(c, (Rgb{188, 188, 188}));
  for (Rgb c : fit(filled(7, 9, {90, 40, 250}, 0))) ASSERT_EQ(c, (Rgb{0, 0, 0}));
}

// A picture smaller than the tile: each of its pixels becomes a block of the tile, the same
// colour throughout where the block does not straddle two.
TEST(TextureFit, EnlargesSmallPicturesAsBlocks) {
  for (Rgb c : fit(filled(1, 1, {12, 34, 56}))) ASSERT_EQ(c, (Rgb{12, 34, 56}));
  Picture two = filled(2, 2, {0, 0, 255});
  two.set(0, 0, {255, 0, 0});
  const std::vector<Rgb> tile = fit(two);
  for (int y = 0; y < textureSide; ++y)
    for (int x = 0; x < textureSide; ++x) {
      const bool red = x < 64 && y < 64;
      ASSERT_EQ(tile[y * textureSide + x], red ? (Rgb{255, 0, 0}) : (Rgb{0, 0, 255}))
          << x << ", " << y;
    }
}

TEST(TextureFit, RefusesEmptyAndTooLargePictures) {
  struct Case {
    std::int64_t width, height;
    bool taken;
  };
  for (const Case c :
       {Case{1, 1, true}, Case{8192, 8192, true}, Case{67108864, 1, true}, Case{0, 10, false},
        Case{10, 0, false}, Case{-1, 5, false}, Case{8193, 8192, false}, Case{67108865, 1, false},
        Case{1, 67108865, false}, Case{std::int64_t{1} << 40, 1 << 30, false},
        // width x height wraps around 2^64 to 0 or to a few pixels
        Case{std::int64_t{1} << 26, std::int64_t{1} << 38, false},
        Case{4, std::int64_t{1} << 62, false}, Case{3, 6148914691236517206, false}}) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    EXPECT_EQ(!texture::pictureSizeProblem(c.width, c.height).has_value(), c.taken);
  }
}

// The pixels must be exactly width x height x 4 bytes: fewer would be read past, more mean
// the caller's size is not the picture's (a width given as half of it would shear it).
TEST(TextureFit, RefusesPixelsNotOfTheGivenSize) {
  struct Case {
    std::size_t bytes;
    std::int64_t width, height;
  };
  for (const Case c : {Case{4 * 99, 10, 10}, Case{4 * 101, 10, 10}, Case{4 * 100 + 1, 10, 10},
                       Case{0, std::int64_t{1} << 26, std::int64_t{1} << 38}}) {
    SCOPED_TRACE(std::to_string(c.bytes) + " bytes for " + std::to_string(c.width) + " x " +
                 std::to_string(c.height));
    const std::vector<std::uint8_t> rgba(c.bytes);
    const texture::TextureFile refused =
        texture::textureFileFromRgba(rgba, c.width, c.height, false);
    EXPECT_TRUE(refused.bytes.empty());
    EXPECT_FALSE(refused.problem.empty());
  }
  const std::vector<std::uint8_t> exact(4 * 100);
  EXPECT_TRUE(texture::textureFileFromRgba(exact, 10, 10, false).problem.empty());
}

// The file: 8 bits, 128 x 128, 256 colours in the table, rows bottom-up, so that the picture's
// top row is the file's last.
TEST(TextureFit, FileHoldsTheTileUpright) {
  Picture picture = filled(64, 32, {0, 0, 255});  // top half red, bottom half blue
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 64; ++x) picture.set(x, y, {255, 0, 0});
  const texture::TextureFile file = texture::textureFileFromRgba(picture.rgba, 64, 32, false);
  ASSERT_TRUE(file.problem.empty()) << file.problem;
  const std::vector<std::uint8_t>& b = file.bytes;
  auto u32 = [&b](std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | b[at + 3] << 24;
  };
  ASSERT_EQ(b.size(), 54u + 1024 + 128 * 128);
  EXPECT_EQ(u32(2), b.size());
  EXPECT_EQ(u32(10), 54u + 1024);  // pixels after the table
  EXPECT_EQ(u32(18), 128u);
  EXPECT_EQ(u32(22), 128u);  // positive: bottom-up
  EXPECT_EQ(b[28], 8);
  EXPECT_EQ(u32(46), 256u);
  auto colourAt = [&](int x, int y) {  // y from the top
    const std::uint8_t index = b[54 + 1024 + (127 - y) * 128 + x];
    return Rgb{b[54 + index * 4 + 2], b[54 + index * 4 + 1], b[54 + index * 4]};
  };
  EXPECT_EQ(colourAt(5, 0), (Rgb{255, 0, 0}));
  EXPECT_EQ(colourAt(5, 127), (Rgb{0, 0, 255}));
}

}  // namespace
