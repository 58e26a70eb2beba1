// The engine's GDI drawing: bitmaps onto slots, text, font text, circles, the palette probe.
#include "display/palette_tables.h"
#include "tests/support/bmp_files.h"
#include "tests/support/engine_setup_fixture.h"
#include "tests/support/gdi_helpers.h"

using support::Picture;
using support::readSurface;

namespace {

// Entry i of a picture's colour table: a colour of its own for every index.
uint32_t distinctColour(int i) {
  return static_cast<uint32_t>(((i * 37) & 0xFF) << 16 | ((i * 91) & 0xFF) << 8 | (i & 0xFF));
}
uint8_t diagonal(int x, int y) { return static_cast<uint8_t>((x + 3 * y) & 0xFF); }

}  // namespace

class EngineGdiTest : public EngineSetupTest {
 protected:
  void SetUp() override {
    EngineSetupTest::SetUp();
    setUpFullScreen();
    support::fillTestPalette(basePalette);
    displayEngine.resetPalette();
    displayEngine.fillSurface(2, support::greyIndex);
  }

  Picture slot(int index) { return readSurface(surfaces[index]); }
  support::TemporaryFolder folder;
};

TEST_F(EngineGdiTest, LoadBitmapCopiesThroughThePaletteFromAnyPointOfThePicture) {
  // An 8-bit picture whose table matches the display palette, as the demo's texture does.
  const std::string eight =
      folder.write("eight.bmp", support::eightBitBmp(200, 150, distinctColour, diagonal));
  displayEngine.loadPaletteFromBmp(eight.c_str());
  displayEngine.loadBitmapToSurface(eight.c_str(), 128, 128, 0, 0, 0, 0, 3);
  Picture texture = slot(3);
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 128; ++x) ASSERT_EQ(texture.at(x, y), diagonal(x, y)) << x << "," << y;
  // A part of a larger picture, from (50, 20), placed at (100, 30).
  displayEngine.loadBitmapToSurface(eight.c_str(), 40, 30, 100, 30, 50, 20, 4);
  const Picture part = slot(4);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x)
      ASSERT_EQ(part.at(100 + x, 30 + y), diagonal(50 + x, 20 + y)) << x << "," << y;
  EXPECT_EQ(part.at(99, 30), 0);
  EXPECT_EQ(part.at(140, 30), 0);

  // A 24-bit picture of palette colours lands on the same indices.
  support::BitmapPicture spec{16, 8, 24, false, false, {}, {}};
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x) spec.pixels.push_back(distinctColour(diagonal(x, y)));
  displayEngine.loadBitmapToSurface(folder.write("24.bmp", support::bmpFile(spec)).c_str(), 16, 8,
                                    5, 6, 0, 0, 5);
  const Picture truecolour = slot(5);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x) ASSERT_EQ(truecolour.at(5 + x, 6 + y), diagonal(x, y));
}

TEST_F(EngineGdiTest, UnloadableBitmapsEndTheProgramWithTheFileNotFoundBox) {
  for (const std::string& name :
       {folder.path("missing.bmp").string(), folder.write("text.bmp", {'n', 'o'})}) {
    SCOPED_TRACE(name);
    EXPECT_EXIT(displayEngine.loadBitmapToSurface(name.c_str(), 128, 128, 0, 0, 0, 0, 3),
                testing::ExitedWithCode(1),
                "^エラーが発生したらしい\\(\\^\\^;: .*\\.bmp ファイルが見つかりません\n$");
  }
}

TEST_F(EngineGdiTest, ANullFileNameIsAFileNotFound) {
  EXPECT_EXIT(displayEngine.loadBitmapToSurface(nullptr, 128, 128, 0, 0, 0, 0, 3),
              testing::ExitedWithCode(1),
              "^エラーが発生したらしい\\(\\^\\^;:  ファイルが見つかりません\n$");
}

TEST_F(EngineGdiTest, TextIsInkNearestBlackInAnOpaqueBoxOfItsMeasuredExtent) {
  displayEngine.drawText(2, 12, 34, "FPS 123");
  HDC dc = nullptr;
  ASSERT_EQ(surfaces[2]->GetDC(&dc), DD_OK);
  SIZE extent{};
  GetTextExtentPoint32A(dc, "FPS 123", 7, &extent);
  surfaces[2]->ReleaseDC(dc);
  const Picture picture = slot(2);
  const auto box = support::boundsOf(picture, support::whiteIndex);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->left, 12);
  EXPECT_EQ(box->top, 34);
  EXPECT_EQ(box->right - box->left, extent.cx);
  EXPECT_EQ(box->bottom - box->top, extent.cy);
  const auto ink = support::boundsOf(picture, support::blackIndex);
  ASSERT_TRUE(ink);
  EXPECT_GE(ink->left, box->left);
  EXPECT_LE(ink->bottom, box->bottom);
  // Everything in the box is paper or ink.
  for (int y = box->top; y < box->bottom; ++y)
    for (int x = box->left; x < box->right; ++x)
      ASSERT_TRUE(picture.at(x, y) == support::whiteIndex ||
                  picture.at(x, y) == support::blackIndex);
}

TEST_F(EngineGdiTest, FontTextCentresAndDrawsItsShadowFirst) {
  displayEngine.drawFontText(-1, 50, 160, 0, "Centred", 20, 0, FW_NORMAL, 0, RGB(255, 0, 0), 0, "",
                             0, 2, 0);
  const SIZE extent = displayEngine.textExtent;
  EXPECT_EQ(extent.cy, 20);
  const auto ink = support::boundsOf(slot(2), support::redIndex);
  ASSERT_TRUE(ink);
  const int x = 160 - extent.cx / 2;
  EXPECT_GE(ink->left, x);
  EXPECT_LE(ink->left, x + 3);
  EXPECT_GE(ink->top, 50);
  EXPECT_LE(ink->right, x + extent.cx + 1);
  EXPECT_EQ(support::countOf(slot(2), support::whiteIndex), 0);  // transparent: no box

  // Both axes centred; then a shadow two pixels down and right, under the text.
  displayEngine.fillSurface(2, support::greyIndex);
  displayEngine.drawFontText(-1, -1, 100, 120, "Shadow", 24, 0, FW_BOLD, 2, RGB(255, 0, 0), 0, "",
                             0, 2, 0);
  const Picture shadowed = slot(2);
  const auto text = support::boundsOf(shadowed, support::redIndex);
  const auto shadow = support::boundsOf(shadowed, support::shadowIndex);
  ASSERT_TRUE(text && shadow);
  EXPECT_EQ(shadow->right, text->right + 2);
  EXPECT_EQ(shadow->bottom, text->bottom + 2);
  EXPECT_GE(text->top, 120 - displayEngine.textExtent.cy / 2);
  // Every text pixel moved by the offset is shadow or text (the text lies over it).
  for (int y = text->top; y < text->bottom; ++y)
    for (int x2 = text->left; x2 < text->right; ++x2)
      if (shadowed.at(x2, y) == support::redIndex) {
        const uint8_t below = shadowed.at(x2 + 2, y + 2);
        ASSERT_TRUE(below == support::shadowIndex || below == support::redIndex) << x2 << "," << y;
      }

  // With no shadow, no shadow colour at all.
  displayEngine.fillSurface(2, support::greyIndex);
  displayEngine.drawFontText(10, 10, 0, 0, "Plain", 24, 0, FW_BOLD, 0, RGB(0, 255, 0), 0, "", 0, 2,
                             0);
  EXPECT_EQ(support::countOf(slot(2), support::shadowIndex), 0);
  EXPECT_GT(support::countOf(slot(2), support::greenIndex), 20);
}

TEST_F(EngineGdiTest, TextExtentIsKeptForTextOffTheSurface) {
  displayEngine.drawFontText(5000, 5000, 0, 0, "Far away", 30, 0, FW_NORMAL, 3, RGB(0, 0, 255), 0,
                             "", 0, 2, 0);
  EXPECT_EQ(displayEngine.textExtent.cy, 30);
  EXPECT_GT(displayEngine.textExtent.cx, 60);
  EXPECT_EQ(support::countOf(slot(2), support::blueIndex), 0);
  EXPECT_EQ(support::countOf(slot(2), support::greyIndex), 320 * 240);
}

TEST_F(EngineGdiTest, WindowedSlotZeroTextIsOffsetByTheWindowOrigin) {
  displayEngine.shutdownDisplay();
  setUpWindowed();
  support::fillTestPalette(basePalette);
  displayEngine.resetPalette();
  for (int slotIndex : {0, 2}) {
    SCOPED_TRACE(slotIndex);
    displayEngine.fillSurface(slotIndex, support::greyIndex);
    // Blue is hardware entry 14 here: table entries start at hardware entry 10.
    displayEngine.drawFontText(20, 30, 0, 0, "Here", 20, 0, FW_BOLD, 0, RGB(0, 0, 255), 0, "", 0,
                               slotIndex, 0);
    const auto ink = support::boundsOf(slot(slotIndex), support::blueIndex + 10);
    ASSERT_TRUE(ink);
    const int dx = slotIndex == 0 ? windowOrigin.x : 0;
    const int dy = slotIndex == 0 ? windowOrigin.y : 0;
    EXPECT_GE(ink->left, 20 + dx);
    EXPECT_LE(ink->left, 23 + dx);
    EXPECT_GE(ink->top, 30 + dy);
    EXPECT_LE(ink->top, 30 + dy + 10);
  }
}

TEST_F(EngineGdiTest, FontThatCannotBeMadeEndsTheProgramWithTheFontBox) {
  EXPECT_EXIT(displayEngine.drawFontText(0, 0, 0, 0, "x", 100000, 0, 0, 0, 0, 0, "", 0, 2, 0),
              testing::ExitedWithCode(1), "^エラーが発生したらしい\\(\\^\\^;: font\n$");
}

TEST_F(EngineGdiTest, CirclesUseTheBaseColourAndANegativeRadiusIsZero) {
  displayEngine.drawFilledCircle(2, 100, 100, 20, support::redIndex);
  const auto disc = support::boundsOf(slot(2), support::redIndex);
  ASSERT_TRUE(disc);
  EXPECT_EQ(disc->left, 80);
  EXPECT_EQ(disc->right, 120);
  EXPECT_EQ(disc->top, 80);
  EXPECT_EQ(disc->bottom, 120);

  for (int radius : {0, -5}) {
    SCOPED_TRACE(radius);
    displayEngine.fillSurface(3, support::greyIndex);
    displayEngine.drawFilledCircle(3, 50, 50, radius, support::greenIndex);
    EXPECT_EQ(support::countOf(slot(3), support::greyIndex), 320 * 240);
  }

  // Mid-fade the shown colours are dark, yet the circle is drawn in the base green, which GDI
  // matches to the entry whose shown colour is nearest to it.
  displayEngine.setRangeBrightness(1, 255, -200);
  displayEngine.fillSurface(4, support::greyIndex);
  displayEngine.drawFilledCircle(4, 50, 50, 10, support::greenIndex);
  PALETTEENTRY hardware[256];
  displayPalette->GetEntries(0, 0, 256, hardware);
  const uint8_t drawn = slot(4).at(50, 50);
  long best = -1;
  uint8_t expected = 0;
  for (int i = 0; i < 256; ++i) {
    const long dr = hardware[i].peRed - 0, dg = hardware[i].peGreen - 255, db = hardware[i].peBlue;
    const long d = dr * dr + dg * dg + db * db;
    if (best < 0 || d < best) best = d, expected = static_cast<uint8_t>(i);
  }
  EXPECT_EQ(drawn, expected);
}

TEST_F(EngineGdiTest, ProbeReportsTheMatchedIndexAndLeavesThePixelAlone) {
  displayEngine.fillRect8(1, 0, 0, 1, 1, 77);
  EXPECT_EQ(displayEngine.probePaletteIndex(RGB(255, 0, 0)), support::redIndex);
  EXPECT_EQ(displayEngine.probePaletteIndex(RGB(250, 250, 250)), support::whiteIndex);
  EXPECT_EQ(slot(1).at(0, 0), 77);
}
