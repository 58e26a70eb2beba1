// presentFrame, restoreSurfaces and waitVerticalBlank, and what the screen receives.
#include <algorithm>

#include "display/palette_tables.h"
#include "platform/headless/headless_screen.h"
#include "tests/support/engine_setup_fixture.h"
#include "tests/support/surface_access.h"

using support::Picture;
using support::readSurface;
using support::writeSurface;

class PresentationTest : public EngineSetupTest {
 protected:
  // Where a windowed present puts the picture on the desktop: from the window origin, cut to
  // what the window shows (right and bottom exclusive).
  static RECT pictureOnTheDesktop() {
    RECT window{};
    GetWindowRect(mainWindow, &window);
    return {windowOrigin.x, windowOrigin.y, std::min<LONG>(window.right, windowOrigin.x + 320),
            std::min<LONG>(window.bottom, windowOrigin.y + 240)};
  }
};

TEST_F(PresentationTest, FullScreenFlipSwapsTheRecordedAddresses) {
  setUpFullScreen();
  for (int slot : {0, 1}) {
    displayEngine.lockSurface(slot);
    displayEngine.unlockSurface(slot);
  }
  uint8_t* const front = surfaceBits[0];
  uint8_t* const back = surfaceBits[1];
  displayEngine.presentFrame();
  EXPECT_EQ(surfaceBits[0], back);
  EXPECT_EQ(surfaceBits[1], front);
  displayEngine.presentFrame();
  EXPECT_EQ(surfaceBits[0], front);
  EXPECT_EQ(surfaceBits[1], back);
  // The swapped entries match the memory the surfaces now have.
  displayEngine.presentFrame();
  uint8_t* const recorded = surfaceBits[1];
  displayEngine.lockSurface(1);
  EXPECT_EQ(surfaceBits[1], recorded);
  displayEngine.unlockSurface(1);
}

TEST_F(PresentationTest, UnlockAfterAPresentHandsBackTheLocksOwnAddress) {
  setUpFullScreen();
  displayEngine.lockSurface(1);
  // The flip itself fails on the locked buffer; the recorded addresses swap all the same.
  displayEngine.presentFrame();
  EXPECT_EQ(displayEngine.unlockSurface(1), DD_OK);
}

TEST_F(PresentationTest, TheScreenReceivesTheBackBufferThroughThePalette) {
  setUpFullScreen();
  for (int i = 0; i < 256; ++i)
    basePalette[i] = {static_cast<BYTE>(i), static_cast<BYTE>(i ^ 0x55), static_cast<BYTE>(7), 1};
  displayEngine.resetPalette();
  writeSurface(surfaces[1], [](int x, int y) { return static_cast<uint8_t>(x * 3 + y); });
  const Picture back = readSurface(surfaces[1]);
  const long frames = compat::headlessScreen().framesPresented();
  displayEngine.presentFrame();
  const compat::CapturedFrame& shown = compat::headlessScreen().lastFrame();
  EXPECT_EQ(compat::headlessScreen().framesPresented(), frames + 1);
  EXPECT_EQ(shown.pixels, back.pixels);
  for (int i = 0; i < 256; ++i) {
    ASSERT_EQ(shown.palette[i].red, i);
    ASSERT_EQ(shown.palette[i].green, i ^ 0x55);
  }
}

TEST_F(PresentationTest, WindowedPresentCopiesToTheWindowOrigin) {
  setUpWindowed();
  writeSurface(surfaces[1], [](int x, int y) { return support::patternAt(x, y, 1); });
  uint8_t* before[maxSurfaceSlots];
  std::copy(std::begin(surfaceBits), std::end(surfaceBits), before);
  displayEngine.presentFrame();
  EXPECT_TRUE(std::equal(std::begin(surfaceBits), std::end(surfaceBits), before));
  const Picture desktop = readSurface(surfaces[0]);
  RECT window;
  ASSERT_TRUE(GetWindowRect(mainWindow, &window));
  // The picture lands at the origin; what the window cannot show is clipped away.
  const RECT picture = pictureOnTheDesktop();
  for (int y = picture.top; y < picture.bottom; ++y)
    for (int x = picture.left; x < picture.right; ++x)
      ASSERT_EQ(desktop.at(x, y), support::patternAt(x - windowOrigin.x, y - windowOrigin.y, 1))
          << x << "," << y;
  EXPECT_EQ(desktop.at(window.right, windowOrigin.y), 0xCD);  // outside: untouched
}

TEST_F(PresentationTest, WindowedPresentCopiesColourZeroTooThoughTheSurfacesAreKeyed) {
  setUpWindowed();
  // As loading the palette leaves them: every slot keyed on colour 0 for the engine's copies.
  DDCOLORKEY key{0, 0};
  ASSERT_EQ(surfaces[1]->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
  writeSurface(surfaces[1], [](int x, int y) { return support::patternAt(x, y, 1); });
  displayEngine.presentFrame();
  // A frame of colour 0 replaces the old picture in the window instead of showing through it.
  writeSurface(surfaces[1], [](int, int) { return uint8_t{0}; });
  displayEngine.presentFrame();
  const Picture desktop = readSurface(surfaces[0]);
  const RECT picture = pictureOnTheDesktop();
  ASSERT_GT(picture.right, picture.left);
  for (int y = picture.top; y < picture.bottom; ++y)
    for (int x = picture.left; x < picture.right; ++x)
      ASSERT_EQ(desktop.at(x, y), 0) << x << "," << y;
}

TEST_F(PresentationTest, RestoreBringsLostSurfacesBackAndPresentsACleanScreen) {
  for (int32_t fullscreen : {1, 0}) {
    SCOPED_TRACE(fullscreen);
    ASSERT_EQ(displayEngine.setupDisplay(mainWindow, 320, 240, fullscreen, 8, 6), 1);
    displayEngine.fillSurface(0, 5);
    for (int slot : {0, 1, 3}) compat::testing::loseSurface(surfaces[slot]);
    const long frames = compat::headlessScreen().framesPresented();
    displayEngine.restoreSurfaces();
    for (int slot = 0; slot < 6; ++slot) EXPECT_EQ(surfaces[slot]->IsLost(), DD_OK) << slot;
    EXPECT_GT(compat::headlessScreen().framesPresented(), frames);
    displayEngine.shutdownDisplay();
  }
  // With nothing lost it only clears the primary and presents.
  setUpFullScreen();
  displayEngine.fillSurface(0, 5);
  displayEngine.fillSurface(1, 6);
  displayEngine.restoreSurfaces();
  // Cleared, then flipped: the old back buffer is in front and the cleared page behind.
  EXPECT_EQ(readSurface(surfaces[0]).at(10, 10), 6);
  EXPECT_EQ(readSurface(surfaces[1]).at(10, 10), 0);
  EXPECT_EQ(displayEngine.waitVerticalBlank(), DD_OK);
}
