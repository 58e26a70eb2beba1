// The DirectDraw object: cooperative level, display mode, object lifetimes, lost surfaces,
// and the failures tests can ask for.
#include "tests/support/direct_draw_fixture.h"

using compat::testing::DirectDrawCall;

TEST_F(DirectDrawTest, CooperativeLevelsAreCheckedAndRecorded) {
  HWND window = compat::testing::testWindow();
  const struct {
    HWND window;
    DWORD flags;
    HRESULT result;
  } cases[] = {
      {window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN | DDSCL_ALLOWMODEX, DD_OK},  // 81
      {window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN, DD_OK},                     // 17
      {window, DDSCL_NORMAL, DD_OK},                                           // 8
      {nullptr, DDSCL_NORMAL, DD_OK},
      {nullptr, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN, DDERR_INVALIDPARAMS},
      {window, DDSCL_EXCLUSIVE, DDERR_INVALIDPARAMS},
      {window, DDSCL_FULLSCREEN, DDERR_INVALIDPARAMS},
      {window, DDSCL_NORMAL | DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN, DDERR_INVALIDPARAMS},
      {window, DDSCL_NORMAL | DDSCL_ALLOWMODEX, DDERR_INVALIDPARAMS},
      {window, 0, DDERR_INVALIDPARAMS},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flags);
    ASSERT_EQ(directDraw_->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
    EXPECT_EQ(directDraw_->SetCooperativeLevel(c.window, c.flags), c.result);
    EXPECT_EQ(compat::testing::lastCooperativeLevel(), c.result == DD_OK ? c.flags : DDSCL_NORMAL);
  }
}

TEST_F(DirectDrawTest, DisplayModeAcceptsOnlyEightBitsPerPixel) {
  const struct {
    DWORD width, height, bits;
    HRESULT result;
  } cases[] = {
      {320, 240, 8, DD_OK},
      {640, 480, 8, DD_OK},
      {320, 240, 16, DDERR_UNSUPPORTEDMODE},
      {320, 240, 24, DDERR_UNSUPPORTEDMODE},
      {320, 240, 32, DDERR_UNSUPPORTEDMODE},
      {0, 240, 8, DDERR_INVALIDMODE},
      {320, 0x80000000u, 8, DDERR_INVALIDMODE},
  };
  ASSERT_EQ(directDraw_->SetCooperativeLevel(compat::testing::testWindow(),
                                             DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN),
            DD_OK);
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << "x" << c.bits);
    ASSERT_EQ(directDraw_->SetDisplayMode(800, 600, 8), DD_OK);
    EXPECT_EQ(directDraw_->SetDisplayMode(c.width, c.height, c.bits), c.result);
    const auto mode = compat::testing::lastDisplayMode();
    ASSERT_TRUE(mode.has_value());
    EXPECT_EQ(mode->width, c.result == DD_OK ? c.width : 800u);
    EXPECT_EQ(mode->bitsPerPixel, 8u);
  }
}

TEST_F(DirectDrawTest, CreateSurfaceChecksItsDescription) {
  DDSURFACEDESC desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH;  // pitch left 0
  desc.dwWidth = 320;
  desc.dwHeight = 240;
  desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
  IDirectDrawSurface* surface = nullptr;
  ASSERT_EQ(directDraw_->CreateSurface(&desc, &surface, nullptr), DD_OK);
  DDSURFACEDESC shape{};
  shape.dwSize = sizeof shape;
  ASSERT_EQ(surface->GetSurfaceDesc(&shape), DD_OK);
  EXPECT_EQ(shape.ddsCaps.dwCaps & DDSCAPS_SYSTEMMEMORY, 0u);
  surface->Release();

  desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
  ASSERT_EQ(directDraw_->CreateSurface(&desc, &surface, nullptr), DD_OK);
  ASSERT_EQ(surface->GetSurfaceDesc(&shape), DD_OK);
  EXPECT_NE(shape.ddsCaps.dwCaps & DDSCAPS_SYSTEMMEMORY, 0u);
  EXPECT_EQ(shape.lPitch, 320);
  surface->Release();

  const struct {
    const char* name;
    DWORD size, flags, width, height;
    HRESULT result;
  } bad[] = {
      {"32-bit record size", 108, DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, 8, 8, DDERR_INVALIDPARAMS},
      {"no caps", sizeof desc, DDSD_WIDTH | DDSD_HEIGHT, 8, 8, DDERR_INVALIDPARAMS},
      {"no size", sizeof desc, DDSD_CAPS, 8, 8, DDERR_INVALIDPARAMS},
      {"zero width", sizeof desc, DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, 0, 8, DDERR_INVALIDPARAMS},
      {"absurd height", sizeof desc, DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, 8, 0xFFFFFFF0u,
       DDERR_INVALIDPARAMS},
  };
  for (const auto& c : bad) {
    SCOPED_TRACE(c.name);
    DDSURFACEDESC d{};
    d.dwSize = c.size;
    d.dwFlags = c.flags;
    d.dwWidth = c.width;
    d.dwHeight = c.height;
    d.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    IDirectDrawSurface* refused = nullptr;
    EXPECT_EQ(directDraw_->CreateSurface(&d, &refused, nullptr), c.result);
    EXPECT_EQ(refused, nullptr);
  }

  // Nothing is created before a cooperative level is set, and that is the answer whatever the
  // arguments.
  IDirectDraw* fresh = nullptr;
  ASSERT_EQ(DirectDrawCreate(nullptr, &fresh, nullptr), DD_OK);
  DDSURFACEDESC wrongSize = desc;
  wrongSize.dwSize = 5;
  const struct {
    const char* name;
    DDSURFACEDESC* desc;
    IDirectDrawSurface** out;
  } early[] = {
      {"a good description", &desc, &surface},
      {"a null description", nullptr, &surface},
      {"nowhere to put the surface", &desc, nullptr},
      {"a description of the wrong size", &wrongSize, &surface},
  };
  for (const auto& c : early) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(fresh->CreateSurface(c.desc, c.out, nullptr), DDERR_NOCOOPERATIVELEVELSET);
  }
  EXPECT_EQ(fresh->Release(), 0u);
}

TEST_F(DirectDrawTest, SurfacesOnTheCallersMemoryAreRefused) {
  unsigned char memory[16 * 16];
  const struct {
    const char* name;
    DWORD flags;
    DWORD caps;
    HRESULT result;
  } cases[] = {
      {"system memory", DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY,
       DDERR_INVALIDPARAMS},
      {"video memory", DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY,
       DDERR_INVALIDCAPS},
      {"memory left to DirectDraw", DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_OFFSCREENPLAIN,
       DDERR_INVALIDCAPS},
      {"video memory without a size", 0, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY,
       DDERR_INVALIDPARAMS},
      {"the primary", 0, DDSCAPS_PRIMARYSURFACE, DDERR_INVALIDCAPS},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_LPSURFACE | c.flags;
    desc.dwWidth = desc.dwHeight = 16;
    desc.lpSurface = memory;
    desc.ddsCaps.dwCaps = c.caps;
    IDirectDrawSurface* surface = nullptr;
    EXPECT_EQ(directDraw_->CreateSurface(&desc, &surface, nullptr), c.result);
    EXPECT_EQ(surface, nullptr);
  }
  EXPECT_EQ(compat::testing::liveObjects().surfaces, 0);
}

TEST_F(DirectDrawTest, ReferenceCountsAndTheOwnersLastReleaseFreeEverything) {
  IDirectDrawSurface* surface = patterned();
  EXPECT_EQ(surface->AddRef(), 2u);
  EXPECT_EQ(surface->Release(), 1u);
  PALETTEENTRY colours[256] = {};
  IDirectDrawPalette* palette = nullptr;
  ASSERT_EQ(directDraw_->CreatePalette(DDPCAPS_8BIT, colours, &palette, nullptr), DD_OK);
  ASSERT_EQ(surface->SetPalette(palette), DD_OK);
  // The surface holds its own reference on the palette.
  EXPECT_EQ(palette->Release(), 1u);
  IDirectDrawClipper* clipper = nullptr;
  ASSERT_EQ(directDraw_->CreateClipper(0, &clipper, nullptr), DD_OK);
  EXPECT_EQ(compat::testing::liveObjects(), (compat::testing::LiveObjects{1, 1, 1, 1}));

  // Releasing the DirectDraw object frees the surface, the palette and the clipper with it;
  // the fixture checks that nothing is left.
  EXPECT_EQ(directDraw_->AddRef(), 2u);
  EXPECT_EQ(directDraw_->Release(), 1u);
}

TEST_F(DirectDrawTest, LostSurfacesRefuseWorkUntilRestored) {
  IDirectDrawSurface* surface = patterned();
  IDirectDrawSurface* healthy = patterned(1);
  compat::testing::loseSurface(surface);
  EXPECT_EQ(surface->IsLost(), DDERR_SURFACELOST);
  EXPECT_EQ(healthy->IsLost(), DD_OK);
  DDSURFACEDESC desc{};
  desc.dwSize = sizeof desc;
  EXPECT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DDERR_SURFACELOST);
  DDBLTFX fx{};
  fx.dwSize = sizeof fx;
  EXPECT_EQ(surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_SURFACELOST);
  EXPECT_EQ(surface->BltFast(0, 0, healthy, nullptr, 0), DDERR_SURFACELOST);
  EXPECT_EQ(healthy->BltFast(0, 0, surface, nullptr, 0), DDERR_SURFACELOST);
  EXPECT_EQ(surface->Restore(), DD_OK);
  EXPECT_EQ(surface->IsLost(), DD_OK);
  EXPECT_EQ(healthy->BltFast(0, 0, surface, nullptr, 0), DD_OK);
  surface->Release();
  healthy->Release();
}

// Exclusive mode taken for a window it was not last taken for takes the display's memory: the
// primary and video-memory surfaces are lost, system-memory surfaces are not.
TEST_F(DirectDrawTest, TakingExclusiveModeLosesThePrimaryAndVideoMemory) {
  IDirectDrawSurface* primary = singlePrimary();
  ASSERT_NE(primary, nullptr);
  IDirectDrawSurface* system = offscreen(16, 16);
  IDirectDrawSurface* video =
      support::createOffscreen(directDraw_, 16, 16, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY);
  IDirectDrawSurface* unspecified =
      support::createOffscreen(directDraw_, 16, 16, DDSCAPS_OFFSCREENPLAIN);
  struct Expected {
    HRESULT primary, system, video;
  };
  auto expectLost = [&](const char* when, Expected e) {
    SCOPED_TRACE(when);
    EXPECT_EQ(primary->IsLost(), e.primary);
    EXPECT_EQ(system->IsLost(), e.system);
    EXPECT_EQ(video->IsLost(), e.video);
    EXPECT_EQ(unspecified->IsLost(), e.video);  // DirectDraw puts it in video memory
  };
  const Expected lost{DDERR_SURFACELOST, DD_OK, DDERR_SURFACELOST};
  const Expected kept{DD_OK, DD_OK, DD_OK};
  expectLost("normal", kept);
  HWND window = compat::testing::testWindow();
  ASSERT_EQ(directDraw_->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
  expectLost("exclusive taken", lost);
  PALETTEENTRY colours[256] = {};
  IDirectDrawPalette* palette = nullptr;
  ASSERT_EQ(directDraw_->CreatePalette(DDPCAPS_8BIT, colours, &palette, nullptr), DD_OK);
  EXPECT_EQ(primary->SetPalette(palette), DDERR_SURFACELOST);
  for (IDirectDrawSurface* s : {primary, video, unspecified}) ASSERT_EQ(s->Restore(), DD_OK);
  expectLost("restored", kept);
  EXPECT_EQ(primary->SetPalette(palette), DD_OK);

  // Back to normal and exclusive again for the same window: the display stays the program's.
  ASSERT_EQ(directDraw_->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
  ASSERT_EQ(directDraw_->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
  expectLost("exclusive again for the same window", kept);
  // A display mode takes the memory too.
  ASSERT_EQ(directDraw_->SetDisplayMode(320, 240, 8), DD_OK);
  expectLost("a display mode set", lost);
  palette->Release();
}

TEST_F(DirectDrawTest, RequestedFailuresFireOnTheChosenCallAndDoNothing) {
  compat::testing::failCall(DirectDrawCall::CreateSurface, DDERR_OUTOFMEMORY, 1);
  IDirectDrawSurface* first = offscreen(8, 8);
  ASSERT_NE(first, nullptr);
  DDSURFACEDESC desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  desc.dwWidth = desc.dwHeight = 8;
  desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
  IDirectDrawSurface* second = nullptr;
  EXPECT_EQ(directDraw_->CreateSurface(&desc, &second, nullptr), DDERR_OUTOFMEMORY);
  EXPECT_EQ(second, nullptr);
  EXPECT_EQ(compat::testing::liveObjects().surfaces, 1);
  // The failure fired once; the next call succeeds.
  EXPECT_EQ(directDraw_->CreateSurface(&desc, &second, nullptr), DD_OK);

  compat::testing::failCall(DirectDrawCall::Lock, DDERR_SURFACEBUSY);
  DDSURFACEDESC lock{};
  lock.dwSize = sizeof lock;
  EXPECT_EQ(first->Lock(nullptr, &lock, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
  EXPECT_EQ(lock.lpSurface, nullptr);
  EXPECT_EQ(first->Unlock(nullptr), DDERR_NOTLOCKED);

  compat::testing::failCall(DirectDrawCall::DirectDrawCreate, DDERR_NODIRECTDRAWHW);
  IDirectDraw* another = nullptr;
  EXPECT_EQ(DirectDrawCreate(nullptr, &another, nullptr), DDERR_NODIRECTDRAWHW);
  EXPECT_EQ(another, nullptr);
  first->Release();
  second->Release();
}
