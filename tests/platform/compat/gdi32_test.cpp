// The GDI subset on DirectDraw surfaces: device contexts, colour matching, bitmaps from files,
// text, ellipses and pixels.
#include <string>

#include "tests/support/bmp_files.h"
#include "tests/support/direct_draw_fixture.h"
#include "tests/support/gdi_helpers.h"

using support::Picture;
using support::readSurface;

class GdiTest : public DirectDrawTest {
 protected:
  void SetUp() override {
    DirectDrawTest::SetUp();
    useFullScreen();  // the palette as given, with no system colours
    PALETTEENTRY entries[256];
    support::fillTestPalette(entries);
    ASSERT_EQ(directDraw_->CreatePalette(DDPCAPS_8BIT, entries, &palette_, nullptr), DD_OK);
    surface_ = offscreen(160, 120);
    ASSERT_EQ(surface_->SetPalette(palette_), DD_OK);
    support::writeSurface(surface_, [](int, int) { return support::greyIndex; });
  }

  HDC dc() {
    HDC dc = nullptr;
    EXPECT_EQ(surface_->GetDC(&dc), DD_OK);
    return dc;
  }

  void setEntries(std::initializer_list<std::pair<int, PALETTEENTRY>> entries) {
    for (const auto& [index, entry] : entries) {
      PALETTEENTRY copy = entry;
      ASSERT_EQ(palette_->SetEntries(0, static_cast<DWORD>(index), 1, &copy), DD_OK);
    }
  }

  IDirectDrawPalette* palette_ = nullptr;
  IDirectDrawSurface* surface_ = nullptr;
  support::TemporaryFolder folder_;
};

TEST_F(GdiTest, ColourMatchingPicksTheNearestEntryExactFirstLowestOnTies) {
  setEntries({{40, {10, 10, 10, 0}},
              {41, {12, 10, 10, 0}},
              {60, {200, 100, 50, 0}},
              {61, {200, 100, 50, 0}},
              {70, {100, 0, 0, 0}},
              {71, {102, 0, 0, 0}}});
  const struct {
    COLORREF colour;
    uint8_t index;
  } cases[] = {
      {RGB(255, 0, 0), support::redIndex},   // exact
      {RGB(200, 100, 50), 60},               // exact twice: the lower index
      {RGB(11, 10, 10), 40},                 // as near to 40 as to 41: the lower index
      {RGB(12, 10, 11), 41},                 // nearer 41
      {RGB(101, 0, 0), 70},                  // tie between 70 and 71
      {RGB(250, 5, 5), support::redIndex},   // nearest
      {RGB(1, 1, 1), support::shadowIndex},  // not black: its own entry
      {RGB(254, 254, 254), support::whiteIndex},
  };
  HDC context = dc();
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.colour);
    SetPixel(context, 3, 4, c.colour);
    ASSERT_EQ(surface_->ReleaseDC(context), DD_OK);
    EXPECT_EQ(readSurface(surface_).at(3, 4), c.index);
    context = dc();
  }
  // Outside the surface nothing is written.
  EXPECT_EQ(SetPixel(context, 160, 0, RGB(255, 0, 0)), CLR_INVALID);
  EXPECT_EQ(SetPixel(context, -1, 5, RGB(255, 0, 0)), CLR_INVALID);
  EXPECT_EQ(GetPixel(context, 3, 4), RGB(254 + 1, 255, 255));
  surface_->ReleaseDC(context);
}

TEST_F(GdiTest, OneContextPerSurfaceNoLockWhileItIsOutButAContextOnALockedSurface) {
  HDC first = dc();
  HDC second = nullptr;
  EXPECT_EQ(surface_->GetDC(&second), DDERR_DCALREADYCREATED);
  DDSURFACEDESC desc{};
  desc.dwSize = sizeof desc;
  EXPECT_EQ(surface_->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
  EXPECT_EQ(surface_->ReleaseDC(reinterpret_cast<HDC>(&desc)), DDERR_INVALIDPARAMS);
  EXPECT_EQ(surface_->ReleaseDC(first), DD_OK);
  EXPECT_EQ(surface_->ReleaseDC(first), DDERR_NODC);
  // As on DirectDraw, a lock does not keep a context away.
  ASSERT_EQ(surface_->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
  ASSERT_EQ(surface_->GetDC(&second), DD_OK);
  EXPECT_EQ(surface_->ReleaseDC(second), DD_OK);
  EXPECT_EQ(surface_->Unlock(desc.lpSurface), DD_OK);
}

TEST_F(GdiTest, SelectObjectReturnsWhatItReplaced) {
  HDC context = dc();
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  HGDIOBJ old = SelectObject(context, brush);
  EXPECT_EQ(old, GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(SelectObject(context, old), brush);
  HDC memory = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectObject(context, CreatePen(PS_SOLID, 1, 0)), GetStockObject(BLACK_PEN));
  // A bitmap goes into a memory context only.
  HANDLE bitmap = LoadImageA(
      nullptr,
      folder_.write("b.bmp", support::bmpFile({2, 2, 24, false, false, {}, {1, 2, 3, 4}})).c_str(),
      IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(SelectObject(context, static_cast<HGDIOBJ>(bitmap)), nullptr);
  HGDIOBJ kept = SelectObject(memory, static_cast<HGDIOBJ>(bitmap));
  EXPECT_NE(kept, nullptr);
  // Selected objects cannot be deleted; stock objects never are.
  EXPECT_FALSE(DeleteObject(static_cast<HGDIOBJ>(bitmap)));
  SelectObject(memory, kept);
  EXPECT_TRUE(DeleteObject(static_cast<HGDIOBJ>(bitmap)));
  EXPECT_FALSE(DeleteObject(static_cast<HGDIOBJ>(bitmap)));
  EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_BRUSH)));
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_TRUE(DeleteDC(memory));
  EXPECT_FALSE(DeleteDC(context));  // a surface's context goes back through ReleaseDC
  surface_->ReleaseDC(context);
}

TEST_F(GdiTest, LoadImageReadsEveryDepthAndBitBltMatchesItsColours) {
  const std::vector<uint32_t> colours = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
  // A 7 x 5 picture of the four colours (not a power of two: rows carry padding).
  std::vector<uint32_t> pixels;
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) pixels.push_back(colours[(x + 2 * y) % 4]);
  std::vector<uint32_t> twoColours;
  for (uint32_t p : pixels)
    twoColours.push_back(p == 0xFF0000 || p == 0x0000FF ? 0xFF0000 : 0xFFFFFF);
  const struct {
    const char* name;
    support::BitmapPicture spec;
  } cases[] = {
      {"1 bit", {7, 5, 1, false, false, {0xFF0000, 0xFFFFFF}, twoColours}},
      {"4 bits", {7, 5, 4, false, false, colours, pixels}},
      {"8 bits", {7, 5, 8, false, false, colours, pixels}},
      {"8 bits top-down", {7, 5, 8, true, false, colours, pixels}},
      {"8 bits RLE", {7, 5, 8, false, true, colours, pixels}},
      {"24 bits", {7, 5, 24, false, false, {}, pixels}},
      {"32 bits", {7, 5, 32, false, false, {}, pixels}},
  };
  auto indexOf = [](uint32_t rgb) {
    switch (rgb) {
      case 0xFF0000:
        return support::redIndex;
      case 0x00FF00:
        return support::greenIndex;
      case 0x0000FF:
        return support::blueIndex;
      default:
        return support::whiteIndex;
    }
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = folder_.write("picture.bmp", support::bmpFile(c.spec));
    HANDLE bitmap = LoadImageA(GetModuleHandleA(nullptr), file.c_str(), IMAGE_BITMAP, 0, 0,
                               LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    ASSERT_NE(bitmap, nullptr);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ kept = SelectObject(memory, static_cast<HGDIOBJ>(bitmap));
    HDC context = dc();
    // Placed at (10, 20); a copy wider than the picture is trimmed to it.
    EXPECT_TRUE(BitBlt(context, 10, 20, 50, 50, memory, 0, 0, SRCCOPY));
    surface_->ReleaseDC(context);
    SelectObject(memory, kept);
    DeleteDC(memory);
    DeleteObject(static_cast<HGDIOBJ>(bitmap));
    const Picture picture = readSurface(surface_);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 7; ++x)
        ASSERT_EQ(picture.at(10 + x, 20 + y), indexOf(c.spec.pixels[y * 7 + x])) << x << "," << y;
    EXPECT_EQ(picture.at(17, 20), support::greyIndex);
    EXPECT_EQ(picture.at(10, 25), support::greyIndex);
  }
}

TEST_F(GdiTest, LoadImageRefusesWhatItCannotRead) {
  const std::vector<uint8_t> good =
      support::bmpFile({4, 4, 8, false, false, {0xFF0000}, std::vector<uint32_t>(16, 0xFF0000)});
  std::vector<uint8_t> truncated = good;
  truncated.resize(good.size() - 10);
  std::vector<uint8_t> zeroWidth = good;
  zeroWidth[18] = 0;  // biWidth
  std::vector<uint8_t> absurd = good;
  absurd[18] = absurd[19] = absurd[20] = 0xFF;
  absurd[21] = 0x0F;  // a width of 268 million
  std::filesystem::create_directory(folder_.path("folder.bmp"));
  const struct {
    const char* name;
    std::string file;
  } cases[] = {
      {"missing", folder_.path("missing.bmp").string()},
      {"a folder", folder_.path("folder.bmp").string()},
      {"not a bitmap", folder_.write("text.bmp", {'h', 'e', 'l', 'l', 'o'})},
      {"empty", folder_.write("empty.bmp", {})},
      {"truncated pixels", folder_.write("truncated.bmp", truncated)},
      {"header only",
       folder_.write("header.bmp", std::vector<uint8_t>(good.begin(), good.begin() + 30))},
      {"zero width", folder_.write("zero.bmp", zeroWidth)},
      {"absurd width", folder_.write("absurd.bmp", absurd)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LoadImageA(nullptr, c.file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
  }
  const std::string file = folder_.write("good.bmp", good);
  EXPECT_EQ(LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, 0), nullptr);  // not a file load
  EXPECT_EQ(LoadImageA(nullptr, file.c_str(), 1, 0, 0, LR_LOADFROMFILE), nullptr);  // an icon
  HANDLE loaded = LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
  EXPECT_NE(loaded, nullptr);
  DeleteObject(static_cast<HGDIOBJ>(loaded));
}

TEST_F(GdiTest, FreshContextWritesBlackTextOnAnOpaqueWhiteBox) {
  HDC context = dc();
  SIZE extent{};
  ASSERT_TRUE(GetTextExtentPoint32A(context, "FPS 60", 6, &extent));
  EXPECT_GE(extent.cy, 14);
  EXPECT_LE(extent.cy, 20);
  EXPECT_GT(extent.cx, 30);
  ASSERT_TRUE(TextOutA(context, 5, 7, "FPS 60", 6));
  surface_->ReleaseDC(context);
  const Picture picture = readSurface(surface_);
  // The box is exactly the measured extent; the ink lies inside it.
  const auto paper = support::boundsOf(picture, support::whiteIndex);
  const auto ink = support::boundsOf(picture, support::blackIndex);
  ASSERT_TRUE(paper && ink);
  EXPECT_EQ(paper->left, 5);
  EXPECT_EQ(paper->top, 7);
  EXPECT_EQ(paper->right, 5 + extent.cx);
  EXPECT_EQ(paper->bottom, 7 + extent.cy);
  EXPECT_GE(ink->left, 5);
  EXPECT_LE(ink->right, 5 + extent.cx);
  EXPECT_GT(support::countOf(picture, support::blackIndex), 40);
  // Only ink, paper and the untouched grey: no shades between.
  EXPECT_EQ(support::countOf(picture, support::blackIndex) +
                support::countOf(picture, support::whiteIndex) +
                support::countOf(picture, support::greyIndex),
            160 * 120);
}

TEST_F(GdiTest, FontsFollowTheirHeightWeightEscapementAndScript) {
  auto inkOf = [&](HFONT font, const char* text, int x, int y) {
    support::writeSurface(surface_, [](int, int) { return support::greyIndex; });
    HDC context = dc();
    SetBkMode(context, TRANSPARENT);
    SetTextColor(context, RGB(255, 0, 0));
    HGDIOBJ kept = SelectObject(context, font);
    TextOutA(context, x, y, text, static_cast<int>(strlen(text)));
    SelectObject(context, kept);
    surface_->ReleaseDC(context);
    return support::boundsOf(readSurface(surface_), support::redIndex);
  };
  auto extentOf = [&](HFONT font, const char* text) {
    HDC context = dc();
    HGDIOBJ kept = SelectObject(context, font);
    SIZE size{};
    GetTextExtentPoint32A(context, text, static_cast<int>(strlen(text)), &size);
    SelectObject(context, kept);
    surface_->ReleaseDC(context);
    return size;
  };
  HFONT cell20 = CreateFontA(20, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "");
  HFONT em20 = CreateFontA(-20, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "");
  HFONT bold = CreateFontA(20, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "");
  HFONT narrow = CreateFontA(20, 4, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "");
  HFONT turned = CreateFontA(20, 0, 900, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "");
  ASSERT_TRUE(cell20 && em20 && bold && narrow && turned);
  // A positive height is the cell, a negative one the character: the cell of the latter is taller.
  EXPECT_EQ(extentOf(cell20, "Hx").cy, 20);
  EXPECT_GT(extentOf(em20, "Hx").cy, 20);
  EXPECT_GT(extentOf(bold, "Hello").cx, extentOf(cell20, "Hello").cx);
  EXPECT_LT(extentOf(narrow, "Hello").cx, extentOf(cell20, "Hello").cx);

  const auto wide = inkOf(cell20, "Wide text", 10, 60);
  ASSERT_TRUE(wide);
  EXPECT_GT(wide->right - wide->left, 2 * (wide->bottom - wide->top));
  // Turned by 90 degrees counter-clockwise about (x, y): the text runs upward from there.
  const auto tall = inkOf(turned, "Wide text", 10, 110);
  ASSERT_TRUE(tall);
  EXPECT_GT(tall->bottom - tall->top, 2 * (tall->right - tall->left));
  EXPECT_LE(tall->bottom, 111);
  EXPECT_GE(tall->left, 10);

  // Japanese text in code page 932 ("日本語") draws ink with a Japanese face.
  HFONT gothic =
      CreateFontA(24, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0,
                  "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e");  // ＭＳ ゴシック
  ASSERT_NE(gothic, nullptr);
  const auto japanese = inkOf(gothic, "\x93\xfa\x96{\x8c\xea", 10, 10);
  ASSERT_TRUE(japanese);
  EXPECT_GT(japanese->right - japanese->left, 40);
  EXPECT_EQ(extentOf(gothic, "\x93\xfa\x96{\x8c\xea").cx, 3 * extentOf(gothic, "\x93\xfa").cx);

  EXPECT_EQ(CreateFontA(100000, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, ""), nullptr);
  for (HFONT font : {cell20, em20, bold, narrow, turned, gothic}) EXPECT_TRUE(DeleteObject(font));
}

TEST_F(GdiTest, ATextWiderThanAnyLongSaturatesItsExtentAndStillDrawsWithinTheSurface) {
  // 2048-pixel characters, more than a million of them: over 2^31 pixels of advance.
  HFONT huge = CreateFontA(2048, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "");
  ASSERT_NE(huge, nullptr);
  const std::string text(1'300'000, 'W');
  HDC context = dc();
  HGDIOBJ kept = SelectObject(context, huge);
  SIZE size{};
  ASSERT_TRUE(GetTextExtentPoint32A(context, text.data(), static_cast<int>(text.size()), &size));
  EXPECT_EQ(size.cx, INT32_MAX) << "the extent wrapped";
  // The opaque box is as wide as the text, cut to the surface; nothing lands outside it.
  SetBkMode(context, OPAQUE);
  EXPECT_TRUE(TextOutA(context, -5, 0, text.data(), static_cast<int>(text.size())));
  SelectObject(context, kept);
  surface_->ReleaseDC(context);
  EXPECT_TRUE(compat::testing::surfaceGuardsIntact());
  EXPECT_TRUE(DeleteObject(huge));
}

TEST_F(GdiTest, EllipseFillsInsideWithTheBrushOutlinesWithThePenAndExcludesRightAndBottom) {
  HDC context = dc();
  HGDIOBJ keptBrush = SelectObject(context, CreateSolidBrush(RGB(0, 0, 255)));
  HGDIOBJ keptPen = SelectObject(context, CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
  EXPECT_TRUE(Ellipse(context, 20, 30, 40, 50));  // a circle of radius 10 centred on (30, 40)
  DeleteObject(SelectObject(context, keptBrush));
  DeleteObject(SelectObject(context, keptPen));
  surface_->ReleaseDC(context);
  const Picture picture = readSurface(surface_);
  const auto outline = support::boundsOf(picture, support::redIndex);
  ASSERT_TRUE(outline);
  EXPECT_EQ(outline->left, 20);
  EXPECT_EQ(outline->top, 30);
  EXPECT_EQ(outline->right, 40);
  EXPECT_EQ(outline->bottom, 50);
  EXPECT_EQ(picture.at(30, 40), support::blueIndex);
  EXPECT_EQ(picture.at(20, 40), support::redIndex);
  EXPECT_EQ(picture.at(30, 30), support::redIndex);
  EXPECT_EQ(picture.at(21, 31), support::greyIndex);  // outside, in the box's corner
  // An empty box draws nothing; a box off the surface writes nothing outside it.
  context = dc();
  EXPECT_TRUE(Ellipse(context, 70, 70, 70, 70));
  EXPECT_TRUE(Ellipse(context, -50, -50, 10, 10));
  EXPECT_TRUE(Ellipse(context, 150, 110, 100000, 100000));
  surface_->ReleaseDC(context);
  EXPECT_EQ(readSurface(surface_).at(70, 70), support::greyIndex);
}
