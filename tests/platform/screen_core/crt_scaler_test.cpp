// The CRT look on the processor, beyond what it shares with the GPU's shaders (its pictures are
// held to the GL's in tests/platform/gles): the mask's stripes follow the screen's columns, and
// the first and third bytes of a word are treated alike, so that RGBA words and a window's BGRX
// words give the same picture.
#include "platform/screen_core/crt_scaler.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

std::vector<std::uint32_t> patterned(int width, int height) {
  std::vector<std::uint32_t> picture(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::uint32_t index = static_cast<std::uint32_t>(x * 5 + y * 11) % 251;
      picture[static_cast<std::size_t>(y) * width + x] =
          ((index * 73) & 255) | ((index * 151 + 64) & 255) << 8 | ((index * 29 + 128) & 255) << 16;
    }
  return picture;
}

std::uint32_t swapFirstAndThird(std::uint32_t word) {
  return (word & 0xFF00FF00u) | (word & 0xFFu) << 16 | (word >> 16 & 0xFFu);
}

// The mask follows the screen's columns: a rectangle starting one column further along (the
// phase) is the same picture with the stripes swapped, and a negative start keeps its parity.
TEST(CrtScaler, TheMaskPhaseIsTheScreenColumnsParity) {
  const auto picture = patterned(16, 12);
  const int width = 64, height = 48;
  std::vector<std::uint32_t> even(static_cast<std::size_t>(width) * height), odd(even.size()),
      minusOne(even.size());
  compat::CrtScaler scaler;
  ASSERT_TRUE(scaler.scalePart(picture.data(), 16, 12, width, height, 0,
                               compat::wholeRectangle(width, height, even.data())));
  ASSERT_TRUE(scaler.scalePart(picture.data(), 16, 12, width, height, 1,
                               compat::wholeRectangle(width, height, odd.data())));
  ASSERT_TRUE(scaler.scalePart(picture.data(), 16, 12, width, height, -1,
                               compat::wholeRectangle(width, height, minusOne.data())));
  EXPECT_EQ(minusOne, odd);
  EXPECT_NE(even, odd);
  // Flat green on an even column is lowered, on an odd one raised.
  std::vector<std::uint32_t> green(16 * 12, 0xFF008000u);
  ASSERT_TRUE(scaler.scalePart(green.data(), 16, 12, width, height, 0,
                               compat::wholeRectangle(width, height, even.data())));
  const std::uint32_t middle = static_cast<std::uint32_t>(height / 2) * width + width / 2;
  EXPECT_LT((even[middle] >> 8) & 255, (even[middle + 1] >> 8) & 255);
}

TEST(CrtScaler, TheFirstAndThirdBytesAreTreatedAlike) {
  const int pictureWidth = 40, pictureHeight = 30, width = 150, height = 97;
  const auto picture = patterned(pictureWidth, pictureHeight);
  std::vector<std::uint32_t> swapped(picture.size());
  for (std::size_t i = 0; i < picture.size(); ++i) swapped[i] = swapFirstAndThird(picture[i]);
  std::vector<std::uint32_t> out(static_cast<std::size_t>(width) * height), outSwapped(out.size());
  compat::CrtScaler scaler;
  ASSERT_TRUE(scaler.scalePart(picture.data(), pictureWidth, pictureHeight, width, height, 1,
                               compat::wholeRectangle(width, height, out.data())));
  ASSERT_TRUE(scaler.scalePart(swapped.data(), pictureWidth, pictureHeight, width, height, 1,
                               compat::wholeRectangle(width, height, outSwapped.data())));
  int differing = 0;
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (swapFirstAndThird(out[i]) != outSwapped[i]) ++differing;
    EXPECT_EQ(out[i] >> 24, 255u) << "the fourth byte is written opaque";
  }
  EXPECT_EQ(differing, 0);
}

}  // namespace
