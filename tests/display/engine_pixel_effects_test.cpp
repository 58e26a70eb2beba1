// The pixel effects: mosaic, dissolve, turned sprite, sine strips and bitmap-font text, and
// their keeping to the surfaces whatever the areas.
#include <cstring>

#include "display/effect_tables.h"
#include "tests/support/engine_slots_fixture.h"

using support::patternAt;
using support::Picture;
using support::readSurface;
using support::writeSurface;

namespace {

constexpr uint8_t untouched = 0xEE;  // what the destination holds before an effect draws

// A source picture with no index 0 in it, so every copied pixel shows.
uint8_t nonZeroPattern(int x, int y) {
  const uint8_t value = patternAt(x, y, 3);
  return value == 0 ? 1 : value;
}

}  // namespace

class PixelEffectsTest : public EngineSlotsTest {
 protected:
  void SetUp() override {
    EngineSlotsTest::SetUp();
    writeSurface(surfaces[2], [](int, int) { return untouched; });
    writeSurface(surfaces[3], nonZeroPattern);
  }

  // Every pixel of slot 2 holds `expected(x, y)`.
  void expectDestination(const std::function<uint8_t(int, int)>& expected) {
    const Picture picture = readSurface(surfaces[2]);
    for (int y = 0; y < picture.height; ++y)
      for (int x = 0; x < picture.width; ++x)
        ASSERT_EQ(picture.at(x, y), expected(x, y)) << "at " << x << ", " << y;
  }
};

TEST_F(PixelEffectsTest, MosaicBlocksTakeTheColourOfTheirTopLeftSourcePixel) {
  struct Case {
    const char* name;
    int32_t blockSize;
    int (*sourceColumn)(int);  // source offset each destination offset of the area shows
  };
  const Case cases[] = {
      {"block size 1 is a plain copy", 1, [](int j) { return j; }},
      {"block size 4: blocks of 4, the cut-off ones too", 4, [](int j) { return j / 4 * 4; }},
      {"block size 0 fills with the corner", 0, [](int) { return 0; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeSurface(surfaces[2], [](int, int) { return untouched; });
    writeSurface(surfaces[3], [](int x, int y) { return patternAt(x, y); });  // 0 included
    displayEngine.mosaicCopy(100, 50, 7, 9, 10, 6, 2, 3, c.blockSize);
    expectDestination([&](int x, int y) {
      const int j = x - 100, i = y - 50;
      if (j < 0 || j >= 10 || i < 0 || i >= 6) return untouched;
      return patternAt(7 + c.sourceColumn(j), 9 + c.sourceColumn(i));
    });
  }
}

TEST_F(PixelEffectsTest, DissolveStepCopiesOnePositionOfEachCell) {
  struct Case {
    const char* name;
    int32_t width, height;
    int8_t step;
    std::vector<std::pair<int, int>> copied;  // (column, row) within the area
  };
  const Case cases[] = {
      {"step 0 on 8 x 8", 8, 8, 0, {{0, 0}, {4, 0}, {0, 4}, {4, 4}}},
      {"step 1 on 8 x 8", 8, 8, 1, {{2, 2}, {6, 2}, {2, 6}, {6, 6}}},
      {"step 5 on 3 x 3 starts past the area", 3, 3, 5, {}},
      {"step 16 is no step", 8, 8, 16, {}},
      {"a negative step draws nothing", 8, 8, -1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeSurface(surfaces[2], [](int, int) { return untouched; });
    displayEngine.dissolveCopy(20, 30, 5, 6, c.width, c.height, 2, 3, c.step, 16);
    expectDestination([&](int x, int y) {
      for (auto [column, row] : c.copied)
        if (x == 20 + column && y == 30 + row) return nonZeroPattern(5 + column, 6 + row);
      return untouched;
    });
  }
}

TEST_F(PixelEffectsTest, SixteenDissolveStepsMakeACopy) {
  for (int8_t step = 0; step < 16; ++step)
    displayEngine.dissolveCopy(3, 4, 10, 11, 37, 22, 2, 3, step, 0);
  expectDestination([](int x, int y) {
    const bool inArea = x >= 3 && x < 40 && y >= 4 && y < 26;
    return inArea ? nonZeroPattern(x + 7, y + 7) : untouched;
  });
}

TEST_F(PixelEffectsTest, OnlyKeyedCopyFlagsLeaveColourZeroOut) {
  writeSurface(surfaces[3], [](int x, int) { return static_cast<uint8_t>(x % 2 == 0 ? 0 : 9); });
  struct Case {
    int32_t flags;
    bool zeroCopied;
  };
  for (const Case c : {Case{17, false}, Case{16, true}, Case{1, true}}) {
    SCOPED_TRACE(c.flags);
    writeSurface(surfaces[2], [](int, int) { return untouched; });
    for (int8_t step = 0; step < 16; ++step)
      displayEngine.dissolveCopy(0, 0, 0, 0, 8, 8, 2, 3, step, c.flags);
    expectDestination([&](int x, int y) -> uint8_t {
      if (x >= 8 || y >= 8) return untouched;
      if (x % 2 != 0) return 9;
      return c.zeroCopied ? 0 : untouched;
    });
  }
}

TEST_F(PixelEffectsTest, DissolveStepSixteenLocksNothing) {
  // A lock failure waiting for the next Lock is still waiting afterwards.
  compat::testing::failCall(compat::testing::DirectDrawCall::Lock, DDERR_SURFACEBUSY);
  displayEngine.dissolveCopy(0, 0, 0, 0, 8, 8, 2, 3, 16, 0);
  displayEngine.lockSurface(2);
  EXPECT_EQ(surfaceBits[2], nullptr);
}

TEST_F(PixelEffectsTest, AFailedLockDrawsNothing) {
  using compat::testing::DirectDrawCall;
  const std::function<void()> effects[] = {
      [] { displayEngine.mosaicCopy(0, 0, 0, 0, 50, 50, 2, 3, 2); },
      [] { displayEngine.dissolveCopy(0, 0, 0, 0, 50, 50, 2, 3, 0, 0); },
      [] { displayEngine.drawRotatedSprite(0, 0, 0, 0, 50, 50, 30, 2, 3); },
  };
  for (int failing : {0, 1})  // the destination's lock, then the source's
    for (const auto& effect : effects) {
      compat::testing::failCall(DirectDrawCall::Lock, DDERR_SURFACEBUSY, failing);
      effect();
      compat::testing::clearFailures();
      expectDestination([](int, int) { return untouched; });
      // Nothing is left locked.
      EXPECT_EQ(displayEngine.unlockSurface(2), DDERR_NOTLOCKED);
      EXPECT_EQ(displayEngine.unlockSurface(3), DDERR_NOTLOCKED);
    }
}

TEST_F(PixelEffectsTest, OneSlotAsBothDestinationAndSource) {
  writeSurface(surfaces[2], nonZeroPattern);
  displayEngine.mosaicCopy(200, 100, 0, 0, 8, 8, 2, 2, 1);
  for (int8_t step = 0; step < 16; ++step)
    displayEngine.dissolveCopy(200, 150, 0, 0, 8, 8, 2, 2, step, 0);
  expectDestination([](int x, int y) {
    if (x >= 200 && x < 208 && y >= 100 && y < 108) return nonZeroPattern(x - 200, y - 100);
    if (x >= 200 && x < 208 && y >= 150 && y < 158) return nonZeroPattern(x - 200, y - 150);
    return nonZeroPattern(x, y);
  });
  EXPECT_EQ(displayEngine.unlockSurface(2), DDERR_NOTLOCKED);
}

// Areas reaching off either surface: only pixels whose destination and source both lie on
// their surfaces are drawn, each as it would be unbounded. Rows wrap in memory, so a write past
// the right edge would show at the start of the next row; past the end, the sanitizer sees it.
TEST_F(PixelEffectsTest, CopiesKeepToBothSurfaces) {
  struct Case {
    const char* name;
    int32_t destX, destY, srcX, srcY, width, height;
  };
  const Case cases[] = {
      {"past the destination's right and bottom", 300, 230, 0, 0, 40, 30},
      {"before the destination's left and top", -5, -7, 20, 20, 30, 30},
      {"past the source's right and bottom", 0, 0, 310, 235, 40, 30},
      {"before the source's left and top", 10, 10, -6, -3, 20, 20},
      {"far off everything", INT32_MIN, INT32_MAX - 2, INT32_MAX, INT32_MIN, INT32_MAX, INT32_MAX},
      {"larger than both", -1, -1, -1, -1, INT32_MAX, INT32_MAX},
  };
  const auto onSurface = [](int64_t x, int64_t y) {
    return x >= 0 && x < 320 && y >= 0 && y < 240;
  };
  for (const Case& c : cases) {
    for (int32_t blockSize : {0, 1, 3}) {
      SCOPED_TRACE(std::string(c.name) + ", mosaic block " + std::to_string(blockSize));
      writeSurface(surfaces[2], [](int, int) { return untouched; });
      displayEngine.mosaicCopy(c.destX, c.destY, c.srcX, c.srcY, c.width, c.height, 2, 3,
                               blockSize);
      expectDestination([&](int x, int y) {
        const int64_t j = int64_t{x} - c.destX, i = int64_t{y} - c.destY;
        if (j < 0 || j >= c.width || i < 0 || i >= c.height) return untouched;
        const int64_t sourceX = c.srcX + (blockSize == 0 ? 0 : j / blockSize * blockSize);
        const int64_t sourceY = c.srcY + (blockSize == 0 ? 0 : i / blockSize * blockSize);
        if (!onSurface(sourceX, sourceY)) return untouched;
        return nonZeroPattern(static_cast<int>(sourceX), static_cast<int>(sourceY));
      });
    }
    SCOPED_TRACE(std::string(c.name) + ", dissolve");
    writeSurface(surfaces[2], [](int, int) { return untouched; });
    for (int8_t step = 0; step < 16; ++step)
      displayEngine.dissolveCopy(c.destX, c.destY, c.srcX, c.srcY, c.width, c.height, 2, 3, step,
                                 0);
    expectDestination([&](int x, int y) {
      const int64_t j = int64_t{x} - c.destX, i = int64_t{y} - c.destY;
      if (j < 0 || j >= c.width || i < 0 || i >= c.height) return untouched;
      if (!onSurface(c.srcX + j, c.srcY + i)) return untouched;
      return nonZeroPattern(static_cast<int>(c.srcX + j), static_cast<int>(c.srcY + i));
    });
  }
}

TEST_F(PixelEffectsTest, MosaicWithANegativeBlockSizeDrawsNothing) {
  displayEngine.mosaicCopy(0, 0, 0, 0, 100, 100, 2, 3, -4);
  expectDestination([](int, int) { return untouched; });
}

// The sprite tests use a 640 x 480 destination, the size its window is made for.
class RotatedSpriteTest : public PixelEffectsTest {
 protected:
  void SetUp() override {
    PixelEffectsTest::SetUp();
    putSurface(2, 640, 480);
    writeSurface(surfaces[2], [](int, int) { return untouched; });
  }

  // Where the one non-zero pixel of a 16 x 16 block at (column, row) lands at angle 0.
  std::vector<std::pair<int, int>> landingOf(int column, int row) {
    writeSurface(surfaces[3], [&](int x, int y) {
      return static_cast<uint8_t>(x == column && y == row ? 77 : 0);
    });
    writeSurface(surfaces[2], [](int, int) { return untouched; });
    displayEngine.drawRotatedSprite(100, 200, 0, 0, 16, 16, 0, 2, 3);
    std::vector<std::pair<int, int>> written;
    const Picture picture = readSurface(surfaces[2]);
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x)
        if (picture.at(x, y) != untouched) written.emplace_back(x, y);
    return written;
  }
};

TEST_F(RotatedSpriteTest, AtAngleZeroPositionsFollowTheTruncatedTurn) {
  using Landing = std::vector<std::pair<int, int>>;
  EXPECT_EQ(landingOf(15, 8), (Landing{{115, 208}}));  // where a plain copy puts it
  EXPECT_EQ(landingOf(0, 1), (Landing{{100, 200}}));   // one row higher than a plain copy
  EXPECT_EQ(landingOf(8, 8), (Landing{{108, 208}}));   // the centre
}

TEST_F(RotatedSpriteTest, QuarterTurnsMoveTheCornersCounterClockwise) {
  // A 17 x 17 block has a true centre pixel (8, 8); its top-right corner pixel turns to the
  // top-left by a quarter turn, give or take the truncation.
  writeSurface(surfaces[3], [](int x, int y) { return static_cast<uint8_t>(x == 16 && y == 0); });
  displayEngine.drawRotatedSprite(100, 200, 0, 0, 17, 17, 90, 2, 3);
  const Picture picture = readSurface(surfaces[2]);
  int found = 0;
  for (int y = 195; y < 225; ++y)
    for (int x = 95; x < 125; ++x)
      if (picture.at(x, y) == 1) {
        ++found;
        EXPECT_LE(std::abs(x - 100), 1) << x;
        EXPECT_LE(std::abs(y - 200), 1) << y;
      }
  EXPECT_EQ(found, 1);
}

TEST_F(RotatedSpriteTest, NeverWritesIndexZeroNorTheLastColumnOrRow) {
  // Half the block is 0; the block covers the bottom-right corner at every angle.
  writeSurface(surfaces[3], [](int x, int y) { return static_cast<uint8_t>((x + y) % 2 * 40); });
  for (int32_t angle : {0, 17, 45, 90, 135, 200, 315, -30, 720 + 10}) {
    SCOPED_TRACE(angle);
    writeSurface(surfaces[2], [](int, int) { return untouched; });
    displayEngine.drawRotatedSprite(600, 440, 0, 0, 64, 64, angle, 2, 3);
    const Picture picture = readSurface(surfaces[2]);
    bool reachedWindowEdge = false;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) {
        const uint8_t pixel = picture.at(x, y);
        ASSERT_NE(pixel, 0) << x << ", " << y;
        if (x == 639 || y == 479) {
          ASSERT_EQ(pixel, untouched) << x << ", " << y;
        }
        if ((x == 638 || y == 478) && pixel == 40) reachedWindowEdge = true;
      }
    EXPECT_TRUE(reachedWindowEdge);
  }
}

TEST_F(RotatedSpriteTest, KeepsToASmallerDestinationAndSource) {
  // 100 x 80 destination; the block hangs off the source's corner too.
  putSurface(2, 100, 80);
  writeSurface(surfaces[2], [](int, int) { return untouched; });
  for (int32_t angle : {0, 30, 90, 180, 250}) {
    displayEngine.drawRotatedSprite(60, 50, 280, 200, 80, 80, angle, 2, 3);
    displayEngine.drawRotatedSprite(-20, -20, -10, -10, 60, 60, angle, 2, 3);
  }
  displayEngine.drawRotatedSprite(INT32_MAX, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MAX,
                                  INT32_MIN, 2, 3);
  // Pixels were drawn, on the surface only: a write past a row's end would wrap into column 0
  // of the next row, which nothing else reaches here with a non-untouched value.
  const Picture picture = readSurface(surfaces[2]);
  int drawn = 0;
  for (uint8_t pixel : picture.pixels) drawn += pixel != untouched;
  EXPECT_GT(drawn, 100);
}

class SineStripsTest : public PixelEffectsTest {
 protected:
  void SetUp() override {
    PixelEffectsTest::SetUp();
    displayEngine.setClipRect(0, 0, 320, 240);
  }

  // Which of the source rows 50..59 (as 0..9) each destination row shows in column 10; -1
  // where the destination keeps its contents.
  std::vector<int> rowsShown(int fromY, int toY) {
    const Picture picture = readSurface(surfaces[2]);
    std::vector<int> shown;
    for (int y = fromY; y < toY; ++y) {
      const uint8_t pixel = picture.at(10, y);
      int sourceRow = -1;
      for (int row = 50; row < 60; ++row)
        if (pixel == nonZeroPattern(40, row)) sourceRow = row - 50;
      shown.push_back(sourceRow);
    }
    return shown;
  }
};

TEST_F(SineStripsTest, RowsFollowTheWaveSkippingSqueezedOnes) {
  struct Case {
    const char* name;
    int32_t rowCount;
    float phase, frequency, amplitude;
    std::vector<int> shown;  // destination rows 9..15
  };
  const Case cases[] = {
      {"amplitude 0 copies the block", 5, 0, 30, 0, {-1, 0, 1, 2, 3, 4, -1}},
      // Row 1 lands on row 0's place and is skipped; row 3 jumps a row, leaving a gap.
      {"squeezed and stretched", 5, 0, 90, -1, {-1, 0, 2, -1, 3, 4, -1}},
      {"a single row is always drawn", 1, 90, 0, -1, {0, -1, -1, -1, -1, -1, -1}},
      {"no rows for a count of 0", 0, 0, 0, 0, {-1, -1, -1, -1, -1, -1, -1}},
      {"no rows for a negative count", -3, 0, 0, 0, {-1, -1, -1, -1, -1, -1, -1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeSurface(surfaces[2], [](int, int) { return untouched; });
    displayEngine.drawSineStrips(5, 10, 35, 50, 20, c.rowCount, 2, 3, 0, c.phase, c.frequency,
                                 c.amplitude);
    EXPECT_EQ(rowsShown(9, 16), c.shown);
  }
}

TEST_F(SineStripsTest, RowsAreTrimmedToTheClipRectangle) {
  displayEngine.setClipRect(0, 12, 15, 14);
  displayEngine.drawSineStrips(5, 10, 35, 50, 20, 5, 2, 3, 0, 0, 30, 0);
  expectDestination([](int x, int y) {
    const bool inClip = x >= 5 && x < 15 && y >= 12 && y < 14;
    return inClip ? nonZeroPattern(x + 30, y + 40) : untouched;
  });
}

TEST_F(SineStripsTest, ExtremeArgumentsDrawOnlyOnTheSurface) {
  const float huge = 3e38f, infinite = std::numeric_limits<float>::infinity();
  displayEngine.drawSineStrips(INT32_MAX, INT32_MIN, -5, -100, INT32_MAX, INT32_MAX, 2, 3, 0, huge,
                               huge, huge);
  displayEngine.drawSineStrips(0, 0, 0, 0, 320, INT32_MAX, 2, 3, 0, infinite, 1, infinite);
  displayEngine.drawSineStrips(0, 0, 0, INT32_MAX, 320, INT32_MAX, 2, 3, 0, 0, 0, 0);
  expectDestination([](int, int) { return untouched; });
  // A huge count costs only the source's rows: each lands once.
  displayEngine.drawSineStrips(0, 0, 0, 0, 320, INT32_MAX, 2, 3, 0, 0, 0, 0);
  expectDestination(nonZeroPattern);
}

class BitmapFontTest : public PixelEffectsTest {
 protected:
  void SetUp() override {
    PixelEffectsTest::SetUp();
    // The glyph sheet: glyph g's pixels all hold g + 1.
    putSurface(2, 640, 480);
    writeSurface(surfaces[2], [](int x, int y) {
      return static_cast<uint8_t>(y >= glyphSheetTop && x < 16 * glyphCount ? x / 16 + 1 : 0);
    });
    putSurface(3, 640, 480);
    writeSurface(surfaces[3], [](int, int) { return untouched; });
  }

  // The glyph drawn in each 16-pixel cell of row y of slot 3 from column x on; -1 for a gap.
  std::vector<int> glyphsAt(int x, int y, int cells) {
    const Picture picture = readSurface(surfaces[3]);
    std::vector<int> glyphs;
    for (int cell = 0; cell < cells; ++cell) {
      const int left = x + 16 * cell;
      const uint8_t pixel = picture.at(left, y);
      for (int dy = 0; dy < 16; ++dy)
        for (int dx = 0; dx < 16; ++dx) EXPECT_EQ(picture.at(left + dx, y + dy), pixel);
      glyphs.push_back(pixel == untouched ? -1 : pixel - 1);
    }
    return glyphs;
  }
};

TEST_F(BitmapFontTest, CharactersMapToTheirGlyphs) {
  struct Case {
    const char* name;
    const char* text;
    int32_t x;
    int drawnAt;
    std::vector<int> glyphs;
  };
  const Case cases[] = {
      {"x = -1 centres on column 320", "AB", -1, 304, {10, 11}},
      {"any other x is used as it is", "AB", 30, 30, {10, 11}},
      {"digits, small letters as capitals, the full stop", "09az.Z", 8, 8, {0, 9, 10, 35, 36, 35}},
      {"a space and others leave a gap",
       "A B-\x80"
       "C",
       0,
       0,
       {10, -1, 11, -1, -1, 12}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeSurface(surfaces[3], [](int, int) { return untouched; });
    displayEngine.drawBitmapFontText(3, c.x, 100, c.text, 0);
    EXPECT_EQ(glyphsAt(c.drawnAt, 100, static_cast<int>(c.glyphs.size())), c.glyphs);
  }
}

TEST_F(BitmapFontTest, MinusTwoIsNotCentred) {
  displayEngine.drawBitmapFontText(3, -2, 100, "AB", 0);
  // The first glyph hangs off the left edge and is refused; the second is at 14.
  EXPECT_EQ(glyphsAt(14, 100, 1), (std::vector<int>{11}));
  EXPECT_EQ(readSurface(surfaces[3]).at(13, 100), untouched);
}

TEST_F(BitmapFontTest, KeyedFlagsLeaveColourZeroOut) {
  // Glyph 0's square gets a hole of colour 0, which the surface's key 0 leaves out.
  DDCOLORKEY key{0, 0};
  ASSERT_EQ(surfaces[2]->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
  writeSurface(surfaces[2], [](int x, int y) {
    return static_cast<uint8_t>(y >= glyphSheetTop && x < 16 * glyphCount && x != 5 ? x / 16 + 1
                                                                                    : 0);
  });
  displayEngine.drawBitmapFontText(3, 0, 0, "0", static_cast<int8_t>(DDBLTFAST_SRCCOLORKEY));
  EXPECT_EQ(readSurface(surfaces[3]).at(5, 0), untouched);
  EXPECT_EQ(readSurface(surfaces[3]).at(4, 0), 1);
  // Without the key flag the hole is copied.
  displayEngine.drawBitmapFontText(3, 32, 0, "0", 0);
  EXPECT_EQ(readSurface(surfaces[3]).at(37, 0), 0);
}
