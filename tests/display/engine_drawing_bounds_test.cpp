// Every drawing operation of the engine with random arguments, negative and huge ones among
// them, on surfaces of awkward sizes whose memory is fenced with guard bytes (around it, and in
// the padding at the end of each row): no operation may change a guard byte or crash.
#include <functional>
#include <random>
#include <sstream>

#include "display/display_engine.h"
#include "platform/compat/testing.h"
#include "tests/support/bmp_files.h"
#include "tests/support/engine_setup_fixture.h"
#include "tests/support/surface_access.h"

namespace {

// Arguments that find the edges: small values around the surfaces, the fixed numbers the
// effects use, the extremes of 32 bits, and anything at all.
class ArgumentSource {
 public:
  explicit ArgumentSource(unsigned seed) : random_(seed) {}

  int32_t any() {
    switch (pick(6)) {
      case 0:
        return static_cast<int32_t>(pick(700)) - 100;
      case 1: {
        constexpr int32_t edges[] = {
            0,   -1,  1,   15,  16,  17,  240,       247,       320,           331,
            464, 479, 480, 592, 639, 640, INT32_MIN, INT32_MAX, INT32_MIN + 1, INT32_MAX - 1};
        return edges[pick(std::size(edges))];
      }
      case 2:
        return -static_cast<int32_t>(pick(1 << 16));
      case 3:
        return static_cast<int32_t>(pick(1 << 16));
      default:
        return static_cast<int32_t>(random_());
    }
  }
  int32_t size() { return pick(4) == 0 ? any() : static_cast<int32_t>(pick(400)) - 20; }
  // Mostly a slot in use; else any of -2..16: empty slots, and numbers off the table.
  int32_t slot() {
    if (pick(4) == 0) return static_cast<int32_t>(pick(19)) - 2;
    return static_cast<int32_t>(pick(static_cast<unsigned>(displayEngine.surfaceCount)));
  }
  float real() {
    constexpr float specials[] = {0.0f,
                                  -1.0f,
                                  1e30f,
                                  -1e30f,
                                  3.4e38f,
                                  std::numeric_limits<float>::infinity(),
                                  std::numeric_limits<float>::quiet_NaN()};
    if (pick(4) == 0) return specials[pick(std::size(specials))];
    return std::uniform_real_distribution<float>(-400.0f, 400.0f)(random_);
  }
  // Up to 24 bytes of anything but zero: ASCII, code page 932 lead bytes, high bytes.
  std::string text() {
    std::string made(pick(25), ' ');
    for (char& c : made) c = static_cast<char>(1 + pick(255));
    return made;
  }
  unsigned pick(unsigned range) { return static_cast<unsigned>(random_() % range); }

 private:
  std::mt19937 random_;
};

}  // namespace

class DrawingBoundsTest : public EngineSetupTest {
 protected:
  // Eight slots of fifteen: 8..14 stay empty.
  void setUp(int32_t fullscreen) {
    // An odd width leaves padding at the end of every row of the display's slots.
    ASSERT_EQ(displayEngine.setupDisplay(mainWindow, 331, 247, fullscreen, 8, 8), 1);
    // Two slots of other sizes: the size the effects' fixed numbers are made for, and a tiny
    // one with padding.
    replaceSlot(6, 640, 480);
    replaceSlot(7, 13, 7);
    std::mt19937 random(5);
    for (int i = 0; i < 256; ++i)
      displayEngine.setPaletteEntry(i, random() & 0xFF, random() & 0xFF, random() & 0xFF);
    for (int32_t slot = 1; slot < displayEngine.surfaceCount; ++slot)
      displayEngine.fillSurface(slot, slot * 37);
    support::BitmapPicture spec;
    spec.width = 50;
    spec.height = 30;
    spec.bitsPerPixel = 24;
    for (int i = 0; i < 50 * 30; ++i) spec.pixels.push_back(0x010203u * (i % 97));
    bitmapFile = folder.write("picture.bmp", support::bmpFile(spec));
    ASSERT_TRUE(compat::testing::surfaceGuardsIntact());
  }

  void replaceSlot(int32_t slot, int width, int height) {
    surfaces[slot]->Release();
    surfaces[slot] = support::createOffscreen(directDraw, width, height);
    ASSERT_NE(surfaces[slot], nullptr);
  }

  // What no call may change: the engine's own fields (a lock record written past the table
  // would land on them), and no surface may be left locked.
  static std::string engineDamage() {
    std::ostringstream damage;
    if (displayEngine.surfaceCount != 8 || displayEngine.width != 331 ||
        displayEngine.height != 247 ||
        (displayEngine.fullscreen != 0 && displayEngine.fullscreen != 1))
      damage << "the engine's fields changed; ";
    for (int32_t slot = 0; slot < maxSurfaceSlots; ++slot) {
      if (surfaces[slot] == nullptr) continue;
      DDSURFACEDESC desc{};
      desc.dwSize = sizeof desc;
      if (surfaces[slot]->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) != DD_OK)
        damage << "slot " << slot << " left locked; ";
      else
        surfaces[slot]->Unlock(desc.lpSurface);
    }
    return damage.str();
  }

  void randomCalls(unsigned seed);

  support::TemporaryFolder folder;
  std::string bitmapFile;
};

void DrawingBoundsTest::randomCalls(unsigned seed) {
  ArgumentSource a(seed);
  SCOPED_TRACE(testing::Message() << "seed " << seed << ", fullscreen "
                                  << displayEngine.fullscreen);
  const char* const faces[] = {"", "DejaVu Sans",
                               "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e"};
  // Each operation with its arguments drawn, and a description of the call for a failure.
  using Operation = std::function<std::string(ArgumentSource&)>;
  const auto describe = [](const char* name, std::initializer_list<int64_t> values) {
    std::ostringstream call;
    call << name << "(";
    for (int64_t v : values) call << v << (&v == values.end() - 1 ? "" : ", ");
    call << ")";
    return call.str();
  };
  const std::vector<Operation> operations = {
      [&](ArgumentSource& r) {
        const int32_t s = r.slot(), x = r.any(), y = r.any(), w = r.size(), h = r.size();
        displayEngine.fillRect(s, x, y, w, h, r.any());
        return describe("fillRect", {s, x, y, w, h});
      },
      [&](ArgumentSource& r) {
        const int32_t s = r.slot(), x = r.any(), y = r.any(), w = r.size(), h = r.size();
        displayEngine.fillRect8(s, x, y, w, h, r.any());
        return describe("fillRect8", {s, x, y, w, h});
      },
      [&](ArgumentSource& r) {
        const int32_t s = r.slot();
        if (r.pick(2)) {
          displayEngine.fillSurface(s, r.any());
          return describe("fillSurface", {s});
        }
        displayEngine.clearSurface(s);
        return describe("clearSurface", {s});
      },
      [&](ArgumentSource& r) {
        const int32_t s = r.slot(), x = r.any(), y = r.any(), w = r.size(), h = r.size();
        displayEngine.clearRect(s, x, y, w, h);
        return describe("clearRect", {s, x, y, w, h});
      },
      [&](ArgumentSource& r) {
        const int32_t s = r.slot(), x = r.any(), y = r.any(), w = r.size(), h = r.size();
        displayEngine.drawRectOutline(s, x, y, w, h, r.any());
        return describe("drawRectOutline", {s, x, y, w, h});
      },
      [&](ArgumentSource& r) {
        const int32_t l = r.any(), t = r.any(), rr = r.any(), b = r.any();
        displayEngine.setClipRect(l, t, rr, b);
        return describe("setClipRect", {l, t, rr, b});
      },
      [&](ArgumentSource& r) {
        const int32_t x = r.any(), y = r.any(), sx = r.any(), sy = r.any(), w = r.size(),
                      h = r.size(), d = r.slot(), s = r.slot();
        displayEngine.blitRect(x, y, sx, sy, w, h, d, s, r.pick(2) ? DDBLTFAST_SRCCOLORKEY : 0);
        return describe("blitRect", {x, y, sx, sy, w, h, d, s});
      },
      [&](ArgumentSource& r) {
        const int32_t x = r.any(), y = r.any(), sx = r.any(), sy = r.any(), w = r.size(),
                      h = r.size(), d = r.slot(), s = r.slot();
        displayEngine.blitClipped(x, y, sx, sy, w, h, d, s, DDBLTFAST_WAIT);
        return describe("blitClipped", {x, y, sx, sy, w, h, d, s});
      },
      [&](ArgumentSource& r) {
        const int32_t x = r.any(), y = r.any(), d = r.slot(), s = r.slot();
        RECT source{r.any(), r.any(), r.any(), r.any()};
        displayEngine.blitFast(x, y, r.pick(3) == 0 ? nullptr : &source, d, s, DDBLTFAST_WAIT);
        return describe("blitFast",
                        {x, y, source.left, source.top, source.right, source.bottom, d, s});
      },
      [&](ArgumentSource& r) {
        const int32_t x = r.any(), y = r.any(), sx = r.any(), sy = r.any(), w = r.size(),
                      h = r.size(), d = r.slot(), s = r.slot(),
                      b = r.pick(4) ? r.size() % 40 : r.any();
        displayEngine.mosaicCopy(x, y, sx, sy, w, h, d, s, b);
        return describe("mosaicCopy", {x, y, sx, sy, w, h, d, s, b});
      },
      [&](ArgumentSource& r) {
        const int32_t x = r.any(), y = r.any(), sx = r.any(), sy = r.any(), w = r.size(),
                      h = r.size(), d = r.slot(), s = r.slot();
        const int8_t step = static_cast<int8_t>(r.pick(3) ? r.pick(18) : r.any());
        const int32_t flags = r.pick(2) ? 17 : r.any();
        displayEngine.dissolveCopy(x, y, sx, sy, w, h, d, s, step, flags);
        return describe("dissolveCopy", {x, y, sx, sy, w, h, d, s, step, flags});
      },
      [&](ArgumentSource& r) {
        const int32_t x = r.any(), y = r.any(), sx = r.any(), sy = r.any(), w = r.size() % 200,
                      h = r.size() % 200, angle = r.any(), d = r.slot(), s = r.slot();
        displayEngine.drawRotatedSprite(x, y, sx, sy, w, h, angle, d, s);
        return describe("drawRotatedSprite", {x, y, sx, sy, w, h, angle, d, s});
      },
      [&](ArgumentSource& r) {
        const int32_t x = r.any(), y = r.any(), sx = r.any(), sy = r.any(), w = r.size(),
                      n = r.size(), d = r.slot(), s = r.slot();
        displayEngine.drawSineStrips(x, y, sx, sy, w, n, d, s, DDBLTFAST_WAIT, r.real(), r.real(),
                                     r.real());
        return describe("drawSineStrips", {x, y, sx, sy, w, n, d, s});
      },
      [&](ArgumentSource& r) {
        const int32_t s = r.slot(), x = r.pick(3) == 0 ? -1 : r.any(), y = r.any();
        displayEngine.drawBitmapFontText(s, x, y, r.text().c_str(), static_cast<int8_t>(r.any()));
        return describe("drawBitmapFontText", {s, x, y});
      },
      [&](ArgumentSource& r) {
        const int32_t s = r.slot(), x = r.any(), y = r.any();
        displayEngine.drawText(s, x, y, r.text().c_str());
        return describe("drawText", {s, x, y});
      },
      [&](ArgumentSource& r) {
        const int32_t x = r.pick(3) == 0 ? -1 : r.any(), y = r.pick(3) == 0 ? -1 : r.any();
        // Sizes a font can be made in (up to 2048 pixels; beyond, the program ends by design).
        const int32_t height = r.pick(8) == 0 ? static_cast<int32_t>(r.pick(4097)) - 2048
                                              : static_cast<int32_t>(r.pick(81)) - 40;
        const int32_t width = static_cast<int32_t>(r.pick(8) == 0 ? r.pick(2049) : r.pick(40));
        const int32_t escapement = r.pick(2) ? r.any() : static_cast<int32_t>(r.pick(4) * 900);
        const int32_t s = r.slot(),
                      shadow = r.pick(3) == 0 ? r.any() : static_cast<int32_t>(r.pick(4));
        displayEngine.drawFontText(x, y, r.any(), r.any(), r.text().c_str(), height, width, r.any(),
                                   shadow, static_cast<COLORREF>(r.any()),
                                   static_cast<int32_t>(r.pick(2)), faces[r.pick(3)],
                                   r.pick(2) ? SHIFTJIS_CHARSET : ANSI_CHARSET, s, escapement);
        return describe("drawFontText", {x, y, height, width, s, shadow, escapement});
      },
      [&](ArgumentSource& r) {
        const int32_t s = r.slot(), x = r.any(), y = r.any();
        const int32_t radius = r.pick(3) == 0 ? r.any() : static_cast<int32_t>(r.pick(300)) - 20;
        displayEngine.drawFilledCircle(s, x, y, radius, r.any());
        return describe("drawFilledCircle", {s, x, y, radius});
      },
      [&](ArgumentSource& r) {
        const int32_t w = r.size(), h = r.size(), x = r.any(), y = r.any(), sx = r.any(),
                      sy = r.any(), s = r.slot();
        displayEngine.loadBitmapToSurface(bitmapFile.c_str(), w, h, x, y, sx, sy, s);
        return describe("loadBitmapToSurface", {w, h, x, y, sx, sy, s});
      },
      [&](ArgumentSource& r) {
        // A lock and its unlock, sometimes a second lock of the same slot in between.
        const int32_t s = r.slot(), again = r.pick(3) == 0 ? s : r.slot();
        displayEngine.lockSurface(s);
        displayEngine.lockSurface(again);
        if (again != s) displayEngine.unlockSurface(again);
        displayEngine.unlockSurface(s);
        return describe("lockSurface", {s, again});
      },
      [&](ArgumentSource& r) {
        const COLORREF colour = static_cast<COLORREF>(r.any());
        displayEngine.probePaletteIndex(colour);
        return describe("probePaletteIndex", {colour});
      },
  };
  for (int call = 0; call < 4000; ++call) {
    const std::string made = operations[a.pick(static_cast<unsigned>(operations.size()))](a);
    ASSERT_TRUE(compat::testing::surfaceGuardsIntact()) << "after call " << call << ": " << made;
    ASSERT_EQ(engineDamage(), "") << "after call " << call << ": " << made;
  }
}

TEST_F(DrawingBoundsTest, RandomArgumentsNeverWriteOutsideASurfaceFullScreen) {
  setUp(1);
  randomCalls(20261210);
}

TEST_F(DrawingBoundsTest, RandomArgumentsNeverWriteOutsideASurfaceWindowed) {
  setUp(0);
  randomCalls(20261211);
}

TEST_F(DrawingBoundsTest, TheGuardsSeeAWriteIntoARowsPadding) {
  setUp(1);
  // The check itself: a byte past the width of a 331-pixel row is found.
  displayEngine.lockSurface(2);
  surfaceBits[2][331] = 0;
  displayEngine.unlockSurface(2);
  EXPECT_FALSE(compat::testing::surfaceGuardsIntact());
}
