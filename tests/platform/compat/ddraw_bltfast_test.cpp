// BltFast: unclipped 1:1 copies at a position, with and without the source colour key.
#include <optional>
#include <utility>

#include "tests/support/direct_draw_fixture.h"

using support::Picture;
using support::readSurface;

namespace {

constexpr DWORD minusOne = static_cast<DWORD>(-1);

struct Case {
  const char* name;
  DWORD x;
  DWORD y;
  std::optional<RECT> from;
  DWORD flags;
  HRESULT result;
};

}  // namespace

TEST_F(DirectDrawTest, BltFastCopiesOrRefusesAsItsRectanglesAllow) {
  const Case cases[] = {
      {"whole source", 0, 0, std::nullopt, DDBLTFAST_WAIT, DD_OK},
      {"part to an offset", 9, 4, RECT{2, 3, 9, 12}, DDBLTFAST_WAIT, DD_OK},
      {"reaching the far corner", 12, 12, RECT{0, 0, 4, 4}, DDBLTFAST_NOCOLORKEY, DD_OK},
      {"keyed", 1, 1, RECT{0, 0, 15, 15}, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT, DD_OK},
      {"past the right edge", 10, 0, RECT{0, 0, 8, 2}, DDBLTFAST_WAIT, DDERR_INVALIDRECT},
      {"past the bottom", 0, 15, RECT{0, 0, 2, 2}, DDBLTFAST_WAIT, DDERR_INVALIDRECT},
      {"whole source off by one", 1, 0, std::nullopt, DDBLTFAST_WAIT, DDERR_INVALIDRECT},
      {"negative x", minusOne, 0, RECT{0, 0, 2, 2}, DDBLTFAST_WAIT, DDERR_INVALIDRECT},
      {"negative y", 0, minusOne, RECT{0, 0, 2, 2}, DDBLTFAST_WAIT, DDERR_INVALIDRECT},
      {"source outside", 0, 0, RECT{10, 10, 18, 12}, DDBLTFAST_WAIT, DDERR_INVALIDRECT},
      {"source negative", 0, 0, RECT{-2, 0, 2, 2}, DDBLTFAST_WAIT, DDERR_INVALIDRECT},
      {"source inverted", 0, 0, RECT{4, 4, 2, 6}, DDBLTFAST_WAIT, DDERR_INVALIDRECT},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    IDirectDrawSurface* dest = patterned(200);
    IDirectDrawSurface* source = patterned();
    // Colour 0 is the transparent index; the pattern holds it once, at (0, 0).
    DDCOLORKEY key{0, 0};
    ASSERT_EQ(source->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    const Picture before = readSurface(dest);
    const Picture sourcePicture = readSurface(source);
    RECT from = c.from.value_or(RECT{0, 0, 16, 16});
    ASSERT_EQ(dest->BltFast(c.x, c.y, source, c.from ? &from : nullptr, c.flags), c.result);

    Picture expected = before;
    if (c.result == DD_OK)
      for (int j = 0; j < from.bottom - from.top; ++j)
        for (int i = 0; i < from.right - from.left; ++i) {
          const uint8_t p = sourcePicture.at(from.left + i, from.top + j);
          if ((c.flags & DDBLTFAST_SRCCOLORKEY) && p == 0) continue;
          expected.at(static_cast<int>(c.x) + i, static_cast<int>(c.y) + j) = p;
        }
    EXPECT_EQ(readSurface(dest), expected) << support::firstDifference(readSurface(dest), expected);
    dest->Release();
    source->Release();
  }
}

TEST_F(DirectDrawTest, SourceKeysAreSingleColoursAndAKeylessSurfaceCountsAsKeyedOnZero) {
  IDirectDrawSurface* source = patterned();
  // A range is refused, and leaves the surface as it was: without a key.
  DDCOLORKEY range{16, 47};
  EXPECT_EQ(source->SetColorKey(DDCKEY_SRCBLT | DDCKEY_COLORSPACE, &range), DDERR_NOCOLORKEYHW);
  const struct {
    const char* name;
    const DDCOLORKEY* key;  // null: no key
    uint8_t leftOut;
  } cases[] = {
      {"no key: colour 0", nullptr, 0},
      {"the low value of a key", &range, 16},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(source->SetColorKey(DDCKEY_SRCBLT, const_cast<DDCOLORKEY*>(c.key)), DD_OK);
    IDirectDrawSurface* dest = offscreen(16, 16);
    support::writeSurface(dest, [](int, int) { return uint8_t{0xAB}; });
    ASSERT_EQ(dest->BltFast(0, 0, source, nullptr, DDBLTFAST_SRCCOLORKEY), DD_OK);
    const Picture result = readSurface(dest);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        const uint8_t p = support::patternAt(x, y);
        ASSERT_EQ(result.at(x, y), p == c.leftOut ? 0xAB : p) << x << "," << y;
      }
    dest->Release();
  }
  source->Release();
}

// DDCKEY_COLORSPACE asks for a range: one of a single colour is that colour, and a wider one
// is refused and leaves the key the surface had.
TEST_F(DirectDrawTest, AColourSpaceKeyOfOneColourIsASingleKeyAndARefusedRangeChangesNothing) {
  IDirectDrawSurface* source = patterned();
  auto keyOf = [&]() -> std::optional<std::pair<DWORD, DWORD>> {
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    EXPECT_EQ(source->GetSurfaceDesc(&desc), DD_OK);
    if (!(desc.dwFlags & DDSD_CKSRCBLT)) return std::nullopt;
    return std::pair{desc.ddckCKSrcBlt.dwColorSpaceLowValue,
                     desc.ddckCKSrcBlt.dwColorSpaceHighValue};
  };
  const struct {
    const char* name;
    DWORD flags;
    DDCOLORKEY key;
    HRESULT result;
    std::optional<std::pair<DWORD, DWORD>> keyAfter;
  } cases[] = {
      {"a range refused while there is no key",
       DDCKEY_COLORSPACE,
       {16, 47},
       DDERR_NOCOLORKEYHW,
       std::nullopt},
      {"a single key", 0, {5, 5}, DD_OK, std::pair{5u, 5u}},
      {"a range of one colour", DDCKEY_COLORSPACE, {9, 9}, DD_OK, std::pair{9u, 9u}},
      {"a range refused", DDCKEY_COLORSPACE, {16, 47}, DDERR_NOCOLORKEYHW, std::pair{9u, 9u}},
      {"an inverted range refused",
       DDCKEY_COLORSPACE,
       {47, 16},
       DDERR_NOCOLORKEYHW,
       std::pair{9u, 9u}},
      {"without DDCKEY_COLORSPACE the high value does not count",
       0,
       {20, 30},
       DD_OK,
       std::pair{20u, 20u}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DDCOLORKEY key = c.key;
    EXPECT_EQ(source->SetColorKey(DDCKEY_SRCBLT | c.flags, &key), c.result);
    EXPECT_EQ(keyOf(), c.keyAfter);
    // The key the surface holds is the one a keyed copy leaves out.
    const int leftOut = c.keyAfter ? static_cast<int>(c.keyAfter->first) : 0;
    IDirectDrawSurface* dest = offscreen(16, 16);
    support::writeSurface(dest, [](int, int) { return uint8_t{0xAB}; });
    ASSERT_EQ(dest->BltFast(0, 0, source, nullptr, DDBLTFAST_SRCCOLORKEY), DD_OK);
    const Picture result = readSurface(dest);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        const uint8_t p = support::patternAt(x, y);
        ASSERT_EQ(result.at(x, y), p == leftOut ? 0xAB : p) << x << "," << y;
      }
    dest->Release();
  }
  source->Release();
}

TEST_F(DirectDrawTest, EachSingleKeyValueIsLeftOutByBothCopies) {
  IDirectDrawSurface* source = patterned();  // each index once
  for (DWORD keyValue : {0u, 1u, 128u, 254u, 255u}) {
    SCOPED_TRACE(keyValue);
    DDCOLORKEY key{keyValue, keyValue};
    ASSERT_EQ(source->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    for (bool fast : {true, false}) {
      SCOPED_TRACE(fast ? "BltFast" : "Blt");
      IDirectDrawSurface* dest = offscreen(16, 16);
      support::writeSurface(dest, [](int, int) { return uint8_t{0xAB}; });
      if (fast) {
        ASSERT_EQ(dest->BltFast(0, 0, source, nullptr, DDBLTFAST_SRCCOLORKEY), DD_OK);
      } else {
        ASSERT_EQ(dest->Blt(nullptr, source, nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr), DD_OK);
      }
      const Picture result = readSurface(dest);
      for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
          const uint8_t p = support::patternAt(x, y);
          ASSERT_EQ(result.at(x, y), p == keyValue ? 0xAB : p) << x << "," << y;
        }
      dest->Release();
    }
  }
  source->Release();
}

TEST_F(DirectDrawTest, BltFastOnOneSurfaceMovesAPartOfIt) {
  IDirectDrawSurface* surface = patterned();
  const Picture before = readSurface(surface);
  RECT from{0, 0, 12, 12};
  ASSERT_EQ(surface->BltFast(4, 4, surface, &from, DDBLTFAST_WAIT), DD_OK);
  const Picture after = readSurface(surface);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const uint8_t expected = (x >= 4 && y >= 4) ? before.at(x - 4, y - 4) : before.at(x, y);
      ASSERT_EQ(after.at(x, y), expected) << x << "," << y;
    }
  surface->Release();
}
