// The sharp look fills the largest area of the picture's shape; every picture pixel is a solid
// block of its colour, and between two neighbours at most one screen pixel is a blend of the
// two, at any factor. Both as the GPU's shader draws it and as the processor scales it for a GL
// that runs on the processor (scaleSharpOnProcessor).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/screen_core/looks.h"
#include "tests/platform/gles/gles_look_fixture.h"

namespace gles_test {
namespace {

// Along one axis: the texels a screen pixel's footprint touches. The rectangle's `length`
// screen pixels hold `texels` texels; pixel p covers [p, p + 1) of them, so in texels
// [p texels / length, (p + 1) texels / length), in whole numbers exactly.
struct Span {
  int first;
  int last;  // first, or first + 1 where the pixel straddles a texel boundary
};
Span footprint(int p, int texels, int length) {
  const std::int64_t start = std::int64_t{p} * texels, end = std::int64_t{p + 1} * texels;
  const int first = static_cast<int>(start / length);
  const int last = static_cast<int>((end + length - 1) / length) - 1;
  return {first, std::min(last, texels - 1)};
}

class SharpLook : public LookTest, public testing::WithParamInterface<bool> {
 protected:
  void drawOn(int width, int height) {
    LookTest::drawOn(width, height);
    presenter_.scaleSharpOnProcessor(GetParam());
  }
};
INSTANTIATE_TEST_SUITE_P(ShaderOrProcessor, SharpLook, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                           return info.param ? "ScaledOnProcessor" : "Shader";
                         });

TEST_P(SharpLook, SolidPixelsWithAtMostOneBlendedScreenPixelAtEachEdge) {
  struct Case {
    int pictureWidth, pictureHeight, drawableWidth, drawableHeight;
  };
  const Case cases[] = {
      {320, 240, 1920, 1080},  // 4.5 screen pixels a texel
      {320, 240, 1366, 768},   // 3.2
      {640, 480, 1920, 1080},  // 2.25
      {320, 240, 1280, 960},   // 4: no blends at all
      {16, 16, 1920, 1080},    // 67.5, every index once
  };
  const compat::Palette palette = distinctPalette(7);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.pictureWidth << "x" << c.pictureHeight << " on "
                                    << c.drawableWidth << "x" << c.drawableHeight);
    drawOn(c.drawableWidth, c.drawableHeight);
    // Rows further apart than the picture is wide, but for the 16 x 16 one, filled in below.
    Picture picture = patternPicture(c.pictureWidth, c.pictureHeight,
                                     c.pictureWidth + (c.pictureWidth == 16 ? 0 : 3));
    if (c.pictureWidth == 16)
      for (int i = 0; i < 256; ++i) picture.pixels[i] = static_cast<std::uint8_t>(i);
    show(picture, palette);
    const Rgba shown = drawn(compat::Look::sharp);
    const Rgba texels = colours(picture, palette);
    const compat::ScreenRect rect =
        compat::aspectRectangle(c.pictureWidth, c.pictureHeight, c.drawableWidth, c.drawableHeight);

    int solid = 0, blended = 0, wrong = 0;
    for (int y = 0; y < c.drawableHeight; ++y)
      for (int x = 0; x < c.drawableWidth; ++x) {
        const std::uint8_t* p = shown.at(x, y);
        const bool inside =
            x >= rect.x && x < rect.x + rect.width && y >= rect.y && y < rect.y + rect.height;
        if (!inside) {
          wrong += (p[0] | p[1] | p[2]) != 0;
          continue;
        }
        const Span sx = footprint(x - rect.x, c.pictureWidth, rect.width);
        const Span sy = footprint(y - rect.y, c.pictureHeight, rect.height);
        if (sx.first == sx.last && sy.first == sy.last) {
          ++solid;
          wrong += std::memcmp(p, texels.at(sx.first, sy.first), 3) != 0;
          continue;
        }
        // A blend: each channel between the texels the pixel straddles.
        ++blended;
        for (int channel = 0; channel < 3; ++channel) {
          int low = 255, high = 0;
          for (int ty = sy.first; ty <= sy.last; ++ty)
            for (int tx = sx.first; tx <= sx.last; ++tx) {
              low = std::min<int>(low, texels.at(tx, ty)[channel]);
              high = std::max<int>(high, texels.at(tx, ty)[channel]);
            }
          wrong += p[channel] < low || p[channel] > high;
        }
      }
    EXPECT_EQ(wrong, 0) << keepForInspection("sharp", shown);
    // At 2.25 screen pixels a texel, 5 in 9 pixels each way lie inside one texel.
    EXPECT_GT(solid, rect.width * rect.height / 4);
    if (rect.width % c.pictureWidth == 0 && rect.height % c.pictureHeight == 0)
      EXPECT_EQ(blended, 0);
    else
      EXPECT_GT(blended, 0);
  }
}

TEST_P(SharpLook, BlendsFollowTheShareOfThePixelOnEachSide) {
  // Two columns, black and white, at 4.5 screen pixels a texel: the boundary falls in the
  // middle of a screen pixel, which is half of each, and at every other texel boundary on a
  // pixel edge (9 pixels to two texels).
  drawOn(1920, 1080);
  Picture picture = flatPicture(320, 240, 0);
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 320; ++x) picture.pixels[y * 320 + x] = static_cast<std::uint8_t>(x & 1);
  compat::Palette palette{};
  palette[1] = {255, 255, 255, 0};
  show(picture, palette);
  const Rgba shown = drawn(compat::Look::sharp);
  const int row = 540, left = 240;
  // Texel 0 covers pixels [0, 4.5), texel 1 [4.5, 9): pixel 4 is half and half.
  const int expected[] = {0, 0, 0, 0, 128, 255, 255, 255, 255, 0, 0, 0, 0, 128};
  for (int i = 0; i < 14; ++i) {
    SCOPED_TRACE(testing::Message() << "pixel " << i);
    EXPECT_NEAR(shown.at(left + i, row)[0], expected[i], 1);
  }
}

// Switching the processor's scaling off and on between pictures: each draw shows the picture
// set last, whichever way it is drawn, and nothing is read from an earlier picture's memory.
TEST_F(LookTest, SharpLookShowsTheLatestPictureWhenTheProcessorScalingIsSwitched) {
  struct Case {
    int firstWidth, firstHeight;  // the picture set while scaling on the processor
  };
  // A smaller picture of another shape (scaled anew from a kept copy shorter than the
  // picture), and one the later picture's size (the scaled copy kept would be shown again).
  const Case cases[] = {{5, 3}, {40, 30}};
  compat::Palette palette{};
  palette[1] = {255, 0, 0, 0};
  palette[2] = {0, 255, 0, 0};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "first picture " << c.firstWidth << "x" << c.firstHeight);
    drawOn(150, 110);  // 3.75 and 3.67 screen pixels a texel: the sharp look, not the copy
    presenter_.scaleSharpOnProcessor(true);
    show(flatPicture(c.firstWidth, c.firstHeight, 1), palette);
    drawn(compat::Look::sharp);
    presenter_.scaleSharpOnProcessor(false);
    show(flatPicture(40, 30, 2), palette);
    drawn(compat::Look::sharp);
    presenter_.scaleSharpOnProcessor(true);
    const Rgba shown = drawn(compat::Look::sharp);
    const compat::ScreenRect rect = compat::lookRectangle(compat::Look::sharp, 40, 30, 150, 110);
    int wrong = 0;
    for (int y = rect.y; y < rect.y + rect.height; ++y)
      for (int x = rect.x; x < rect.x + rect.width; ++x)
        if (shown.at(x, y)[0] != 0 || shown.at(x, y)[1] != 255) ++wrong;
    EXPECT_EQ(wrong, 0);
  }
}

// Where the window holds less than the picture, the sharp look is two picture pixels mixed at
// each screen pixel, the nearest edge's share: the processor's scaling draws what the shader
// draws there too (the page's processor path shows it in a small window).
TEST_F(LookTest, SharpLookOnTheProcessorIsTheShadersBelowThePicturesSize) {
  const Picture picture = patternPicture(320, 240, 320);
  const compat::Palette palette = distinctPalette(7);
  const int sizes[][2] = {{268, 201}, {200, 150}, {101, 77}, {7, 5}, {2, 2}};
  for (const auto& size : sizes) {
    SCOPED_TRACE(testing::Message() << "on " << size[0] << "x" << size[1]);
    drawOn(size[0], size[1]);
    presenter_.scaleSharpOnProcessor(false);
    show(picture, palette);
    const Rgba shader = drawn(compat::Look::sharp);
    presenter_.scaleSharpOnProcessor(true);
    show(picture, palette);
    const Rgba processor = drawn(compat::Look::sharp);
    int worst = 0;
    for (int y = 0; y < size[1]; ++y)
      for (int x = 0; x < size[0]; ++x)
        for (int c = 0; c < 3; ++c)
          worst = std::max(worst, std::abs(shader.at(x, y)[c] - processor.at(x, y)[c]));
    EXPECT_LE(worst, 1);
  }
}

}  // namespace
}  // namespace gles_test
