// Blt: colour fills and 1:1 copies, and the rectangles DirectDraw refuses.
#include <optional>

#include "tests/support/direct_draw_fixture.h"

using support::Picture;
using support::readSurface;

namespace {

DDBLTFX fillEffects(DWORD colour) {
  DDBLTFX fx{};
  fx.dwSize = sizeof fx;
  fx.dwFillColor = colour;
  return fx;
}

// What a fill of `area` with `colour` makes of `before`.
Picture filled(Picture picture, const RECT& area, uint8_t colour) {
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) picture.at(x, y) = colour;
  return picture;
}

// What a copy of `from` in `source` to (x, y) makes of `dest`, pixels in [keyLow, keyHigh]
// left out when a key is given.
Picture copied(Picture dest, const Picture& source, const RECT& from, int x, int y,
               std::optional<std::pair<int, int>> key = std::nullopt) {
  for (int j = 0; j < from.bottom - from.top; ++j)
    for (int i = 0; i < from.right - from.left; ++i) {
      const uint8_t p = source.at(from.left + i, from.top + j);
      if (key && p >= key->first && p <= key->second) continue;
      dest.at(x + i, y + j) = p;
    }
  return dest;
}

}  // namespace

TEST_F(DirectDrawTest, ColourFillTakesTheLowByteOverTheWholeSurfaceOrARectangle) {
  struct Case {
    std::optional<RECT> area;
    DWORD colour;
  };
  const Case cases[] = {
      {std::nullopt, 0x1234},       // whole surface, low byte 0x34
      {RECT{2, 3, 6, 7}, 0xAB},     // interior rectangle
      {RECT{0, 0, 16, 1}, 0xFF00},  // top row, colour 0
      {RECT{15, 0, 16, 16}, 7},     // right column
      {RECT{4, 4, 4, 9}, 9},        // empty: draws nothing, succeeds
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "colour " << c.colour);
    IDirectDrawSurface* surface = patterned();
    const Picture before = readSurface(surface);
    RECT area = c.area.value_or(RECT{0, 0, 16, 16});
    DDBLTFX fx = fillEffects(c.colour);
    ASSERT_EQ(
        surface->Blt(c.area ? &area : nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx),
        DD_OK);
    const Picture expected = filled(before, area, static_cast<uint8_t>(c.colour & 0xFF));
    EXPECT_EQ(readSurface(surface), expected)
        << support::firstDifference(readSurface(surface), expected);
    surface->Release();
  }
}

TEST_F(DirectDrawTest, RectanglesThatAreInvertedOrLeaveTheSurfaceAreRefusedAndDrawNothing) {
  const RECT bad[] = {
      {5, 0, 2, 4},     {0, 5, 4, 2},   // inverted
      {-1, 0, 2, 2},    {0, -1, 2, 2},  // past the top-left
      {0, 0, 17, 4},    {0, 0, 4, 17},  // past the bottom-right
      {16, 16, 18, 18},
  };
  IDirectDrawSurface* dest = patterned();
  IDirectDrawSurface* source = patterned(100);
  const Picture before = readSurface(dest);
  DDBLTFX fx = fillEffects(0x55);
  for (RECT r : bad) {
    SCOPED_TRACE(testing::Message() << r.left << "," << r.top << "," << r.right << "," << r.bottom);
    RECT area = r;
    EXPECT_EQ(dest->Blt(&area, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx),
              DDERR_INVALIDRECT);
    // As the target of a copy from a source rectangle of the same size.
    RECT from{0, 0, r.right - r.left, r.bottom - r.top};
    if (from.right >= 0 && from.bottom >= 0 && from.right <= 16 && from.bottom <= 16) {
      EXPECT_EQ(dest->Blt(&area, source, &from, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
    }
    // As the source rectangle, onto a fitting target.
    RECT target{0, 0, std::abs(r.right - r.left), std::abs(r.bottom - r.top)};
    EXPECT_EQ(dest->Blt(&target, source, &area, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
  }
  EXPECT_EQ(readSurface(dest), before);
  dest->Release();
  source->Release();
}

TEST_F(DirectDrawTest, CopyIsOneToOneBetweenSurfaces) {
  IDirectDrawSurface* dest = patterned();
  IDirectDrawSurface* source = patterned(128);
  const Picture destBefore = readSurface(dest);
  const Picture sourcePicture = readSurface(source);

  RECT to{5, 6, 12, 9};
  RECT from{1, 2, 8, 5};
  ASSERT_EQ(dest->Blt(&to, source, &from, DDBLT_WAIT, nullptr), DD_OK);
  const Picture expected = copied(destBefore, sourcePicture, from, 5, 6);
  EXPECT_EQ(readSurface(dest), expected) << support::firstDifference(readSurface(dest), expected);
  EXPECT_EQ(readSurface(source), sourcePicture);

  // Null rectangles mean the whole surfaces.
  ASSERT_EQ(dest->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr), DD_OK);
  EXPECT_EQ(readSurface(dest), sourcePicture);
  dest->Release();
  source->Release();
}

TEST_F(DirectDrawTest, OverlappingCopyOnOneSurfaceReadsThePictureAsItWas) {
  struct Case {
    RECT to;
    RECT from;
  };
  const Case cases[] = {
      {{3, 2, 13, 12}, {1, 1, 11, 11}},  // down and right
      {{0, 0, 10, 10}, {2, 3, 12, 13}},  // up and left
      {{4, 0, 16, 16}, {0, 0, 12, 16}},  // sideways within the same rows
      {{0, 1, 16, 16}, {0, 0, 16, 15}},  // one row down
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "to " << c.to.left << "," << c.to.top);
    IDirectDrawSurface* surface = patterned();
    const Picture before = readSurface(surface);
    RECT to = c.to, from = c.from;
    ASSERT_EQ(surface->Blt(&to, surface, &from, DDBLT_WAIT, nullptr), DD_OK);
    const Picture expected = copied(before, before, c.from, c.to.left, c.to.top);
    EXPECT_EQ(readSurface(surface), expected)
        << support::firstDifference(readSurface(surface), expected);
    surface->Release();
  }
}

TEST_F(DirectDrawTest, CopyWithSourceKeyLeavesKeyedPixelsOut) {
  IDirectDrawSurface* dest = patterned(7);
  IDirectDrawSurface* source = patterned();
  DDCOLORKEY key{20, 20};
  ASSERT_EQ(source->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
  const Picture before = readSurface(dest);
  ASSERT_EQ(dest->Blt(nullptr, source, nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr), DD_OK);
  const Picture expected =
      copied(before, readSurface(source), RECT{0, 0, 16, 16}, 0, 0, std::pair{20, 20});
  EXPECT_EQ(readSurface(dest), expected) << support::firstDifference(readSurface(dest), expected);
  dest->Release();
  source->Release();
}

TEST_F(DirectDrawTest, BltRefusesWhatItCannotDo) {
  IDirectDrawSurface* dest = patterned();
  IDirectDrawSurface* source = patterned(1);
  const Picture before = readSurface(dest);
  RECT to{0, 0, 8, 8}, from{0, 0, 4, 4};
  EXPECT_EQ(dest->Blt(&to, source, &from, DDBLT_WAIT, nullptr), DDERR_NOSTRETCHHW);
  EXPECT_EQ(dest->Blt(nullptr, nullptr, nullptr, DDBLT_WAIT, nullptr), DDERR_INVALIDPARAMS);
  EXPECT_EQ(dest->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, nullptr), DDERR_INVALIDPARAMS);
  DDBLTFX wrongSize = fillEffects(3);
  wrongSize.dwSize = 100 + 8;
  EXPECT_EQ(dest->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &wrongSize), DDERR_INVALIDPARAMS);
  EXPECT_EQ(readSurface(dest), before);

  // A locked surface is busy, as destination and as source.
  DDSURFACEDESC desc{};
  desc.dwSize = sizeof desc;
  ASSERT_EQ(source->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
  DDBLTFX fx = fillEffects(1);
  EXPECT_EQ(source->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_SURFACEBUSY);
  EXPECT_EQ(dest->Blt(nullptr, source, nullptr, DDBLT_WAIT, nullptr), DDERR_SURFACEBUSY);
  ASSERT_EQ(source->Unlock(desc.lpSurface), DD_OK);
  EXPECT_EQ(readSurface(dest), before);
  dest->Release();
  source->Release();
}
