// The palette: loading from a file, single colours, brightness, fades, windowed mapping.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "display/palette_tables.h"
#include "host/shared_data.h"
#include "platform/headless/headless_screen.h"
#include "tests/support/bmp_files.h"
#include "tests/support/engine_setup_fixture.h"
#include "tests/support/surface_access.h"

namespace {

// Entry i: red i, green 255 - i, blue i / 2.
uint32_t rampColour(int i) { return static_cast<uint32_t>((i << 16) | ((255 - i) << 8) | (i / 2)); }
uint8_t zeroPixel(int, int) { return 0; }

PALETTEENTRY hardwareEntry(int index) {
  PALETTEENTRY entry{};
  EXPECT_EQ(displayPalette->GetEntries(0, static_cast<DWORD>(index), 1, &entry), DD_OK);
  return entry;
}

bool sameEntry(const PALETTEENTRY& a, const PALETTEENTRY& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// Marks entry 7 of the base table and reports both tables' entry 7 when the process ends.
void watchEntrySeven() {
  basePalette[7] = PALETTEENTRY{1, 2, 3, 4};
  std::atexit([] {
    std::fprintf(stderr, "[entry 7: %d %d %d %d]", basePalette[7].peRed, basePalette[7].peGreen,
                 basePalette[7].peBlue, shownPalette[7].peRed);
  });
}

}  // namespace

class PaletteTest : public EngineSetupTest {
 protected:
  void loadRamp() {
    displayEngine.loadPaletteFromBmp(
        folder.write("ramp.bmp", support::eightBitBmp(4, 4, rampColour, zeroPixel)).c_str());
  }
  support::TemporaryFolder folder;
};

TEST_F(PaletteTest, LoadReadsTheColourTableIntoBothTablesAndTheDisplay) {
  setUpFullScreen();
  loadRamp();
  for (int i = 0; i < 256; ++i) {
    SCOPED_TRACE(i);
    const PALETTEENTRY expected{static_cast<BYTE>(i), static_cast<BYTE>(255 - i),
                                static_cast<BYTE>(i / 2), 1};
    ASSERT_TRUE(sameEntry(basePalette[i], expected));
    ASSERT_TRUE(sameEntry(shownPalette[i], expected));
    ASSERT_TRUE(sameEntry(hardwareEntry(i), expected));
  }
  EXPECT_EQ(compat::headlessScreen().shownPalette()[200].green, 55);
}

TEST_F(PaletteTest, ShortFilesReadTwoFiftyFivePastTheirEnd) {
  setUpFullScreen();
  std::vector<uint8_t> file = support::eightBitBmp(4, 4, rampColour, zeroPixel);
  file.resize(1078);  // exactly header and colour table
  displayEngine.loadPaletteFromBmp(folder.write("exact.bmp", file).c_str());
  EXPECT_EQ(basePalette[255].peRed, 255);
  EXPECT_EQ(basePalette[255].peGreen, 0);
  EXPECT_EQ(basePalette[255].peBlue, 127);

  file.resize(600);
  displayEngine.loadPaletteFromBmp(folder.write("short.bmp", file).c_str());
  // Offset 600 is the red byte of entry 136: (600 - 54) / 4 = 136.5.
  EXPECT_EQ(basePalette[136].peBlue, 68);
  EXPECT_EQ(basePalette[136].peGreen, 119);
  EXPECT_EQ(basePalette[136].peRed, 255);
  for (int i = 137; i < 256; ++i) {
    ASSERT_EQ(basePalette[i].peRed, 255) << i;
    ASSERT_EQ(basePalette[i].peGreen, 255) << i;
    ASSERT_EQ(basePalette[i].peBlue, 255) << i;
  }
}

TEST_F(PaletteTest, FilesThatCannotBeReadEndTheProgramWithTheTablesUntouched) {
  setUpFullScreen();
  const std::string folderName = folder.path("folder.bmp").string();
  std::filesystem::create_directory(folderName);
  const std::string unreadable = folder.write("locked.bmp", std::vector<uint8_t>(2000, 9));
  chmod(unreadable.c_str(), 0);
  const bool rootReadsAnything = std::fopen(unreadable.c_str(), "rb") != nullptr;
  const std::string missing = folder.path("missing.bmp").string();
  for (const std::string& name : {missing, folderName, unreadable}) {
    if (name == unreadable && rootReadsAnything) continue;  // permissions do not bind root
    SCOPED_TRACE(name);
    EXPECT_EXIT(
        {
          watchEntrySeven();
          displayEngine.loadPaletteFromBmp(name.c_str());
        },
        testing::ExitedWithCode(1),
        "^エラーが発生したらしい\\(\\^\\^;: .*\\.bmp ファイルが見つかりません\n"
        "\\[entry 7: 1 2 3 0\\]$");
  }
}

TEST_F(PaletteTest, ANullFileNameIsAFileNotFound) {
  setUpFullScreen();
  EXPECT_EXIT(
      {
        watchEntrySeven();
        displayEngine.loadPaletteFromBmp(nullptr);
      },
      testing::ExitedWithCode(1),
      "^エラーが発生したらしい\\(\\^\\^;:  ファイルが見つかりません\n\\[entry 7: 1 2 3 0\\]$");
}

TEST_F(PaletteTest, ALongFileNameIsCutSoTheMessageFits) {
  const std::string name(400, 'a');
  EXPECT_EXIT(displayEngine.loadPaletteFromBmp(name.c_str()), testing::ExitedWithCode(1),
              ": a{230} ファイルが見つかりません\n$");
  // A double-byte character that would straddle the cut is left out whole.
  const std::string japanese = std::string(229, 'b') + "\x83t" + std::string(50, 'c');
  EXPECT_EXIT(displayEngine.loadPaletteFromBmp(japanese.c_str()), testing::ExitedWithCode(1),
              ": b{229} ファイルが見つかりません\n$");
}

TEST_F(PaletteTest, BrightnessIsClampedFromTheBaseAndEntryZeroStaysOut) {
  setUpFullScreen();
  loadRamp();
  basePalette[5].peFlags = 0;  // level 0 must give the flags byte back too
  struct Case {
    int32_t level;
    int32_t sameAs;  // a level that must give the same table
  };
  const Case cases[] = {{300, 255}, {-1000, -255}, {INT32_MAX, 255}, {INT32_MIN, -255}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.level);
    displayEngine.setRangeBrightness(0, 255, c.sameAs);
    PALETTEENTRY expected[256];
    std::memcpy(expected, shownPalette, sizeof expected);
    displayEngine.setRangeBrightness(0, 255, c.level);
    EXPECT_EQ(std::memcmp(expected, shownPalette, sizeof expected), 0);
  }
  displayEngine.setRangeBrightness(0, 255, -255);
  for (int i = 1; i < 256; ++i)
    ASSERT_TRUE(sameEntry(shownPalette[i], PALETTEENTRY{0, 0, 0, 1})) << i;
  EXPECT_TRUE(sameEntry(shownPalette[0], basePalette[0]));

  displayEngine.setRangeBrightness(0, 255, 40);
  EXPECT_EQ(shownPalette[100].peRed, 140);
  EXPECT_EQ(shownPalette[100].peGreen, 195);
  EXPECT_EQ(shownPalette[250].peRed, 255);

  displayEngine.setRangeBrightness(0, 255, 0);
  EXPECT_EQ(std::memcmp(shownPalette, basePalette, sizeof shownPalette), 0);
  EXPECT_EQ(shownPalette[5].peFlags, 0);
}

TEST_F(PaletteTest, EveryChangeIsOneTransferEvenWhenNothingChanged) {
  setUpFullScreen();
  loadRamp();
  const compat::HeadlessScreen& screen = compat::headlessScreen();
  PALETTEENTRY before[256];
  std::memcpy(before, shownPalette, sizeof before);
  const struct {
    const char* name;
    void (*change)();
  } cases[] = {
      {"first after last", [] { displayEngine.setRangeBrightness(200, 100, -50); }},
      {"range outside the table", [] { displayEngine.setRangeBrightness(300, 900, -50); }},
      {"reset", [] { displayEngine.resetPalette(); }},
      {"apply", [] { displayEngine.applyPalette(); }},
      {"entry out of range", [] { displayEngine.setPaletteEntry(256, 1, 2, 3); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const long updates = screen.paletteUpdates();
    c.change();
    EXPECT_EQ(screen.paletteUpdates(), updates + 1);
    EXPECT_EQ(std::memcmp(before, shownPalette, sizeof before), 0);
  }
  displayEngine.setPaletteEntry(9, 0x1AB, 0x2CD, 0x3EF);
  EXPECT_TRUE(sameEntry(basePalette[9], PALETTEENTRY{0xAB, 0xCD, 0xEF, 1}));
  EXPECT_TRUE(sameEntry(hardwareEntry(9), PALETTEENTRY{0xAB, 0xCD, 0xEF, 1}));
}

TEST_F(PaletteTest, RangeBrightnessLeavesOtherEntriesAlone) {
  setUpFullScreen();
  loadRamp();
  displayEngine.setEntryBrightness(20, -10);
  displayEngine.setRangeBrightness(0, 3, 100);
  for (int i = 0; i < 256; ++i) {
    SCOPED_TRACE(i);
    if (i == 20) {
      EXPECT_EQ(shownPalette[i].peRed, 10);
    } else if (i >= 1 && i <= 3) {
      EXPECT_EQ(shownPalette[i].peRed, i + 100);
    } else {
      EXPECT_TRUE(sameEntry(shownPalette[i], basePalette[i]));
    }
  }
}

namespace {

// Reads the brightness level back from what the screen shows: table entry 1 is black at base,
// so its red is a positive level; entry 2 is white at base, so its red is 255 plus a negative
// one. `firstHardwareEntry` is where table entry 0 shows: 0 full-screen, 10 windowed.
std::vector<int> levelsShownDuring(void (*fadeCall)(), int firstHardwareEntry = 0) {
  basePalette[1] = {0, 0, 0, 1};
  basePalette[2] = {255, 255, 255, 1};
  std::vector<int> levels;
  const int black = firstHardwareEntry + 1, white = firstHardwareEntry + 2;
  compat::headlessScreen().setPaletteCallback([&](const compat::Palette& shown) {
    levels.push_back(shown[black].red > 0 ? shown[black].red : shown[white].red - 255);
  });
  DWORD now = 1000;
  compat::testing::setClock([&now] { return now += 3; });
  fadeCall();
  compat::testing::setClock(nullptr);
  compat::headlessScreen().setPaletteCallback(nullptr);
  return levels;
}

}  // namespace

TEST_F(PaletteTest, FullScreenFadesStepByTheGivenStepThenLandOnTheTarget) {
  setUpFullScreen();
  const struct {
    const char* name;
    void (*fade)();
    std::vector<int> levels;
  } cases[] = {
      {"up from black",
       [] { displayEngine.fadeUp(-255, 0, 16, 20); },
       {-255, -239, -223, -207, -191, -175, -159, -143, -127, -111, -95, -79, -63, -47, -31, -15,
        0}},
      {"down to black",
       [] { displayEngine.fadeDown(0, -255, 16, 20); },
       {0, -16, -32, -48, -64, -80, -96, -112, -128, -144, -160, -176, -192, -208, -224, -240,
        -255}},
      {"up with from above to", [] { displayEngine.fadeUp(10, 0, 4, 20); }, {0}},
      {"a step of zero goes straight to the target",
       [] { displayEngine.fadeUp(-100, 0, 0, 20); },
       {0}},
      {"range up", [] { displayEngine.fadeRangeUp(0, 100, 1, 2, 50, 5); }, {0, 50, 100, 100}},
      {"range down",
       [] { displayEngine.fadeRangeDown(0, -100, 1, 2, 40, 5); },
       {0, -40, -80, -100}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(levelsShownDuring(c.fade), c.levels);
  }
}

TEST_F(PaletteTest, WindowedFadesMoveFourStepsAtATime) {
  setUpWindowed();
  // Windowed, table entries 0..235 show on hardware entries 10..245.
  EXPECT_EQ(levelsShownDuring([] { displayEngine.fadeUp(-255, 0, 16, 20); }, 10),
            (std::vector<int>{-255, -191, -127, -63, 0}));
}

TEST_F(PaletteTest, WindowedTransferMapsTableEntriesFromHardwareEntryTen) {
  setUpWindowed();
  loadRamp();
  displayEngine.setPaletteEntry(0, 11, 22, 33);
  displayEngine.setPaletteEntry(240, 44, 55, 66);
  EXPECT_TRUE(sameEntry(hardwareEntry(10), PALETTEENTRY{11, 22, 33, 1}));
  EXPECT_TRUE(sameEntry(hardwareEntry(245), basePalette[235]));
  for (int i = 0; i < 256; ++i) {
    const PALETTEENTRY entry = hardwareEntry(i);
    ASSERT_FALSE(entry.peRed == 44 && entry.peGreen == 55 && entry.peBlue == 66) << i;
  }
  // The screen shows the system's static colours at both ends.
  const compat::Palette& shown = compat::headlessScreen().shownPalette();
  EXPECT_EQ(shown[7].red, 192);
  EXPECT_EQ(shown[255].blue, 255);
  EXPECT_EQ(shown[249].red, 255);
  EXPECT_EQ(shown[249].green, 0);
  EXPECT_EQ(shown[10].red, 11);
}

TEST_F(PaletteTest, ColourKeysGoOnTheSlotsInUseButTheFullScreenPrimary) {
  for (int32_t fullscreen : {1, 0}) {
    SCOPED_TRACE(fullscreen);
    ASSERT_EQ(displayEngine.setupDisplay(mainWindow, 320, 240, fullscreen, 8, 6), 1);
    loadRamp();
    for (int slot = 0; slot < 6; ++slot) {
      DDSURFACEDESC desc{};
      desc.dwSize = sizeof desc;
      ASSERT_EQ(surfaces[slot]->GetSurfaceDesc(&desc), DD_OK);
      const bool keyed = (desc.dwFlags & DDSD_CKSRCBLT) != 0;
      EXPECT_EQ(keyed, !(slot == 0 && fullscreen == 1)) << "slot " << slot;
      if (keyed) {
        EXPECT_EQ(desc.ddckCKSrcBlt.dwColorSpaceLowValue, 0u);
        EXPECT_EQ(desc.ddckCKSrcBlt.dwColorSpaceHighValue, 0u);
      }
    }
    // The key leaves index 0 out of keyed copies.
    support::writeSurface(surfaces[3], [](int x, int) { return static_cast<uint8_t>(x % 3); });
    displayEngine.fillSurface(2, 9);
    displayEngine.blitRect(0, 0, 0, 0, 6, 1, 2, 3, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);
    const support::Picture picture = support::readSurface(surfaces[2]);
    EXPECT_EQ(picture.at(0, 0), 9);
    EXPECT_EQ(picture.at(1, 0), 1);
    EXPECT_EQ(picture.at(3, 0), 9);
    displayEngine.shutdownDisplay();
  }
}
