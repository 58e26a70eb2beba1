// Object lifetimes across surfaces, palettes, clippers and DirectDraw objects: references a
// caller gives back too often, objects of one DirectDraw object attached to another's surface,
// and what a surface's release gives back. Run under the sanitizers, a use of freed memory
// here fails the test.
#include <cstdlib>
#include <string>

#include "platform/headless/headless_screen.h"
#include "tests/support/direct_draw_fixture.h"

namespace {

enum class Attached { Palette, Clipper };

const char* nameOf(Attached kind) { return kind == Attached::Palette ? "palette" : "clipper"; }

// A palette whose entry i is the grey (i, i, i).
IDirectDrawPalette* greyPalette(IDirectDraw* directDraw) {
  PALETTEENTRY colours[256];
  for (int i = 0; i < 256; ++i) {
    const BYTE level = static_cast<BYTE>(i);
    colours[i] = {level, level, level, 0};
  }
  IDirectDrawPalette* palette = nullptr;
  EXPECT_EQ(directDraw->CreatePalette(DDPCAPS_8BIT, colours, &palette, nullptr), DD_OK);
  return palette;
}

IDirectDrawClipper* windowClipper(IDirectDraw* directDraw) {
  IDirectDrawClipper* clipper = nullptr;
  EXPECT_EQ(directDraw->CreateClipper(0, &clipper, nullptr), DD_OK);
  if (clipper != nullptr) {
    EXPECT_EQ(clipper->SetHWnd(0, compat::testing::testWindow()), DD_OK);
  }
  return clipper;
}

DDSURFACEDESC flipChainDescription() {
  DDSURFACEDESC desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_COMPLEX | DDSCAPS_FLIP;
  desc.dwBackBufferCount = 1;
  return desc;
}

}  // namespace

// The caller releases the primary's palette (or clipper) twice, its own reference and the
// surface's, then the back buffer, the primary and DirectDraw, in that order: every count
// answers as DirectDraw's does, and nothing touches the freed object.
TEST_F(DirectDrawTest, AReferenceTheCallerStealsFromThePrimaryLeavesNothingDangling) {
  for (Attached kind : {Attached::Palette, Attached::Clipper}) {
    SCOPED_TRACE(nameOf(kind));
    IDirectDraw* directDraw = nullptr;
    ASSERT_EQ(DirectDrawCreate(nullptr, &directDraw, nullptr), DD_OK);
    ASSERT_EQ(directDraw->SetCooperativeLevel(compat::testing::testWindow(),
                                              DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN),
              DD_OK);
    ASSERT_EQ(directDraw->SetDisplayMode(320, 240, 8), DD_OK);
    DDSURFACEDESC desc = flipChainDescription();
    IDirectDrawSurface* primary = nullptr;
    ASSERT_EQ(directDraw->CreateSurface(&desc, &primary, nullptr), DD_OK);
    DDSCAPS backCaps{DDSCAPS_BACKBUFFER};
    IDirectDrawSurface* back = nullptr;
    ASSERT_EQ(primary->GetAttachedSurface(&backCaps, &back), DD_OK);

    IUnknown* object = nullptr;
    if (kind == Attached::Palette) {
      IDirectDrawPalette* palette = greyPalette(directDraw);
      ASSERT_EQ(primary->SetPalette(palette), DD_OK);
      object = palette;
    } else {
      IDirectDrawClipper* clipper = windowClipper(directDraw);
      ASSERT_EQ(primary->SetClipper(clipper), DD_OK);
      object = clipper;
    }
    EXPECT_EQ(object->Release(), 1u);
    EXPECT_EQ(object->Release(), 0u);  // the surface's reference: the object is freed
    EXPECT_EQ(compat::testing::liveObjects().palettes + compat::testing::liveObjects().clippers, 0);

    // The primary goes on working without it: a DC, a fill, a flip.
    HDC dc = nullptr;
    ASSERT_EQ(primary->GetDC(&dc), DD_OK);
    EXPECT_EQ(SetPixel(dc, 0, 0, RGB(0, 0, 0)), RGB(0, 0, 0));
    ASSERT_EQ(primary->ReleaseDC(dc), DD_OK);
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = 9;
    EXPECT_EQ(primary->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
    EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);

    EXPECT_EQ(back->Release(), 1u);
    EXPECT_EQ(primary->Release(), 0u);
    EXPECT_EQ(directDraw->Release(), 0u);
  }
}

// A palette (or clipper) held by two surfaces, the primary the second, and released by the
// caller for itself and for both surfaces: freed, it must leave neither surface pointing at it.
// The primary then draws, blits and is released, none of which may touch the freed object.
TEST_F(DirectDrawTest, AnObjectReleasedForTwoHoldersLeavesNeitherPointingAtIt) {
  for (Attached kind : {Attached::Palette, Attached::Clipper}) {
    SCOPED_TRACE(nameOf(kind));
    IDirectDrawSurface* first = offscreen(16, 16);
    IDirectDrawSurface* primary = singlePrimary();
    ASSERT_NE(primary, nullptr);
    IUnknown* object = nullptr;
    if (kind == Attached::Palette) {
      IDirectDrawPalette* palette = greyPalette(directDraw_);
      ASSERT_EQ(first->SetPalette(palette), DD_OK);
      ASSERT_EQ(primary->SetPalette(palette), DD_OK);
      object = palette;
    } else {
      IDirectDrawClipper* clipper = windowClipper(directDraw_);
      ASSERT_EQ(first->SetClipper(clipper), DD_OK);
      ASSERT_EQ(primary->SetClipper(clipper), DD_OK);
      object = clipper;
    }
    EXPECT_EQ(object->Release(), 2u);
    EXPECT_EQ(object->Release(), 1u);
    EXPECT_EQ(object->Release(), 0u);
    const compat::testing::LiveObjects live = compat::testing::liveObjects();
    EXPECT_EQ(live.palettes + live.clippers, 0);

    for (IDirectDrawSurface* holder : {first, primary}) {
      HDC dc = nullptr;
      ASSERT_EQ(holder->GetDC(&dc), DD_OK);
      EXPECT_EQ(SetPixel(dc, 1, 1, RGB(0, 0, 0)), RGB(0, 0, 0));
      ASSERT_EQ(holder->ReleaseDC(dc), DD_OK);
      DDBLTFX fx{};
      fx.dwSize = sizeof fx;
      fx.dwFillColor = 9;
      RECT area{0, 0, 8, 8};
      EXPECT_EQ(holder->Blt(&area, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
    }
    EXPECT_EQ(first->Release(), 0u);
    EXPECT_EQ(primary->Release(), 0u);
  }
}

// A palette and a clipper made by one DirectDraw object, attached to a surface of another, and
// the first object released: DirectDraw accepts the attachment, and the surface goes on with
// them, so they live on with the surface's object until it lets them go.
TEST_F(DirectDrawTest, ObjectsAttachedToAnotherDirectDrawObjectsSurfaceOutliveTheirMaker) {
  for (bool callerKeepsItsReferences : {true, false}) {
    SCOPED_TRACE(callerKeepsItsReferences ? "the caller keeps its references"
                                          : "only the surface holds them");
    IDirectDraw* maker = nullptr;
    ASSERT_EQ(DirectDrawCreate(nullptr, &maker, nullptr), DD_OK);
    ASSERT_EQ(maker->SetCooperativeLevel(compat::testing::testWindow(), DDSCL_NORMAL), DD_OK);
    IDirectDrawPalette* palette = greyPalette(maker);
    IDirectDrawClipper* clipper = windowClipper(maker);
    IDirectDrawSurface* surface = offscreen(16, 16);
    ASSERT_EQ(surface->SetPalette(palette), DD_OK);
    ASSERT_EQ(surface->SetClipper(clipper), DD_OK);
    if (!callerKeepsItsReferences) {
      EXPECT_EQ(palette->Release(), 1u);
      EXPECT_EQ(clipper->Release(), 1u);
    }
    EXPECT_EQ(maker->Release(), 0u);
    EXPECT_EQ(compat::testing::liveObjects(), (compat::testing::LiveObjects{1, 1, 1, 1}));

    // The surface still matches colours into the palette and clips to the clipper's window.
    HDC dc = nullptr;
    ASSERT_EQ(surface->GetDC(&dc), DD_OK);
    EXPECT_EQ(SetPixel(dc, 3, 3, RGB(50, 50, 50)), RGB(50, 50, 50));
    ASSERT_EQ(surface->ReleaseDC(dc), DD_OK);
    EXPECT_EQ(support::readSurface(surface).at(3, 3), 50);
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = 7;
    EXPECT_EQ(surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
    EXPECT_EQ(support::readSurface(surface).at(15, 15), 7);

    if (callerKeepsItsReferences) {
      EXPECT_EQ(palette->AddRef(), 3u);
      EXPECT_EQ(palette->Release(), 2u);
    }
    EXPECT_EQ(surface->Release(), 0u);
    if (callerKeepsItsReferences) {
      EXPECT_EQ(palette->Release(), 0u);
      EXPECT_EQ(clipper->Release(), 0u);
    }
    EXPECT_EQ(compat::testing::liveObjects(), (compat::testing::LiveObjects{1, 0, 0, 0}));
  }
}

// The same palette on the primary of another DirectDraw object is the screen's palette: its
// changes show at once, and the screen's object frees it with itself.
TEST_F(DirectDrawTest, APaletteOfAnotherDirectDrawObjectOnThePrimaryIsTheScreens) {
  useFullScreen();
  IDirectDrawSurface* primary = singlePrimary();
  ASSERT_NE(primary, nullptr);
  IDirectDraw* maker = nullptr;
  ASSERT_EQ(DirectDrawCreate(nullptr, &maker, nullptr), DD_OK);
  IDirectDrawPalette* palette = greyPalette(maker);
  ASSERT_EQ(primary->SetPalette(palette), DD_OK);
  EXPECT_EQ(palette->Release(), 1u);
  EXPECT_EQ(maker->Release(), 0u);
  PALETTEENTRY changed{200, 10, 20, 0};
  ASSERT_EQ(palette->SetEntries(0, 100, 1, &changed), DD_OK);
  EXPECT_EQ(compat::headlessScreen().shownPalette()[100].red, 200);
  EXPECT_EQ(compat::headlessScreen().shownPalette()[101].red, 101);
  // The fixture's release frees the primary and the palette it holds.
}

// Releasing a surface gives back the references it holds on its palette and clipper.
TEST_F(DirectDrawTest, ReleasingASurfaceGivesBackItsPaletteAndClipper) {
  IDirectDrawSurface* surface = offscreen(16, 16);
  IDirectDrawPalette* palette = greyPalette(directDraw_);
  IDirectDrawClipper* clipper = windowClipper(directDraw_);
  ASSERT_EQ(surface->SetPalette(palette), DD_OK);
  ASSERT_EQ(surface->SetClipper(clipper), DD_OK);
  EXPECT_EQ(palette->AddRef(), 3u);
  EXPECT_EQ(palette->Release(), 2u);
  EXPECT_EQ(clipper->AddRef(), 3u);
  EXPECT_EQ(clipper->Release(), 2u);
  EXPECT_EQ(surface->Release(), 0u);
  EXPECT_EQ(palette->AddRef(), 2u);
  EXPECT_EQ(palette->Release(), 1u);
  EXPECT_EQ(clipper->AddRef(), 2u);
  EXPECT_EQ(clipper->Release(), 1u);
  EXPECT_EQ(palette->Release(), 0u);
  EXPECT_EQ(clipper->Release(), 0u);
  EXPECT_EQ(compat::testing::liveObjects(), (compat::testing::LiveObjects{1, 0, 0, 0}));
}

// A program's global that holds DirectDraw objects and releases them in its destructor, as a
// C++ program on Windows may: made before the first DirectDrawCreate, it is destroyed after
// everything made later, the layer's own bookkeeping included.
TEST(DirectDrawAtExit, AGlobalReleasedInItsDestructorFindsItsObjects) {
  struct Holder {
    IDirectDraw* directDraw = nullptr;
    IDirectDrawSurface* surface = nullptr;
    ~Holder() {
      if (surface != nullptr) surface->Release();
      if (directDraw != nullptr) directDraw->Release();
    }
  };
  EXPECT_EXIT(
      {
        static Holder holder;
        if (DirectDrawCreate(nullptr, &holder.directDraw, nullptr) != DD_OK) std::exit(2);
        holder.directDraw->SetCooperativeLevel(compat::testing::testWindow(), DDSCL_NORMAL);
        holder.surface = support::createOffscreen(holder.directDraw, 16, 16);
        std::exit(3);
      },
      testing::ExitedWithCode(3), "");
}

// A program that ends (exit, as a fatal error does) with DirectDraw objects still alive, with
// palettes, clippers and surfaces each, a device context out on every surface: the process ends
// cleanly, nothing touching memory freed before it at exit.
TEST(DirectDrawAtExit, ObjectsStillAliveWhenTheProgramExitsLetItEndCleanly) {
  const auto exitWithObjectsAlive = [] {
    for (int i = 0; i < 3; ++i) {
      IDirectDraw* directDraw = nullptr;
      if (DirectDrawCreate(nullptr, &directDraw, nullptr) != DD_OK) std::_Exit(2);
      directDraw->SetCooperativeLevel(compat::testing::testWindow(), DDSCL_NORMAL);
      IDirectDrawSurface* surface = support::createOffscreen(directDraw, 16, 16);
      IDirectDrawPalette* palette = greyPalette(directDraw);
      IDirectDrawClipper* clipper = windowClipper(directDraw);
      surface->SetPalette(palette);
      surface->SetClipper(clipper);
      HDC dc = nullptr;
      if (surface->GetDC(&dc) != DD_OK) std::_Exit(3);
    }
    std::exit(0);
  };
  EXPECT_EXIT(exitWithObjectsAlive(), testing::ExitedWithCode(0), "");
}
