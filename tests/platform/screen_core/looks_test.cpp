// The looks' names and cycle, and where each puts the picture on drawables of many sizes.
#include "platform/screen_core/looks.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(Looks, NamesParseBackAndCycleThroughAllThree) {
  EXPECT_EQ(compat::defaultLook, compat::Look::sharp);
  const compat::Look looks[] = {compat::Look::integer, compat::Look::sharp, compat::Look::crt};
  const char* names[] = {"integer", "sharp", "crt"};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(names[i]);
    EXPECT_EQ(compat::lookName(looks[i]), names[i]);
    EXPECT_EQ(compat::parseLook(names[i]), looks[i]);
    EXPECT_EQ(compat::nextLook(looks[i]), looks[(i + 1) % 3]);
  }
  for (const char* other : {"", "Sharp", "crt ", "integers", "sharp\n", "nearest"})
    EXPECT_EQ(compat::parseLook(other), std::nullopt) << "'" << other << "'";
}

struct RectCase {
  int pictureWidth, pictureHeight, drawableWidth, drawableHeight;
  compat::ScreenRect integer;
  compat::ScreenRect aspect;  // sharp and crt
};

TEST(Looks, RectanglesForEachLook) {
  const RectCase cases[] = {
      // 320 x 240: whole factors 4, 4, 3, 2; the 4:3 area 1280, 1440, 1024, 800 wide.
      {320, 240, 1280, 960, {0, 0, 1280, 960}, {0, 0, 1280, 960}},
      {320, 240, 1920, 1080, {320, 60, 1280, 960}, {240, 0, 1440, 1080}},
      {320, 240, 1366, 768, {203, 24, 960, 720}, {171, 0, 1024, 768}},
      {320, 240, 800, 600, {80, 60, 640, 480}, {0, 0, 800, 600}},
      {320, 240, 2560, 1440, {320, 0, 1920, 1440}, {320, 0, 1920, 1440}},
      // Smaller than the picture: scaled down, its shape kept, never cropped.
      {320, 240, 300, 200, {17, 0, 266, 200}, {17, 0, 266, 200}},
      {320, 240, 200, 300, {0, 75, 200, 150}, {0, 75, 200, 150}},
      {320, 240, 319, 239, {0, 0, 318, 239}, {0, 0, 318, 239}},
      // Odd remainders: the spare pixel to the right and below.
      {320, 240, 641, 481, {0, 0, 640, 480}, {0, 0, 641, 480}},
      {320, 240, 1001, 701, {180, 110, 640, 480}, {33, 0, 934, 701}},
      {320, 240, 960, 719, {160, 119, 640, 480}, {1, 0, 958, 719}},
      // 640 x 480, and a picture of no usual shape.
      {640, 480, 1920, 1080, {320, 60, 1280, 960}, {240, 0, 1440, 1080}},
      {640, 480, 1920, 1200, {320, 120, 1280, 960}, {160, 0, 1600, 1200}},
      {333, 201, 1000, 700, {0, 48, 999, 603}, {0, 48, 1000, 603}},
  };
  for (const RectCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.pictureWidth << "x" << c.pictureHeight << " on "
                                    << c.drawableWidth << "x" << c.drawableHeight);
    const auto expectRect = [](compat::ScreenRect got, compat::ScreenRect want) {
      EXPECT_EQ(got.x, want.x);
      EXPECT_EQ(got.y, want.y);
      EXPECT_EQ(got.width, want.width);
      EXPECT_EQ(got.height, want.height);
    };
    const auto rect = [&](compat::Look look) {
      return compat::lookRectangle(look, c.pictureWidth, c.pictureHeight, c.drawableWidth,
                                   c.drawableHeight);
    };
    expectRect(rect(compat::Look::integer), c.integer);
    expectRect(rect(compat::Look::sharp), c.aspect);
    expectRect(rect(compat::Look::crt), c.aspect);
  }
}

TEST(Looks, AspectRectangleIsTheLargestOfThePictureShapeThatFits) {
  // Against the definition, over a sweep: inside the drawable, touching two opposite edges,
  // centred, and one more pixel the other way would not keep the shape.
  for (int height = 50; height < 2200; height += 37)
    for (int width = 50; width < 4000; width += 53) {
      SCOPED_TRACE(testing::Message() << width << "x" << height);
      const compat::ScreenRect r = compat::aspectRectangle(320, 240, width, height);
      ASSERT_GE(r.x, 0);
      ASSERT_GE(r.y, 0);
      ASSERT_LE(r.x + r.width, width);
      ASSERT_LE(r.y + r.height, height);
      ASSERT_TRUE(r.width == width || r.height == height);
      ASSERT_EQ(r.x, (width - r.width) / 2);
      ASSERT_EQ(r.y, (height - r.height) / 2);
      // The shape within a pixel: width / height as near 4:3 as whole pixels allow.
      if (r.height == height)
        ASSERT_EQ(r.width, height * 4 / 3);
      else
        ASSERT_EQ(r.height, width * 3 / 4);
    }
}

TEST(Looks, NoRectangleForSizesThatAreNotPositiveAndNoOverflowForHugeOnes) {
  for (const compat::Look look : {compat::Look::integer, compat::Look::sharp, compat::Look::crt}) {
    SCOPED_TRACE(compat::lookName(look));
    for (const auto& [pw, ph, dw, dh] :
         {std::tuple{0, 240, 640, 480}, std::tuple{320, -1, 640, 480}, std::tuple{320, 240, 0, 480},
          std::tuple{320, 240, 640, INT_MIN}}) {
      const compat::ScreenRect r = compat::lookRectangle(look, pw, ph, dw, dh);
      EXPECT_EQ(r.width, 0);
      EXPECT_EQ(r.height, 0);
    }
    const compat::ScreenRect huge = compat::lookRectangle(look, 320, 240, INT_MAX, INT_MAX);
    EXPECT_GT(huge.width, 0);
    EXPECT_GT(huge.height, 0);
    EXPECT_LE(static_cast<long long>(huge.x) + huge.width, INT_MAX);
    EXPECT_LE(static_cast<long long>(huge.y) + huge.height, INT_MAX);
  }
}

}  // namespace

TEST(Looks, APointerLandsOnThePicturePixelUnderIt) {
  // 320 x 240 shown at 1920 x 1080 in sharp: the rectangle (240, 0, 1440, 1080), 4.5 screen
  // pixels to a picture pixel; a window of half as many points (a high-density screen).
  const compat::ScreenRect sharp = compat::lookRectangle(compat::Look::sharp, 320, 240, 1920, 1080);
  const struct {
    int x, y;                  // in the window's points
    int windowW, windowH;      // points
    int drawableW, drawableH;  // pixels
    compat::ScreenRect rect;
    int expectedX, expectedY;
  } cases[] = {
      {240, 0, 1920, 1080, 1920, 1080, sharp, 0, 0},          // the picture's first pixel
      {243, 3, 1920, 1080, 1920, 1080, sharp, 0, 0},          // still inside it (4.5 wide)
      {245, 5, 1920, 1080, 1920, 1080, sharp, 1, 1},          // the next one
      {1679, 1079, 1920, 1080, 1920, 1080, sharp, 319, 239},  // the last
      {10, 500, 1920, 1080, 1920, 1080, sharp, 0, 111},       // in the left bar: its edge
      {1900, 500, 1920, 1080, 1920, 1080, sharp, 319, 111},   // in the right bar
      {121, 1, 960, 540, 1920, 1080, sharp, 0, 0},            // points twice the pixels' size
      {123, 3, 960, 540, 1920, 1080, sharp, 1, 1},
      {5, 5, 0, 540, 1920, 1080, sharp, 0, 0},  // no window: nothing to map
      // A point whose area straddles two picture pixels lands on the one under its centre:
      // point 122 covers screen pixels 244 and 245, centre 245, (245 - 240) / 4.5 = 1.1; its
      // edge would be 0.9. Likewise on a 1400 x 1000 screen, the picture 1333 x 1000 at x 33:
      // screen pixel 37's centre is picture pixel 1.08, its edge 0.96.
      {122, 2, 960, 540, 1920, 1080, sharp, 1, 1},
      {37, 4, 1400, 1000, 1400, 1000, {33, 0, 1333, 1000}, 1, 1},
      {36, 3, 1400, 1000, 1400, 1000, {33, 0, 1333, 1000}, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "point " << c.x << ", " << c.y << " of a " << c.windowW
                                    << " x " << c.windowH << " window");
    const compat::PicturePoint point = compat::pointOnPicture(
        c.x, c.y, c.windowW, c.windowH, c.drawableW, c.drawableH, c.rect, 320, 240);
    EXPECT_EQ(point.x, c.expectedX);
    EXPECT_EQ(point.y, c.expectedY);
  }
}
