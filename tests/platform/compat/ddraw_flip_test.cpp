// The full-screen primary with its back buffer, page flips, and what the screen receives.
#include "platform/headless/headless_screen.h"
#include "tests/support/direct_draw_fixture.h"

using support::readSurface;

namespace {

DDSURFACEDESC flipChainDescription() {
  DDSURFACEDESC desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
  desc.dwBackBufferCount = 1;
  return desc;
}

PALETTEENTRY grey(int i) {
  const BYTE level = static_cast<BYTE>(255 - i);
  return {level, static_cast<BYTE>(i), level, 0};
}

}  // namespace

TEST_F(DirectDrawTest, FlipChainNeedsExclusiveFullScreen) {
  // The caps are checked first, then the cooperative level.
  const DWORD chain = DDSCAPS_PRIMARYSURFACE | DDSCAPS_COMPLEX | DDSCAPS_FLIP;
  const struct {
    const char* name;
    DWORD flags;
    DWORD caps;
    DWORD backBuffers;
    HRESULT normal;
    HRESULT exclusive;
  } cases[] = {
      {"no back-buffer count", DDSD_CAPS, chain, 1, DDERR_INVALIDCAPS, DDERR_INVALIDCAPS},
      {"a count of 0", DDSD_CAPS | DDSD_BACKBUFFERCOUNT, chain, 0, DDERR_INVALIDCAPS,
       DDERR_INVALIDCAPS},
      {"not complex", DDSD_CAPS | DDSD_BACKBUFFERCOUNT, DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP, 1,
       DDERR_INVALIDCAPS, DDERR_INVALIDCAPS},
      {"asking for the front buffer", DDSD_CAPS | DDSD_BACKBUFFERCOUNT, chain | DDSCAPS_FRONTBUFFER,
       1, DDERR_INVALIDCAPS, DDERR_INVALIDCAPS},
      {"asking for the back buffer", DDSD_CAPS | DDSD_BACKBUFFERCOUNT, chain | DDSCAPS_BACKBUFFER,
       1, DDERR_INVALIDCAPS, DDERR_INVALIDCAPS},
      {"one back buffer", DDSD_CAPS | DDSD_BACKBUFFERCOUNT, chain, 1, DDERR_NOEXCLUSIVEMODE, DD_OK},
  };
  for (bool exclusive : {false, true}) {
    if (exclusive) useFullScreen();
    for (const auto& c : cases) {
      SCOPED_TRACE(testing::Message() << (exclusive ? "exclusive: " : "normal: ") << c.name);
      DDSURFACEDESC desc{};
      desc.dwSize = sizeof desc;
      desc.dwFlags = c.flags;
      desc.ddsCaps.dwCaps = c.caps;
      desc.dwBackBufferCount = c.backBuffers;
      IDirectDrawSurface* made = nullptr;
      EXPECT_EQ(directDraw_->CreateSurface(&desc, &made, nullptr),
                exclusive ? c.exclusive : c.normal);
      if (made != nullptr) {
        EXPECT_EQ(made->Release(), 0u);
      }
    }
  }

  DDSURFACEDESC desc = flipChainDescription();
  IDirectDrawSurface* primary = nullptr;
  ASSERT_EQ(directDraw_->CreateSurface(&desc, &primary, nullptr), DD_OK);
  EXPECT_EQ(directDraw_->CreateSurface(&desc, &primary, nullptr),
            DDERR_PRIMARYSURFACEALREADYEXISTS);
  // The primary is the display mode's size.
  DDSURFACEDESC shape{};
  shape.dwSize = sizeof shape;
  ASSERT_EQ(primary->GetSurfaceDesc(&shape), DD_OK);
  EXPECT_EQ(shape.dwWidth, 320u);
  EXPECT_EQ(shape.dwHeight, 240u);
  EXPECT_EQ(shape.dwBackBufferCount, 1u);
}

TEST_F(DirectDrawTest, FlipExchangesTheMemoryBehindTheTwoBuffersAndShowsTheNewFront) {
  useFullScreen();
  DDSURFACEDESC desc = flipChainDescription();
  IDirectDrawSurface* primary = nullptr;
  ASSERT_EQ(directDraw_->CreateSurface(&desc, &primary, nullptr), DD_OK);
  DDSCAPS backCaps{DDSCAPS_BACKBUFFER};
  IDirectDrawSurface* back = nullptr;
  ASSERT_EQ(primary->GetAttachedSurface(&backCaps, &back), DD_OK);
  ASSERT_NE(back, nullptr);
  ASSERT_NE(back, primary);
  DDSCAPS other{DDSCAPS_OFFSCREENPLAIN};
  IDirectDrawSurface* none = nullptr;
  EXPECT_EQ(primary->GetAttachedSurface(&other, &none), DDERR_NOTFOUND);
  EXPECT_EQ(back->GetAttachedSurface(&backCaps, &none), DDERR_NOTFOUND);

  PALETTEENTRY colours[256];
  for (int i = 0; i < 256; ++i) colours[i] = grey(i);
  IDirectDrawPalette* palette = nullptr;
  ASSERT_EQ(directDraw_->CreatePalette(DDPCAPS_8BIT, colours, &palette, nullptr), DD_OK);
  ASSERT_EQ(primary->SetPalette(palette), DD_OK);

  support::writeSurface(primary, [](int x, int y) { return static_cast<uint8_t>(x ^ y); });
  support::writeSurface(back, [](int x, int y) { return static_cast<uint8_t>(x + y); });
  const support::Picture front = readSurface(primary);
  const support::Picture backPicture = readSurface(back);
  const long framesBefore = compat::headlessScreen().framesPresented();

  ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
  const compat::HeadlessScreen& screen = compat::headlessScreen();
  EXPECT_EQ(screen.framesPresented(), framesBefore + 1);
  EXPECT_EQ(readSurface(primary), backPicture);
  EXPECT_EQ(readSurface(back), front);
  // The same objects: the attached surface is still the back buffer.
  IDirectDrawSurface* again = nullptr;
  ASSERT_EQ(primary->GetAttachedSurface(&backCaps, &again), DD_OK);
  EXPECT_EQ(again, back);

  // The screen received the new front buffer through the attached palette.
  const compat::CapturedFrame& shown = screen.lastFrame();
  ASSERT_EQ(shown.width, 320);
  ASSERT_EQ(shown.height, 240);
  EXPECT_EQ(shown.pixels, backPicture.pixels);
  for (int i = 0; i < 256; ++i) {
    ASSERT_EQ(shown.palette[i].red, colours[i].peRed);
    ASSERT_EQ(shown.palette[i].green, colours[i].peGreen);
  }

  // Flipping twice brings the first picture back; an explicit target must be the back buffer.
  ASSERT_EQ(primary->Flip(back, DDFLIP_WAIT), DD_OK);
  EXPECT_EQ(readSurface(primary), front);
  EXPECT_EQ(primary->Flip(primary, DDFLIP_WAIT), DDERR_NOTFLIPPABLE);
  EXPECT_EQ(back->Flip(nullptr, DDFLIP_WAIT), DDERR_NOTFLIPPABLE);

  // A locked buffer cannot flip.
  DDSURFACEDESC lock{};
  lock.dwSize = sizeof lock;
  ASSERT_EQ(back->Lock(nullptr, &lock, DDLOCK_WAIT, nullptr), DD_OK);
  EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACEBUSY);
  ASSERT_EQ(back->Unlock(lock.lpSurface), DD_OK);
  // The two extra references from GetAttachedSurface; the chain keeps the back buffer.
  back->Release();
  back->Release();
  palette->Release();
  EXPECT_EQ(primary->Release(), 0u);
  EXPECT_EQ(compat::testing::liveObjects().surfaces, 0);
}

// The display's memory comes back only in the mode the chain was made for: a mode that
// differs in one side is as wrong as one that differs in both.
TEST_F(DirectDrawTest, ALostChainIsRestoredOnlyInItsOwnMode) {
  useFullScreen(320, 240);
  DDSURFACEDESC desc = flipChainDescription();
  IDirectDrawSurface* primary = nullptr;
  ASSERT_EQ(directDraw_->CreateSurface(&desc, &primary, nullptr), DD_OK);
  const struct {
    DWORD width, height;
    HRESULT result;
  } modes[] = {
      {400, 240, DDERR_WRONGMODE},  // the width only
      {320, 200, DDERR_WRONGMODE},  // the height only
      {640, 480, DDERR_WRONGMODE},
      {320, 240, DD_OK},
  };
  for (const auto& m : modes) {
    SCOPED_TRACE(testing::Message() << m.width << " x " << m.height);
    ASSERT_EQ(directDraw_->SetDisplayMode(m.width, m.height, 8), DD_OK);
    ASSERT_EQ(primary->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(primary->Restore(), m.result);
    EXPECT_EQ(primary->IsLost(), m.result == DD_OK ? DD_OK : DDERR_SURFACELOST);
  }
  EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
}

TEST_F(DirectDrawTest, PaletteChangesOnThePrimaryShowAtOnceWithoutAFrame) {
  IDirectDrawSurface* primary = singlePrimary();
  ASSERT_NE(primary, nullptr);
  PALETTEENTRY colours[256] = {};
  IDirectDrawPalette* palette = nullptr;
  IDirectDrawPalette* unattached = nullptr;
  ASSERT_EQ(directDraw_->CreatePalette(DDPCAPS_8BIT, colours, &palette, nullptr), DD_OK);
  ASSERT_EQ(directDraw_->CreatePalette(DDPCAPS_8BIT, colours, &unattached, nullptr), DD_OK);
  ASSERT_EQ(primary->SetPalette(palette), DD_OK);

  const compat::HeadlessScreen& screen = compat::headlessScreen();
  const long frames = screen.framesPresented();
  PALETTEENTRY changed[3] = {{10, 20, 30, 0}, {40, 50, 60, 0}, {70, 80, 90, 0}};
  ASSERT_EQ(palette->SetEntries(0, 100, 3, changed), DD_OK);
  EXPECT_EQ(screen.framesPresented(), frames);
  EXPECT_EQ(screen.shownPalette()[101].green, 50);
  EXPECT_EQ(screen.shownPalette()[99].green, 0);
  // A palette that is not on the primary changes nothing on the screen.
  ASSERT_EQ(unattached->SetEntries(0, 101, 1, changed), DD_OK);
  EXPECT_EQ(screen.shownPalette()[101].green, 50);

  PALETTEENTRY read[3] = {};
  ASSERT_EQ(palette->GetEntries(0, 100, 3, read), DD_OK);
  EXPECT_EQ(read[2].peBlue, 90);
  // Ranges that run past entry 255 are refused and change nothing.
  EXPECT_EQ(palette->SetEntries(0, 254, 3, changed), DDERR_INVALIDPARAMS);
  EXPECT_EQ(palette->SetEntries(0, 256, 1, changed), DDERR_INVALIDPARAMS);
  EXPECT_EQ(palette->SetEntries(0, 1, 0xFFFFFFFF, changed), DDERR_INVALIDPARAMS);
  EXPECT_EQ(screen.shownPalette()[254].red, 0);
  palette->Release();
  unattached->Release();
  primary->Release();
}

TEST_F(DirectDrawTest, WindowedPrimaryIsTheDesktopAndItsClipperTrimsBlits) {
  IDirectDrawSurface* primary = singlePrimary();
  ASSERT_NE(primary, nullptr);
  const support::Picture desktop = readSurface(primary);
  EXPECT_EQ(desktop.width, 640);
  EXPECT_EQ(desktop.height, 480);

  IDirectDrawSurface* source = patterned();
  RECT partly{632, 470, 648, 486};
  EXPECT_EQ(primary->Blt(&partly, source, nullptr, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);

  // With a clipper on a window inside the desktop, what falls outside the window is trimmed
  // instead, on every side, and the source is trimmed with it.
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.lpszClassName = "clipped";
  RegisterClassA(&windowClass);
  HWND clipped = CreateWindowExA(0, "clipped", "", WS_POPUP | WS_VISIBLE, 100, 80, 64, 48, nullptr,
                                 nullptr, nullptr, nullptr);
  ASSERT_NE(clipped, nullptr);
  IDirectDrawClipper* clipper = nullptr;
  ASSERT_EQ(directDraw_->CreateClipper(0, &clipper, nullptr), DD_OK);
  ASSERT_EQ(clipper->SetHWnd(0, clipped), DD_OK);
  ASSERT_EQ(primary->SetClipper(clipper), DD_OK);
  const RECT window{100, 80, 164, 128};
  const struct {
    const char* name;
    RECT to;
  } cases[] = {
      {"across the left edge", {93, 90, 109, 106}},
      {"across the top edge", {120, 71, 136, 87}},
      {"across the top-left corner", {90, 75, 106, 91}},
      {"across the bottom-right corner", {158, 117, 174, 133}},
      {"across the right edge", {150, 100, 166, 116}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    support::writeSurface(primary, desktop);
    RECT to = c.to;
    const long frames = compat::headlessScreen().framesPresented();
    ASSERT_EQ(primary->Blt(&to, source, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(compat::headlessScreen().framesPresented(), frames + 1);
    const support::Picture after = readSurface(primary);
    // One pixel around the blit too: nothing outside the window or the rectangle changes.
    for (int y = c.to.top - 1; y <= c.to.bottom; ++y)
      for (int x = c.to.left - 1; x <= c.to.right; ++x) {
        const bool drawn = x >= c.to.left && x < c.to.right && y >= c.to.top && y < c.to.bottom &&
                           x >= window.left && x < window.right && y >= window.top &&
                           y < window.bottom;
        const uint8_t expected =
            drawn ? support::patternAt(x - c.to.left, y - c.to.top) : desktop.at(x, y);
        ASSERT_EQ(after.at(x, y), expected) << x << "," << y;
      }
  }
  // Inverted is still an error, and BltFast cannot clip at all.
  RECT inverted{10, 10, 5, 20};
  EXPECT_EQ(primary->Blt(&inverted, source, nullptr, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
  EXPECT_EQ(primary->BltFast(0, 0, source, nullptr, DDBLTFAST_WAIT), DDERR_BLTFASTCANTCLIP);
  // The clipper lives on in the DirectDraw object, which frees it at the end.
  clipper->Release();
  source->Release();
  primary->Release();
  DestroyWindow(clipped);
}

TEST_F(DirectDrawTest, GivingExclusiveModeBackGivesTheScreenBackToTheDesktop) {
  useFullScreen();
  ASSERT_TRUE(compat::headlessScreen().exclusive());
  ASSERT_EQ(directDraw_->SetCooperativeLevel(compat::testing::testWindow(), DDSCL_NORMAL), DD_OK);
  EXPECT_FALSE(compat::headlessScreen().exclusive()) << "after the normal level";
  useFullScreen();
  EXPECT_TRUE(compat::headlessScreen().exclusive()) << "after exclusive mode again";
}

// The last Release of the exclusive object with its mode set gives the screen back to the
// desktop, with or without a flip chain still alive; releasing another, normal-level object
// meanwhile leaves the exclusive one's screen as it is.
TEST_F(DirectDrawTest, ReleasingTheExclusiveObjectGivesTheScreenBackToTheDesktop) {
  for (bool chainAlive : {false, true}) {
    SCOPED_TRACE(chainAlive ? "a flip chain still alive" : "nothing else alive");
    IDirectDraw* exclusive = nullptr;
    ASSERT_EQ(DirectDrawCreate(nullptr, &exclusive, nullptr), DD_OK);
    ASSERT_EQ(exclusive->SetCooperativeLevel(compat::testing::testWindow(),
                                             DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN),
              DD_OK);
    ASSERT_EQ(exclusive->SetDisplayMode(320, 240, 8), DD_OK);
    if (chainAlive) {
      DDSURFACEDESC desc{};
      desc.dwSize = sizeof desc;
      desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
      desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_COMPLEX | DDSCAPS_FLIP;
      desc.dwBackBufferCount = 1;
      IDirectDrawSurface* primary = nullptr;
      ASSERT_EQ(exclusive->CreateSurface(&desc, &primary, nullptr), DD_OK);
    }
    ASSERT_TRUE(compat::headlessScreen().exclusive());
    // The fixture's own object is in the normal level: its release leaves the screen alone.
    ASSERT_EQ(directDraw_->Release(), 0u);
    directDraw_ = nullptr;
    EXPECT_TRUE(compat::headlessScreen().exclusive()) << "after a normal object's release";
    EXPECT_EQ(exclusive->Release(), 0u);
    EXPECT_FALSE(compat::headlessScreen().exclusive()) << "after the exclusive object's release";
    ASSERT_EQ(DirectDrawCreate(nullptr, &directDraw_, nullptr), DD_OK);
    useWindowedMode();
  }
}

// Exclusive mode taken again, for the same window or another, with the display mode the object
// set still in force: the screen is full-screen again without a new SetDisplayMode, and the
// primary made then is the mode's size.
TEST_F(DirectDrawTest, ExclusiveModeTakenAgainWithItsModeStillSetIsFullScreenAgain) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.lpszClassName = "second exclusive";
  RegisterClassA(&windowClass);
  HWND other = CreateWindowExA(0, "second exclusive", "", WS_POPUP, 0, 0, 64, 48, nullptr, nullptr,
                               nullptr, nullptr);
  ASSERT_NE(other, nullptr);
  useFullScreen(320, 240);
  for (HWND window : {compat::testing::testWindow(), other, compat::testing::testWindow()}) {
    SCOPED_TRACE(window == other ? "another window" : "the same window");
    ASSERT_EQ(directDraw_->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
    EXPECT_FALSE(compat::headlessScreen().exclusive());
    ASSERT_EQ(directDraw_->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    EXPECT_TRUE(compat::headlessScreen().exclusive());
  }
  IDirectDrawSurface* primary = singlePrimary();
  ASSERT_NE(primary, nullptr);
  DDSURFACEDESC shown{};
  shown.dwSize = sizeof shown;
  ASSERT_EQ(primary->GetSurfaceDesc(&shown), DD_OK);
  EXPECT_EQ(shown.dwWidth, 320u);
  EXPECT_EQ(shown.dwHeight, 240u);
  primary->Release();
  DestroyWindow(other);
}
