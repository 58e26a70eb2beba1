// The engine's fills, outlines and copies, and clipping against clipRect.
#include "platform/headless/headless_screen.h"
#include "tests/support/engine_setup_fixture.h"
#include "tests/support/surface_access.h"

using support::Picture;
using support::readSurface;
using support::writeSurface;

class EngineBlitsTest : public EngineSetupTest {
 protected:
  void SetUp() override {
    EngineSetupTest::SetUp();
    setUpFullScreen();
  }
};

TEST_F(EngineBlitsTest, ClipToRectMovesAndShrinksTheRectangle) {
  struct Case {
    const char* name;
    int32_t x, y, srcX, srcY, w, h;
    bool nothingLeft;
    int32_t outX, outY, outSrcX, outSrcY, outW, outH;
  };
  const Case cases[] = {
      {"inside", 10, 20, 1, 2, 30, 40, false, 10, 20, 1, 2, 30, 40},
      {"past the left", -10, 0, 5, 0, 30, 10, false, 0, 0, 15, 0, 20, 10},
      {"wholly left", -10, 0, 0, 0, 10, 10, true, 0, 0, 10, 0, 0, 10},
      {"past the top", 0, -4, 0, 7, 10, 10, false, 0, 0, 0, 11, 10, 6},
      {"wholly above", 0, -20, 0, 0, 10, 10, true, 0, 0, 0, 20, 10, -10},
      {"at the right edge", 320, 0, 0, 0, 10, 10, true, 320, 0, 0, 0, 10, 10},
      {"at the bottom edge", 0, 240, 0, 0, 10, 10, true, 0, 240, 0, 0, 10, 10},
      {"past the right", 300, 0, 0, 0, 50, 10, false, 300, 0, 0, 0, 20, 10},
      {"past the bottom", 0, 230, 0, 0, 10, 16, false, 0, 230, 0, 0, 10, 10},
      {"all four sides", -5, -6, 0, 0, 400, 300, false, 0, 0, 5, 6, 320, 240},
      {"far outside", INT32_MIN, INT32_MIN, 0, 0, INT32_MAX, INT32_MAX, true, 0, INT32_MIN,
       INT32_MIN, 0, -1, INT32_MAX},
      {"huge size", 1, 1, 0, 0, INT32_MAX, INT32_MAX, false, 1, 1, 0, 0, 319, 239},
      // The left and top steps come before any look at the size; only what they leave below
      // 1 counts as nothing left.
      {"no width, past the left", -10, 0, 5, 0, 0, 10, true, 0, 0, 15, 0, -10, 10},
      {"negative width, past the left", -10, 0, 5, 0, -3, 10, true, 0, 0, 15, 0, -13, 10},
      {"no height, above", 0, -4, 0, 7, 10, 0, true, 0, 0, 0, 11, 10, -4},
      {"no height, past the left", -10, 0, 5, 0, 30, 0, false, 0, 0, 15, 0, 20, 0},
      {"no width, inside", 10, 20, 1, 2, 0, 5, false, 10, 20, 1, 2, 0, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int32_t x = c.x, y = c.y, srcX = c.srcX, srcY = c.srcY, w = c.w, h = c.h;
    EXPECT_EQ(displayEngine.clipToRect(x, y, srcX, srcY, w, h), c.nothingLeft);
    EXPECT_EQ(x, c.outX);
    EXPECT_EQ(y, c.outY);
    EXPECT_EQ(srcX, c.outSrcX);
    EXPECT_EQ(srcY, c.outSrcY);
    EXPECT_EQ(w, c.outW);
    EXPECT_EQ(h, c.outH);
  }
}

TEST_F(EngineBlitsTest, OutlineFillsExactlyTheBorderPixels) {
  struct Case {
    const char* name;
    RECT clip;
    int32_t x, y, w, h;
    RECT drawn;  // the outline's rectangle after clipping
  };
  const Case cases[] = {
      {"5 x 4 at (10, 10)", {0, 0, 320, 240}, 10, 10, 5, 4, {10, 10, 15, 14}},
      {"past the right clip edge", {0, 0, 100, 240}, 90, 20, 30, 5, {90, 20, 100, 25}},
      {"past the top-left", {20, 30, 320, 240}, 10, 25, 20, 12, {20, 30, 30, 37}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    displayEngine.clearSurface(2);
    displayEngine.setClipRect(c.clip.left, c.clip.top, c.clip.right, c.clip.bottom);
    EXPECT_EQ(displayEngine.drawRectOutline(2, c.x, c.y, c.w, c.h, 0x1207), DD_OK);
    const Picture picture = readSurface(surfaces[2]);
    for (int y = 0; y < 240; ++y)
      for (int x = 0; x < 320; ++x) {
        const bool inside =
            x >= c.drawn.left && x < c.drawn.right && y >= c.drawn.top && y < c.drawn.bottom;
        const bool border = inside && (x == c.drawn.left || x == c.drawn.right - 1 ||
                                       y == c.drawn.top || y == c.drawn.bottom - 1);
        ASSERT_EQ(picture.at(x, y), border ? 0x07 : 0) << x << "," << y;
      }
  }
  displayEngine.setClipRect(0, 0, 320, 240);
  EXPECT_EQ(displayEngine.drawRectOutline(2, 400, 10, 5, 5, 1), 1);
}

TEST_F(EngineBlitsTest, FillsTakeTheColourAsGivenOrItsLowByte) {
  EXPECT_EQ(displayEngine.fillRect8(2, 1, 1, 4, 4, 0x1234), DD_OK);
  EXPECT_EQ(displayEngine.fillFx.dwFillColor, 0x34u);
  EXPECT_EQ(displayEngine.fillRect(2, 10, 1, 4, 4, 0x1256), DD_OK);
  EXPECT_EQ(displayEngine.fillFx.dwFillColor, 0x1256u);  // unchanged; the surface takes 0x56
  EXPECT_EQ(displayEngine.clearRect(2, 2, 2, 1, 1), DD_OK);
  const Picture picture = readSurface(surfaces[2]);
  EXPECT_EQ(picture.at(1, 1), 0x34);
  EXPECT_EQ(picture.at(2, 2), 0);
  EXPECT_EQ(picture.at(4, 4), 0x34);
  EXPECT_EQ(picture.at(5, 5), 0);
  EXPECT_EQ(picture.at(13, 4), 0x56);
  EXPECT_EQ(displayEngine.fillSurface(3, 0x9A), DD_OK);
  const Picture whole = readSurface(surfaces[3]);
  EXPECT_EQ(std::count(whole.pixels.begin(), whole.pixels.end(), 0x9A), 320 * 240);
  // A rectangle off the surface is refused and draws nothing.
  EXPECT_EQ(displayEngine.fillRect(2, 318, 0, 5, 5, 1), DDERR_INVALIDRECT);
  EXPECT_EQ(displayEngine.fillRect(2, INT32_MAX, INT32_MAX, INT32_MAX, 5, 1), DDERR_INVALIDRECT);
  EXPECT_EQ(readSurface(surfaces[2]), picture);
}

TEST_F(EngineBlitsTest, CopiesAndClippedCopies) {
  writeSurface(surfaces[3], [](int x, int y) { return support::patternAt(x, y); });
  const Picture source = readSurface(surfaces[3]);
  EXPECT_EQ(displayEngine.blitRect(5, 6, 2, 3, 4, 4, 2, 3, DDBLTFAST_WAIT), DD_OK);
  Picture picture = readSurface(surfaces[2]);
  EXPECT_EQ(picture.at(5, 6), source.at(2, 3));
  EXPECT_EQ(picture.at(8, 9), source.at(5, 6));
  EXPECT_EQ(picture.at(9, 9), 0);
  RECT whole{0, 0, 320, 240};
  EXPECT_EQ(displayEngine.blitFast(0, 0, &whole, 4, 3, DDBLTFAST_WAIT), DD_OK);
  EXPECT_EQ(readSurface(surfaces[4]), source);
  EXPECT_EQ(displayEngine.blitFast(0, 0, nullptr, 5, 3, DDBLTFAST_WAIT), DD_OK);
  EXPECT_EQ(readSurface(surfaces[5]), source);

  // Unclipped, a copy that reaches past the surface is refused.
  EXPECT_EQ(displayEngine.blitRect(-3, 0, 0, 0, 10, 10, 2, 3, 0), DDERR_INVALIDRECT);
  // Clipped, it is trimmed, and the source moves with it.
  displayEngine.clearSurface(2);
  EXPECT_EQ(displayEngine.blitClipped(-3, 235, 0, 0, 10, 10, 2, 3, 0), DD_OK);
  picture = readSurface(surfaces[2]);
  EXPECT_EQ(picture.at(0, 235), source.at(3, 0));
  EXPECT_EQ(picture.at(6, 239), source.at(9, 4));
  EXPECT_EQ(picture.at(7, 235), 0);
  // Wholly outside: 1, and nothing drawn.
  const Picture before = readSurface(surfaces[2]);
  EXPECT_EQ(displayEngine.blitClipped(320, 0, 0, 0, 10, 10, 2, 3, 0), 1);
  EXPECT_EQ(displayEngine.blitClipped(-10, 0, 0, 0, 10, 10, 2, 3, 0), 1);
  EXPECT_EQ(readSurface(surfaces[2]), before);
}

TEST_F(EngineBlitsTest, ClippedOperationsDrawNothingForAnEmptyRectangle) {
  writeSurface(surfaces[3], [](int x, int y) { return support::patternAt(x, y); });
  displayEngine.fillSurface(2, 0x21);
  const Picture before = readSurface(surfaces[2]);
  // Inside clipRect, so clipping leaves the size as it came; and past the left, where the
  // clipping makes the width 20 but the height stays 0.
  const struct {
    int32_t x, y, w, h;
  } sizes[] = {{10, 10, 0, 5}, {10, 10, 5, 0}, {10, 10, -3, 5}, {10, 10, 5, -3}, {-10, 10, 30, 0}};
  for (const auto& s : sizes) {
    SCOPED_TRACE(testing::Message() << s.x << "," << s.y << " " << s.w << " x " << s.h);
    EXPECT_EQ(displayEngine.blitClipped(s.x, s.y, 0, 0, s.w, s.h, 2, 3, 0), 1);
    EXPECT_EQ(displayEngine.drawRectOutline(2, s.x, s.y, s.w, s.h, 0x07), 1);
    EXPECT_EQ(readSurface(surfaces[2]), before);
  }
}
