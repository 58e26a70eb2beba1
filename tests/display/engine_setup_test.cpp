// setupDisplay, shutdownDisplay, updateWindowOrigin and clearSurface.
#include "host/message_pump.h"
#include "platform/headless/headless_screen.h"
#include "tests/support/engine_setup_fixture.h"
#include "tests/support/surface_access.h"

using compat::testing::DirectDrawCall;
using compat::testing::LiveObjects;

namespace {

DWORD capsOf(int slot) {
  DDSURFACEDESC desc{};
  desc.dwSize = sizeof desc;
  EXPECT_EQ(surfaces[slot]->GetSurfaceDesc(&desc), DD_OK);
  return desc.ddsCaps.dwCaps;
}

}  // namespace

TEST_F(EngineSetupTest, CooperativeLevelFollowsModeAndSize) {
  const struct {
    int32_t fullscreen, width, height;
    DWORD flags;
  } cases[] = {{1, 320, 240, 81}, {1, 640, 480, 17}, {0, 320, 240, 8}, {0, 640, 480, 8}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.fullscreen << " " << c.width << "x" << c.height);
    ASSERT_EQ(displayEngine.setupDisplay(mainWindow, c.width, c.height, c.fullscreen, 8, 4), 1);
    EXPECT_EQ(compat::testing::lastCooperativeLevel(), c.flags);
    displayEngine.shutdownDisplay();
  }
}

TEST_F(EngineSetupTest, FullScreenSetUpMakesTheFlipChainAndSystemMemorySlots) {
  setUpFullScreen();
  const auto mode = compat::testing::lastDisplayMode();
  ASSERT_TRUE(mode.has_value());
  EXPECT_EQ(mode->width, 320u);
  EXPECT_EQ(mode->height, 240u);
  EXPECT_EQ(mode->bitsPerPixel, 8u);
  EXPECT_TRUE(capsOf(0) & DDSCAPS_PRIMARYSURFACE);
  EXPECT_TRUE(capsOf(1) & DDSCAPS_BACKBUFFER);
  for (int slot = 2; slot < 6; ++slot) EXPECT_TRUE(capsOf(slot) & DDSCAPS_SYSTEMMEMORY) << slot;
  EXPECT_EQ(compat::testing::liveObjects(), (LiveObjects{1, 6, 1, 0}));
  EXPECT_EQ(displayEngine.clipRect.right, 320);
  EXPECT_EQ(displayEngine.clipRect.bottom, 240);
  EXPECT_EQ(displayEngine.clipRect.left, 0);
  EXPECT_EQ(displayEngine.clipRect.top, 0);
}

TEST_F(EngineSetupTest, FullScreenWithTwoSlotsCreatesNoOffscreenSurface) {
  setUpFullScreen(2);
  EXPECT_EQ(compat::testing::liveObjects().surfaces, 2);
  EXPECT_EQ(surfaces[2], nullptr);
  for (int slot : {0, 1}) {
    const support::Picture picture = support::readSurface(surfaces[slot]);
    EXPECT_EQ(std::count(picture.pixels.begin(), picture.pixels.end(), 0),
              static_cast<long>(picture.pixels.size()))
        << slot;
  }
}

TEST_F(EngineSetupTest, WindowedSetUpUsesAClipperOnTheMainWindowAndNoDisplayMode) {
  const auto modeBefore = compat::testing::lastDisplayMode();
  // The window argument goes to the cooperative level; the clipper takes mainWindow.
  ASSERT_EQ(displayEngine.setupDisplay(compat::testing::testWindow(), 320, 240, 0, 8, 6), 1);
  EXPECT_EQ(compat::testing::lastDisplayMode().has_value(), modeBefore.has_value());
  ASSERT_NE(windowClipper, nullptr);
  HWND clipped = nullptr;
  ASSERT_EQ(windowClipper->GetHWnd(&clipped), DD_OK);
  EXPECT_EQ(clipped, mainWindow);
  EXPECT_TRUE(capsOf(0) & DDSCAPS_PRIMARYSURFACE);
  EXPECT_FALSE(capsOf(1) & DDSCAPS_SYSTEMMEMORY);
  EXPECT_TRUE(capsOf(1) & DDSCAPS_OFFSCREENPLAIN);
  for (int slot = 2; slot < 6; ++slot) EXPECT_TRUE(capsOf(slot) & DDSCAPS_SYSTEMMEMORY) << slot;
  EXPECT_EQ(compat::testing::liveObjects(), (LiveObjects{1, 6, 1, 1}));
}

TEST_F(EngineSetupTest, EverySlotReadsColourZeroAfterSetUp) {
  for (int32_t fullscreen : {1, 0}) {
    SCOPED_TRACE(fullscreen);
    ASSERT_EQ(displayEngine.setupDisplay(mainWindow, 320, 240, fullscreen, 8, 6), 1);
    for (int slot = 0; slot < 6; ++slot) {
      const support::Picture picture = support::readSurface(surfaces[slot]);
      ASSERT_FALSE(picture.pixels.empty());
      // A windowed primary is the desktop: the clipper lets the clear reach only the window.
      RECT area{0, 0, picture.width, picture.height};
      if (slot == 0 && fullscreen == 0) {
        ASSERT_TRUE(GetWindowRect(mainWindow, &area));
      }
      for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
          ASSERT_EQ(picture.at(x, y), 0) << "slot " << slot << " pixel " << x << "," << y;
    }
    displayEngine.shutdownDisplay();
  }
}

TEST_F(EngineSetupTest, AFailedStepReturnsZeroAndTeardownReleasesExactlyWhatExists) {
  const struct {
    const char* name;
    int32_t fullscreen;
    DirectDrawCall call;
    int skip;
    LiveObjects made;  // what exists when set-up gives up
  } cases[] = {
      {"DirectDrawCreate", 1, DirectDrawCall::DirectDrawCreate, 0, {0, 0, 0, 0}},
      {"SetCooperativeLevel", 1, DirectDrawCall::SetCooperativeLevel, 0, {1, 0, 0, 0}},
      {"primary", 1, DirectDrawCall::CreateSurface, 0, {1, 0, 0, 0}},
      {"back buffer", 1, DirectDrawCall::GetAttachedSurface, 0, {1, 2, 0, 0}},
      {"palette", 1, DirectDrawCall::CreatePalette, 0, {1, 2, 0, 0}},
      {"slot 2", 1, DirectDrawCall::CreateSurface, 1, {1, 2, 1, 0}},
      {"slot 5", 1, DirectDrawCall::CreateSurface, 4, {1, 5, 1, 0}},
      {"windowed primary", 0, DirectDrawCall::CreateSurface, 0, {1, 0, 0, 0}},
      {"clipper", 0, DirectDrawCall::CreateClipper, 0, {1, 1, 0, 0}},
      {"clipper window", 0, DirectDrawCall::SetHWnd, 0, {1, 1, 0, 1}},
      {"clipper attached", 0, DirectDrawCall::SetClipper, 0, {1, 1, 0, 1}},
      {"windowed palette", 0, DirectDrawCall::CreatePalette, 0, {1, 1, 0, 1}},
      {"windowed slot 1", 0, DirectDrawCall::CreateSurface, 1, {1, 1, 1, 1}},
      {"windowed slot 4", 0, DirectDrawCall::CreateSurface, 4, {1, 4, 1, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    compat::testing::failCall(c.call, DDERR_GENERIC, c.skip);
    EXPECT_EQ(displayEngine.setupDisplay(mainWindow, 320, 240, c.fullscreen, 8, 6), 0);
    EXPECT_EQ(compat::testing::liveObjects(), c.made);
    displayEngine.shutdownDisplay();
    EXPECT_EQ(compat::testing::liveObjects(), LiveObjects{});
    EXPECT_EQ(directDraw, nullptr);
    EXPECT_EQ(displayPalette, nullptr);
    for (LPDIRECTDRAWSURFACE surface : surfaces) ASSERT_EQ(surface, nullptr);
    EXPECT_EQ(displayEngine.surfaceCount, 0);
    // A second teardown finds nothing to do.
    displayEngine.shutdownDisplay();
    EXPECT_EQ(compat::testing::liveObjects(), LiveObjects{});
    compat::testing::clearFailures();
  }
}

TEST_F(EngineSetupTest, TeardownKeepsSizeModeAndClipRectAndCanSetUpAgain) {
  setUpFullScreen();
  displayEngine.shutdownDisplay();
  EXPECT_EQ(displayEngine.surfaceCount, 0);
  EXPECT_EQ(displayEngine.width, 320);
  EXPECT_EQ(displayEngine.fullscreen, 1);
  EXPECT_EQ(displayEngine.clipRect.right, 320);
  displayEngine.shutdownDisplay();
  EXPECT_EQ(compat::testing::liveObjects(), LiveObjects{});
  setUpWindowed();
  EXPECT_EQ(compat::testing::liveObjects().surfaces, 6);
}

TEST_F(EngineSetupTest, RefusedDisplayModeEndsTheProgramWithoutABox) {
  EXPECT_EXIT(
      {
        compat::testing::failCall(DirectDrawCall::SetDisplayMode, DDERR_UNSUPPORTEDMODE);
        displayEngine.setupDisplay(mainWindow, 320, 240, 1, 8, 6);
      },
      testing::ExitedWithCode(1), "^$");
}

TEST_F(EngineSetupTest, WindowOriginIsTheClientCornerInWindowedModeOnly) {
  setUpWindowed();
  // The window sits at the desktop's corner: border 1, caption 19, and 2 pixels of margin.
  EXPECT_EQ(windowOrigin.x, 3);
  EXPECT_EQ(windowOrigin.y, 22);
  compat::headlessScreen().injectInput({compat::InputKind::WindowMoved, 0, false, false, 100, 50});
  ASSERT_EQ(pumpMessages(), 1);
  EXPECT_EQ(windowOrigin.x, 103);
  EXPECT_EQ(windowOrigin.y, 72);
  displayEngine.shutdownDisplay();
  EXPECT_EQ(windowOrigin.x, 0);

  setUpFullScreen();
  compat::headlessScreen().injectInput({compat::InputKind::WindowMoved, 0, false, false, 40, 30});
  ASSERT_EQ(pumpMessages(), 1);
  EXPECT_EQ(windowOrigin.x, 0);
  EXPECT_EQ(windowOrigin.y, 0);
}

TEST_F(EngineSetupTest, OriginStaysZeroWhileThereIsNoWindowToAsk) {
  displayEngine.fullscreen = 0;
  HWND window = mainWindow;
  mainWindow = nullptr;  // as while CreateWindowExA is still running
  windowOrigin = {5, 5};
  displayEngine.updateWindowOrigin();
  EXPECT_EQ(windowOrigin.x, 0);
  EXPECT_EQ(windowOrigin.y, 0);
  mainWindow = window;
}
