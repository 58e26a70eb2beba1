// Device contexts of DirectDraw surfaces over time: the colours a context is given when GetDC
// hands it out, and the end of a context whose surface is released without ReleaseDC.
#include <vector>

#include "tests/support/direct_draw_fixture.h"

using support::readSurface;

namespace {

// Every entry a colour of its own: entry i is (i, 255 - i, i / 2).
struct Ramp {
  PALETTEENTRY entries[256];
  Ramp() {
    for (int i = 0; i < 256; ++i)
      entries[i] = {static_cast<BYTE>(i), static_cast<BYTE>(255 - i), static_cast<BYTE>(i / 2), 0};
  }
};

// The entry of least squared RGB distance, the lowest on ties: worked out here on its own.
uint8_t nearestIndex(const PALETTEENTRY* entries, COLORREF colour) {
  int best = 0;
  long bestDistance = -1;
  for (int i = 0; i < 256; ++i) {
    const long dr = entries[i].peRed - GetRValue(colour);
    const long dg = entries[i].peGreen - GetGValue(colour);
    const long db = entries[i].peBlue - GetBValue(colour);
    const long distance = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return static_cast<uint8_t>(best);
}

IDirectDrawPalette* rampPalette(IDirectDraw* directDraw) {
  Ramp ramp;
  IDirectDrawPalette* palette = nullptr;
  EXPECT_EQ(
      directDraw->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, ramp.entries, &palette, nullptr),
      DD_OK);
  return palette;
}

// The index SetPixel leaves at (0, 0) through `dc`, which is then given back.
uint8_t drawnThrough(IDirectDrawSurface* surface, HDC dc, COLORREF colour) {
  SetPixel(dc, 0, 0, colour);
  EXPECT_EQ(surface->ReleaseDC(dc), DD_OK);
  return readSurface(surface).at(0, 0);
}

uint8_t drawnThroughANewContext(IDirectDrawSurface* surface, COLORREF colour) {
  HDC dc = nullptr;
  EXPECT_EQ(surface->GetDC(&dc), DD_OK);
  return drawnThrough(surface, dc, colour);
}

struct EntryChange {
  const char* name;
  IDirectDrawSurface* surface;
  IDirectDrawPalette* palette;  // the palette whose entry changes while the context is out
  DWORD entry;
};

// A context taken before the palette entry changes keeps matching into the old colours; the
// next context matches into the new ones.
void checkContextsKeepTheirColours(const std::vector<EntryChange>& cases) {
  const Ramp ramp;
  BYTE blue = 30;
  for (const EntryChange& c : cases) {
    SCOPED_TRACE(c.name);
    PALETTEENTRY changed{10, 20, blue++, 0};
    const COLORREF colour = RGB(changed.peRed, changed.peGreen, changed.peBlue);
    HDC dc = nullptr;
    ASSERT_EQ(c.surface->GetDC(&dc), DD_OK);
    ASSERT_EQ(c.palette->SetEntries(0, c.entry, 1, &changed), DD_OK);
    EXPECT_EQ(drawnThrough(c.surface, dc, colour), nearestIndex(ramp.entries, colour));
    EXPECT_EQ(drawnThroughANewContext(c.surface, colour), c.entry);
    PALETTEENTRY original = ramp.entries[c.entry];
    ASSERT_EQ(c.palette->SetEntries(0, c.entry, 1, &original), DD_OK);
  }
}

}  // namespace

TEST_F(DirectDrawTest, AWindowedContextKeepsItsColoursUntilItIsTakenAgain) {
  IDirectDrawSurface* surface = offscreen(16, 16);
  IDirectDrawPalette* palette = rampPalette(directDraw_);
  ASSERT_EQ(surface->SetPalette(palette), DD_OK);
  checkContextsKeepTheirColours(
      {{"SetEntries on the surface's own palette", surface, palette, 100}});

  // Another palette set while a context is out reaches only the next context.
  Ramp other;
  other.entries[200] = {77, 88, 99, 0};
  IDirectDrawPalette* replacement = nullptr;
  ASSERT_EQ(directDraw_->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, other.entries, &replacement,
                                       nullptr),
            DD_OK);
  HDC dc = nullptr;
  ASSERT_EQ(surface->GetDC(&dc), DD_OK);
  ASSERT_EQ(surface->SetPalette(replacement), DD_OK);
  const COLORREF colour = RGB(77, 88, 99);
  EXPECT_EQ(drawnThrough(surface, dc, colour), nearestIndex(Ramp().entries, colour));
  EXPECT_EQ(drawnThroughANewContext(surface, colour), 200);
  palette->Release();
  replacement->Release();
  surface->Release();
}

TEST_F(DirectDrawTest, AFullScreenContextKeepsItsColoursUntilItIsTakenAgain) {
  useFullScreen();
  DDSURFACEDESC desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_COMPLEX | DDSCAPS_FLIP;
  desc.dwBackBufferCount = 1;
  IDirectDrawSurface* primary = nullptr;
  ASSERT_EQ(directDraw_->CreateSurface(&desc, &primary, nullptr), DD_OK);
  DDSCAPS backCaps{DDSCAPS_BACKBUFFER};
  IDirectDrawSurface* back = nullptr;
  ASSERT_EQ(primary->GetAttachedSurface(&backCaps, &back), DD_OK);
  IDirectDrawPalette* screen = rampPalette(directDraw_);
  ASSERT_EQ(primary->SetPalette(screen), DD_OK);
  IDirectDrawSurface* ownColours = offscreen(16, 16);
  IDirectDrawPalette* own = rampPalette(directDraw_);
  ASSERT_EQ(ownColours->SetPalette(own), DD_OK);
  IDirectDrawSurface* inScreenColours = offscreen(16, 16);
  checkContextsKeepTheirColours({
      {"the primary", primary, screen, 100},
      {"the back buffer, in the primary's colours", back, screen, 101},
      {"an offscreen surface with its own palette", ownColours, own, 102},
      {"an offscreen surface in the primary's colours", inScreenColours, screen, 150},
  });
  back->Release();
}

// A surface released, or its DirectDraw object, with a context still out: the context ends with
// the surface, and GDI refuses the handle as it refuses a deleted context.
TEST_F(DirectDrawTest, AContextEndsWithItsSurface) {
  for (bool wholeDirectDraw : {false, true}) {
    SCOPED_TRACE(wholeDirectDraw ? "the DirectDraw object released" : "the surface released");
    IDirectDraw* directDraw = nullptr;
    ASSERT_EQ(DirectDrawCreate(nullptr, &directDraw, nullptr), DD_OK);
    ASSERT_EQ(directDraw->SetCooperativeLevel(compat::testing::testWindow(), DDSCL_NORMAL), DD_OK);
    IDirectDrawSurface* surface = support::createOffscreen(directDraw, 16, 16);
    HDC dc = nullptr;
    ASSERT_EQ(surface->GetDC(&dc), DD_OK);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    ASSERT_NE(SelectObject(dc, pen), nullptr);
    EXPECT_EQ(SetPixel(dc, 1, 1, RGB(255, 255, 255)), RGB(255, 255, 255));
    if (wholeDirectDraw) {
      EXPECT_EQ(directDraw->Release(), 0u);
    } else {
      EXPECT_EQ(surface->Release(), 0u);
      EXPECT_EQ(directDraw->Release(), 0u);
    }
    EXPECT_EQ(SetPixel(dc, 1, 1, RGB(255, 255, 255)), CLR_INVALID);
    EXPECT_EQ(GetPixel(dc, 1, 1), CLR_INVALID);
    EXPECT_FALSE(TextOutA(dc, 0, 0, "x", 1));
    EXPECT_EQ(SetTextColor(dc, RGB(1, 2, 3)), CLR_INVALID);
    EXPECT_EQ(SetBkMode(dc, TRANSPARENT), 0);
    EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), nullptr);
    EXPECT_FALSE(DeleteDC(dc));
    // What was selected into the ended context is free to go.
    EXPECT_TRUE(DeleteObject(pen));
  }
}
