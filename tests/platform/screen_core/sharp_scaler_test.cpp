// The sharp look on the processor against the look's definition, computed here directly: each
// screen pixel the picture's colours averaged over the square it covers (the picture beyond
// its ends being its end pixels), which at factors of 1 and more is what the GPU's sharp
// shader draws. Exact inside blocks, within a level at edges; at whole factors the plain
// copy, every pixel exact.
#include "platform/screen_core/sharp_scaler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// A picture whose neighbouring pixels all differ in every channel, alpha opaque.
std::vector<std::uint32_t> patterned(int width, int height) {
  std::vector<std::uint32_t> picture(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::uint32_t index = static_cast<std::uint32_t>(x * 5 + y * 11) % 252;
      picture[static_cast<std::size_t>(y) * width + x] =
          ((index * 73) & 255) | ((index * 151 + 64) & 255) << 8 |
          ((index * 29 + 128) & 255) << 16 | 0xFF000000u;
    }
  return picture;
}

// The share of picture pixel `texel` in the span [from, to) of picture pixels, the picture's
// ends stretched beyond it.
double overlap(double from, double to, int texel, int texels) {
  const double start = texel == 0 ? -1e9 : texel;
  const double end = texel == texels - 1 ? 1e9 : texel + 1;
  return std::max(0.0, std::min(to, end) - std::max(from, start)) / (to - from);
}

// Channel c of screen pixel (x, y) by area coverage; `inside` tells whether the pixel lies
// within one picture pixel.
double covered(const std::vector<std::uint32_t>& picture, int pictureWidth, int pictureHeight,
               int width, int height, int x, int y, int c, bool& inside) {
  const double sx = static_cast<double>(width) / pictureWidth;
  const double sy = static_cast<double>(height) / pictureHeight;
  double sum = 0;
  inside = false;
  for (int ty = 0; ty < pictureHeight; ++ty) {
    const double wy = overlap(y / sy, (y + 1) / sy, ty, pictureHeight);
    if (wy == 0) continue;
    for (int tx = 0; tx < pictureWidth; ++tx) {
      const double wx = overlap(x / sx, (x + 1) / sx, tx, pictureWidth);
      if (wx == 0) continue;
      inside = inside || (wx == 1 && wy == 1);
      sum +=
          wx * wy * ((picture[static_cast<std::size_t>(ty) * pictureWidth + tx] >> (8 * c)) & 255);
    }
  }
  return sum;
}

struct SizeCase {
  int pictureWidth, pictureHeight, width, height;
};

TEST(SharpScaler, MatchesAreaCoverageAtAnyFactorAndCopiesAtWholeOnes) {
  const SizeCase cases[] = {
      {32, 24, 144, 108},  // 4.5, as 320 x 240 on 1080 lines
      {32, 24, 128, 96},   // 4: the plain copy
      {32, 24, 32, 24},    // 1
      {32, 24, 103, 61},   // different factors across and down, neither whole
      {32, 24, 96, 48},    // 3 across, 2 down
      {1, 1, 7, 5},        // one pixel
      {5, 3, 17, 3},       // stretched one way only
  };
  compat::SharpScaler scaler;  // one scaler for all: its tables follow each size
  for (const SizeCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.pictureWidth << "x" << c.pictureHeight << " to " << c.width
                                    << "x" << c.height);
    const auto picture = patterned(c.pictureWidth, c.pictureHeight);
    std::vector<std::uint32_t> out(static_cast<std::size_t>(c.width) * c.height, 0xDEADBEEF);
    ASSERT_TRUE(scaler.scale(picture.data(), c.pictureWidth, c.pictureHeight, c.width, c.height,
                             out.data()));
    const bool whole = c.width % c.pictureWidth == 0 && c.height % c.pictureHeight == 0;
    int worst = 0, inexactInside = 0;
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x) {
        const std::uint32_t got = out[static_cast<std::size_t>(y) * c.width + x];
        EXPECT_EQ(got >> 24, 255u) << "alpha at " << x << ", " << y;
        for (int channel = 0; channel < 3; ++channel) {
          bool inside = false;
          const double want = covered(picture, c.pictureWidth, c.pictureHeight, c.width, c.height,
                                      x, y, channel, inside);
          const int off =
              static_cast<int>(std::lround(std::abs(((got >> (8 * channel)) & 255) - want)));
          worst = std::max(worst, off);
          // A pixel wholly inside a picture pixel has its colour exactly.
          if (inside && off != 0) ++inexactInside;
        }
      }
    EXPECT_LE(worst, whole ? 0 : 1);
    EXPECT_EQ(inexactInside, 0);
  }
}

TEST(SharpScaler, RefusesWhatItCannotDrawAndWritesNothing) {
  const auto picture = patterned(4, 4);
  std::vector<std::uint32_t> out(64, 0xDEADBEEF);
  compat::SharpScaler scaler;
  const SizeCase refused[] = {{0, 4, 8, 8},  {4, 0, 8, 8},       {4, 4, 0, 8},
                              {4, 4, 8, -1}, {4, 4, 8193, 4096}, {4, 4, 65536, 65536}};
  for (const SizeCase& c : refused)
    EXPECT_FALSE(scaler.scale(picture.data(), c.pictureWidth, c.pictureHeight, c.width, c.height,
                              out.data()))
        << c.pictureWidth << "x" << c.pictureHeight << " to " << c.width << "x" << c.height;
  EXPECT_FALSE(scaler.scale(nullptr, 4, 4, 8, 8, out.data()));
  EXPECT_FALSE(scaler.scale(picture.data(), 4, 4, 8, 8, nullptr));
  EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](std::uint32_t p) { return p == 0xDEADBEEF; }));
  // And it still draws after them.
  EXPECT_TRUE(scaler.scale(picture.data(), 4, 4, 8, 8, out.data()));
  EXPECT_EQ(out[0], picture[0]);
  EXPECT_EQ(out[63], picture[15]);
}

// A tall picture into a wide, short rectangle: what the scaler holds besides the rectangle
// stays a row or two of it (all of the picture's rows scaled across would be 4096 x 16 Mi
// words, 256 GB), and each screen row is its stretch of the picture down the middle.
TEST(SharpScaler, ATallPictureIntoAWideShortRectangleHoldsOnlyRowsOfTheRectangle) {
  const int pictureHeight = 16 * 1024 * 1024, width = 4096, height = 4;
  std::vector<std::uint32_t> picture(pictureHeight);
  for (int y = 0; y < pictureHeight; ++y)
    picture[static_cast<std::size_t>(y)] = y < pictureHeight / 2 ? 0xFF102030u : 0xFF405060u;
  std::vector<std::uint32_t> out(static_cast<std::size_t>(width) * height);
  compat::SharpScaler scaler;
  ASSERT_TRUE(scaler.scale(picture.data(), 1, pictureHeight, width, height, out.data()));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; x += 1023)
      EXPECT_EQ(out[static_cast<std::size_t>(y) * width + x], y < 2 ? 0xFF102030u : 0xFF405060u)
          << x << ", " << y;
}

// A whole rectangle is bounded by its area alone: one wider or taller than a part's longest side
// (a very wide, short one) is drawn, each column its stretch of the picture.
TEST(SharpScaler, AWholeRectangleWithinTheAreaIsDrawnHoweverLongASide) {
  const int width = compat::SharpScaler::maxSide + 3616, height = 8;  // 20000 x 8
  const std::uint32_t left = 0xFF102030u, right = 0xFF405060u;
  const std::uint32_t picture[2] = {left, right};
  std::vector<std::uint32_t> out(static_cast<std::size_t>(width) * height, 0xDEADBEEF);
  compat::SharpScaler scaler;
  ASSERT_TRUE(scaler.scale(picture, 2, 1, width, height, out.data()));
  for (int y = 0; y < height; ++y) {
    EXPECT_EQ(out[static_cast<std::size_t>(y) * width], left) << y;
    EXPECT_EQ(out[static_cast<std::size_t>(y) * width + width - 1], right) << y;
  }
}

}  // namespace
