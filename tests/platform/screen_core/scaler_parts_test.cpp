// The processor's scalers writing a part of their rectangle into a screen's own rows: each part
// is exactly that window of the whole rectangle drawn in one go, whatever the scaler drew
// before (other sizes, other samplings, other pictures), and nothing around the part is
// touched (the rows' padding, the rows above and below).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/screen_core/crt_beam.h"
#include "platform/screen_core/crt_scaler.h"
#include "platform/screen_core/sharp_scaler.h"

namespace {

constexpr std::uint32_t untouched = 0xDEADBEEFu;

// A picture whose neighbouring pixels all differ in every channel, the fourth byte varied too.
std::vector<std::uint32_t> patterned(int width, int height, std::uint32_t seed = 0) {
  std::vector<std::uint32_t> picture(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::uint32_t index = (static_cast<std::uint32_t>(x * 5 + y * 11) + seed) % 251;
      picture[static_cast<std::size_t>(y) * width + x] =
          ((index * 73) & 255) | ((index * 151 + 64) & 255) << 8 |
          ((index * 29 + 128) & 255) << 16 | ((index * 7 + 200) & 255) << 24;
    }
  return picture;
}

// Draws `part` of a rectangle: false where the scaler refuses it.
using Draw =
    std::function<bool(const std::vector<std::uint32_t>& picture, int pictureWidth,
                       int pictureHeight, int width, int height, const compat::ScaledPart& part)>;

struct PartCase {
  int pictureWidth, pictureHeight, width, height;
  int left, top, right, bottom;
};

// The part drawn into rows with padding on both sides and a row of margin above and below,
// against the same window of the whole rectangle drawn by a fresh scaler.
void expectPartIsWindowOfWhole(const Draw& drawWith, const Draw& drawFresh, const PartCase& c,
                               std::uint32_t seed) {
  SCOPED_TRACE(testing::Message() << c.pictureWidth << "x" << c.pictureHeight << " to " << c.width
                                  << "x" << c.height << ", part [" << c.left << ", " << c.right
                                  << ") x [" << c.top << ", " << c.bottom << ")");
  const auto picture = patterned(c.pictureWidth, c.pictureHeight, seed);
  std::vector<std::uint32_t> whole(static_cast<std::size_t>(c.width) * c.height, untouched);
  ASSERT_TRUE(drawFresh(picture, c.pictureWidth, c.pictureHeight, c.width, c.height,
                        compat::wholeRectangle(c.width, c.height, whole.data())));
  const int partWidth = c.right - c.left, partHeight = c.bottom - c.top;
  const int pad = 3, pitch = partWidth + 2 * pad;
  std::vector<std::uint32_t> rows(static_cast<std::size_t>(pitch) * (partHeight + 2), untouched);
  const compat::ScaledPart part{c.left, c.top, c.right, c.bottom, rows.data() + pitch + pad, pitch};
  ASSERT_TRUE(drawWith(picture, c.pictureWidth, c.pictureHeight, c.width, c.height, part));
  int wrong = 0, outside = 0;
  for (int y = 0; y < partHeight + 2; ++y)
    for (int x = 0; x < pitch; ++x) {
      const std::uint32_t got = rows[static_cast<std::size_t>(y) * pitch + x];
      const int px = x - pad, py = y - 1;
      if (px < 0 || py < 0 || px >= partWidth || py >= partHeight) {
        if (got != untouched) ++outside;
        continue;
      }
      const std::uint32_t want =
          whole[static_cast<std::size_t>(c.top + py) * c.width + (c.left + px)];
      if (got != want && wrong++ < 5)
        ADD_FAILURE() << "at " << c.left + px << ", " << c.top + py << ": " << std::hex << got
                      << " where the whole has " << want;
    }
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(outside, 0) << "words written around the part";
}

// Parts at each edge and corner, one pixel, one row, one column, and the whole; pictures
// smaller and larger than the rectangle; a picture one pixel wide or tall.
const PartCase sharpCases[] = {
    {32, 24, 144, 108, 0, 0, 144, 108},
    {32, 24, 144, 108, 0, 0, 1, 1},
    {32, 24, 144, 108, 143, 107, 144, 108},
    {32, 24, 144, 108, 5, 0, 6, 108},
    {32, 24, 144, 108, 0, 53, 144, 54},
    {32, 24, 144, 108, 70, 40, 144, 108},
    {32, 24, 103, 61, 1, 1, 102, 60},
    {32, 24, 96, 48, 31, 17, 65, 31},
    {1, 24, 50, 61, 0, 0, 50, 61},
    {32, 1, 50, 61, 10, 10, 40, 61},
    {1, 1, 7, 5, 2, 1, 7, 5},
    {200, 150, 61, 47, 0, 0, 61, 47},
    {200, 150, 61, 47, 30, 20, 31, 47},
    {7, 5, 1, 1, 0, 0, 1, 1},
    {32, 24, 1, 200, 0, 100, 1, 200},
    {32, 24, 200, 1, 150, 0, 200, 1},
};

TEST(ScalerParts, SharpAndNearestPartsAreWindowsOfTheWholeWhateverWasDrawnBefore) {
  using Sampling = compat::SharpScaler::Sampling;
  compat::SharpScaler reused;  // one scaler through every case and sampling, as a screen has
  for (const Sampling sampling : {Sampling::sharp, Sampling::nearest}) {
    SCOPED_TRACE(sampling == Sampling::sharp ? "sharp" : "nearest");
    const Draw withReused = [&](const auto& picture, int pw, int ph, int w, int h,
                                const compat::ScaledPart& part) {
      return reused.scalePart(picture.data(), pw, ph, w, h, sampling, part);
    };
    const Draw fresh = [&](const auto& picture, int pw, int ph, int w, int h,
                           const compat::ScaledPart& part) {
      compat::SharpScaler scaler;
      return scaler.scalePart(picture.data(), pw, ph, w, h, sampling, part);
    };
    std::uint32_t seed = 0;
    for (const PartCase& c : sharpCases) {
      expectPartIsWindowOfWhole(withReused, fresh, c, seed++);
      // The other sampling in between, at the same sizes: none of its taps may stay.
      std::vector<std::uint32_t> scratch(static_cast<std::size_t>(c.width) * c.height);
      const auto picture = patterned(c.pictureWidth, c.pictureHeight);
      ASSERT_TRUE(
          reused.scalePart(picture.data(), c.pictureWidth, c.pictureHeight, c.width, c.height,
                           sampling == Sampling::sharp ? Sampling::nearest : Sampling::sharp,
                           compat::wholeRectangle(c.width, c.height, scratch.data())));
      expectPartIsWindowOfWhole(withReused, fresh, c, seed++);
    }
  }
}

// Nearest sampling against its definition: the picture pixel under each screen pixel's centre.
TEST(ScalerParts, NearestTakesThePicturePixelUnderEachCentre) {
  struct SizeCase {
    int pictureWidth, pictureHeight, width, height;
  };
  const SizeCase cases[] = {{32, 24, 144, 108},
                            {32, 24, 103, 61},
                            {200, 150, 61, 47},
                            {320, 240, 1366, 768},
                            {5, 3, 17, 3}};
  compat::SharpScaler scaler;
  for (const SizeCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.pictureWidth << "x" << c.pictureHeight << " to " << c.width
                                    << "x" << c.height);
    const auto picture = patterned(c.pictureWidth, c.pictureHeight);
    std::vector<std::uint32_t> out(static_cast<std::size_t>(c.width) * c.height);
    ASSERT_TRUE(scaler.scalePart(picture.data(), c.pictureWidth, c.pictureHeight, c.width, c.height,
                                 compat::SharpScaler::Sampling::nearest,
                                 compat::wholeRectangle(c.width, c.height, out.data())));
    int wrong = 0;
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x) {
        const int tx = static_cast<int>((x + 0.5) * c.pictureWidth / c.width);
        const int ty = static_cast<int>((y + 0.5) * c.pictureHeight / c.height);
        if (out[static_cast<std::size_t>(y) * c.width + x] !=
            picture[static_cast<std::size_t>(ty) * c.pictureWidth + tx])
          ++wrong;
      }
    EXPECT_EQ(wrong, 0);
  }
}

TEST(ScalerParts, PartsThatAreNotPartsAreRefusedWritingNothing) {
  const auto picture = patterned(8, 6);
  std::vector<std::uint32_t> rows(64 * 64, untouched);
  const auto at = [&](int l, int t, int r, int b, std::ptrdiff_t pitch) {
    return compat::ScaledPart{l, t, r, b, rows.data() + 64 * 20 + 20, pitch};
  };
  const compat::ScaledPart refused[] = {
      at(0, 0, 0, 10, 64),         at(0, 0, 10, 0, 64),   at(5, 0, 4, 10, 64),
      at(-1, 0, 10, 10, 64),       at(0, -1, 10, 10, 64), at(0, 0, 33, 10, 64),
      at(0, 0, 10, 25, 64),        at(0, 0, 10, 10, 9),   at(0, 0, 10, 10, -64),
      {0, 0, 10, 10, nullptr, 64},
  };
  compat::SharpScaler sharp;
  compat::CrtScaler crt;
  for (const compat::ScaledPart& part : refused) {
    SCOPED_TRACE(testing::Message() << "[" << part.left << ", " << part.right << ") x [" << part.top
                                    << ", " << part.bottom << ") pitch " << part.pitch);
    EXPECT_FALSE(
        sharp.scalePart(picture.data(), 8, 6, 32, 24, compat::SharpScaler::Sampling::sharp, part));
    EXPECT_FALSE(crt.scalePart(picture.data(), 8, 6, 32, 24, 0, part));
  }
  // Sizes beyond each scaler's sides, or a picture without pixels.
  const compat::ScaledPart small = at(0, 0, 1, 1, 64);
  EXPECT_FALSE(sharp.scalePart(picture.data(), 8, 6, compat::SharpScaler::maxSide + 1, 24,
                               compat::SharpScaler::Sampling::nearest, small));
  EXPECT_FALSE(crt.scalePart(picture.data(), 8, 6, 32, compat::CrtScaler::maxSide + 1, 0, small));
  EXPECT_FALSE(sharp.scalePart(nullptr, 8, 6, 32, 24, compat::SharpScaler::Sampling::sharp, small));
  EXPECT_FALSE(crt.scalePart(picture.data(), 0, 6, 32, 24, 0, small));
  // The CRT look without room for its lines is the sharp one's to draw.
  EXPECT_FALSE(crt.scalePart(picture.data(), 8, 6, 32, 8, 0, small));
  EXPECT_TRUE(
      std::all_of(rows.begin(), rows.end(), [](std::uint32_t p) { return p == untouched; }));
}

// Rectangles with room for the CRT's lines (depth above 0): pictures of one row and of one
// column, a picture wider than the rectangle, 480 lines scanned once, parts at the edges.
const PartCase crtCases[] = {
    {32, 24, 144, 108, 0, 0, 144, 108},
    {32, 24, 144, 108, 0, 0, 1, 1},
    {32, 24, 144, 108, 143, 107, 144, 108},
    {32, 24, 144, 108, 7, 0, 8, 108},
    {32, 24, 144, 108, 0, 50, 144, 51},
    {32, 24, 103, 97, 1, 1, 102, 96},
    {1, 1, 7, 5, 0, 0, 7, 5},
    {1, 24, 9, 97, 0, 30, 9, 97},
    {40, 1, 33, 4, 3, 0, 30, 4},
    {320, 240, 200, 960, 10, 100, 190, 900},
    {64, 320, 77, 1001, 0, 990, 77, 1001},
    {13, 7, 2, 29, 1, 0, 2, 29},
    {5, 3, 1, 20, 0, 0, 1, 20},
};

TEST(ScalerParts, CrtPartsAreWindowsOfTheWholeWhateverWasDrawnBefore) {
  compat::CrtScaler reused;
  for (const int maskPhase : {0, 1, -1, 7}) {
    SCOPED_TRACE(testing::Message() << "mask phase " << maskPhase);
    const Draw withReused = [&](const auto& picture, int pw, int ph, int w, int h,
                                const compat::ScaledPart& part) {
      return reused.scalePart(picture.data(), pw, ph, w, h, maskPhase, part);
    };
    const Draw fresh = [&](const auto& picture, int pw, int ph, int w, int h,
                           const compat::ScaledPart& part) {
      compat::CrtScaler scaler;
      return scaler.scalePart(picture.data(), pw, ph, w, h, maskPhase, part);
    };
    std::uint32_t seed = 0;
    for (const PartCase& c : crtCases) {
      ASSERT_GT(compat::crtBeam({0, 0, c.width, c.height}, c.pictureHeight).depth, 0.0f);
      expectPartIsWindowOfWhole(withReused, fresh, c, seed++);
    }
  }
}

}  // namespace
