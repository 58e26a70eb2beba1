// What the engine does with arguments a caller should not pass: slot numbers off the table or
// naming an empty slot, set-up arguments it cannot use, empty rectangles, a slot locked twice.
// Each is refused before any table is touched, with the result the operation documents.
#include <climits>
#include <string>

#include "display/display_engine.h"
#include "platform/compat/testing.h"
#include "tests/support/engine_setup_fixture.h"
#include "tests/support/surface_access.h"

namespace {

// Slots that hold no surface once set-up has made six: off the table on either side, and empty.
constexpr int32_t badSlots[] = {-1, -2, 15, 16, INT32_MIN, INT32_MAX, 6, 14};

// Every HRESULT operation on one slot (the copies name it as destination and as source).
HRESULT callWithSlot(int which, int32_t slot) {
  switch (which) {
    case 0:
      return displayEngine.fillRect(slot, 0, 0, 8, 8, 5);
    case 1:
      return displayEngine.fillRect8(slot, 0, 0, 8, 8, 5);
    case 2:
      return displayEngine.fillSurface(slot, 5);
    case 3:
      return displayEngine.clearRect(slot, 0, 0, 8, 8);
    case 4:
      return displayEngine.clearSurface(slot);
    case 5:
      return displayEngine.drawRectOutline(slot, 0, 0, 8, 8, 5);
    case 6:
      return displayEngine.blitFast(0, 0, nullptr, slot, 2, 0);
    case 7:
      return displayEngine.blitFast(0, 0, nullptr, 2, slot, 0);
    case 8:
      return displayEngine.blitRect(0, 0, 0, 0, 8, 8, slot, 2, 0);
    case 9:
      return displayEngine.blitClipped(0, 0, 0, 0, 8, 8, 2, slot, 0);
    default:
      return displayEngine.unlockSurface(slot);
  }
}
constexpr int slotOperations = 11;

// The operations without a result, each on one slot.
void drawWithSlot(int which, int32_t slot) {
  switch (which) {
    case 0:
      displayEngine.drawText(slot, 0, 0, "FPS 60");
      break;
    case 1:
      displayEngine.drawFontText(0, 0, 0, 0, "text", 16, 0, 400, 1, RGB(255, 255, 255), 0, "", 0,
                                 slot, 0);
      break;
    case 2:
      displayEngine.drawFilledCircle(slot, 20, 20, 10, 3);
      break;
    case 3:
      displayEngine.drawSineStrips(0, 0, 0, 0, 16, 16, slot, 2, 0, 0, 10, 4);
      break;
    case 4:
      displayEngine.drawBitmapFontText(slot, 0, 0, "A1", 0);
      break;
    case 5:
      displayEngine.mosaicCopy(0, 0, 0, 0, 16, 16, slot, 2, 4);
      break;
    case 6:
      displayEngine.dissolveCopy(0, 0, 0, 0, 16, 16, 2, slot, 3, 0);
      break;
    case 7:
      displayEngine.drawRotatedSprite(40, 40, 0, 0, 16, 16, 30, slot, 2);
      break;
    case 8:
      displayEngine.loadBitmapToSurface("no-such-file.bmp", 8, 8, 0, 0, 0, 0, slot);
      break;
    default:
      displayEngine.lockSurface(slot);
      break;
  }
}
constexpr int drawOperations = 10;

}  // namespace

class EngineSlotChecksTest : public EngineSetupTest {};

TEST_F(EngineSlotChecksTest, ASlotWithoutASurfaceIsRefusedAndNothingIsDrawn) {
  for (int32_t fullscreen : {1, 0}) {
    SCOPED_TRACE(fullscreen ? "full-screen" : "windowed");
    ASSERT_EQ(displayEngine.setupDisplay(mainWindow, 320, 240, fullscreen, 8, 6), 1);
    for (int32_t slot = 1; slot < 6; ++slot) displayEngine.fillSurface(slot, 40 + slot);
    support::Picture before[6];
    for (int32_t slot = 0; slot < 6; ++slot) before[slot] = support::readSurface(surfaces[slot]);
    for (int32_t slot : badSlots) {
      SCOPED_TRACE(slot);
      for (int which = 0; which < slotOperations; ++which)
        EXPECT_EQ(callWithSlot(which, slot), DDERR_INVALIDPARAMS) << "operation " << which;
      for (int which = 0; which < drawOperations; ++which) drawWithSlot(which, slot);
    }
    EXPECT_EQ(displayEngine.surfaceCount, 6);
    EXPECT_EQ(displayEngine.width, 320);
    for (int32_t slot = 0; slot < 6; ++slot)
      EXPECT_EQ(support::readSurface(surfaces[slot]), before[slot]) << "slot " << slot;
    EXPECT_TRUE(compat::testing::surfaceGuardsIntact());
    displayEngine.shutdownDisplay();
  }
}

TEST_F(EngineSlotChecksTest, BeforeSetUpEveryOperationIsRefused) {
  for (int which = 0; which < slotOperations; ++which)
    EXPECT_EQ(callWithSlot(which, 2), DDERR_INVALIDPARAMS) << "operation " << which;
  for (int which = 0; which < drawOperations; ++which) drawWithSlot(which, 2);
  EXPECT_EQ(displayEngine.probePaletteIndex(RGB(1, 2, 3)), 0);
  displayEngine.presentFrame();
  displayEngine.restoreSurfaces();
  EXPECT_EQ(compat::testing::liveObjects(), (compat::testing::LiveObjects{0, 0, 0, 0}));
}

TEST_F(EngineSlotChecksTest, SetUpRefusesArgumentsItCannotUseAndMakesNothing) {
  const struct {
    const char* name;
    int32_t fullscreen;
    int32_t surfaceCount;
  } cases[] = {
      {"sixteen slots", 1, 16},
      {"INT32_MAX slots", 1, INT32_MAX},
      {"one slot", 1, 1},
      {"no slot", 0, 0},
      {"negative slots", 0, -3},
      {"full-screen flag 2", 2, 6},
      {"full-screen flag -1", -1, 6},
      {"full-screen flag INT32_MAX", INT32_MAX, 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(displayEngine.setupDisplay(mainWindow, 320, 240, c.fullscreen, 8, c.surfaceCount), 0);
    EXPECT_EQ(compat::testing::liveObjects(), (compat::testing::LiveObjects{0, 0, 0, 0}));
    EXPECT_EQ(displayEngine.surfaceCount, 0);
    displayEngine.shutdownDisplay();
  }
  // The limits themselves are accepted.
  for (int32_t count : {2, 15}) {
    SCOPED_TRACE(count);
    EXPECT_EQ(displayEngine.setupDisplay(mainWindow, 320, 240, 1, 8, count), 1);
    displayEngine.shutdownDisplay();
  }
}

TEST_F(EngineSlotChecksTest, EmptyOrInvertedRectanglesLeaveNothingToDrawWhereverTheyAreClipped) {
  setUpFullScreen();
  displayEngine.fillSurface(2, 7);
  displayEngine.fillSurface(3, 9);
  const support::Picture before = support::readSurface(surfaces[2]);
  const struct {
    int32_t x, y, w, h;
  } cases[] = {{10, 10, 0, 5},  {10, 10, 5, 0},         {10, 10, -4, 5},
               {10, 10, 5, -4}, {10, 10, INT32_MIN, 5}, {300, 200, 0, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " " << c.w << "x" << c.h);
    EXPECT_EQ(displayEngine.drawRectOutline(2, c.x, c.y, c.w, c.h, 1), 1);
    EXPECT_EQ(displayEngine.blitClipped(c.x, c.y, 0, 0, c.w, c.h, 2, 3, 0), 1);
  }
  EXPECT_EQ(support::readSurface(surfaces[2]), before);
}

TEST_F(EngineSlotChecksTest, ASecondLockOfALockedSlotKeepsTheHoldersRecord) {
  setUpFullScreen();
  displayEngine.lockSurface(2);
  uint8_t* const held = surfaceBits[2];
  ASSERT_NE(held, nullptr);
  displayEngine.lockSurface(2);  // refused: the slot is locked
  EXPECT_EQ(surfaceBits[2], nullptr);
  EXPECT_EQ(displayEngine.surfaceDesc[2].lpSurface, held);
  // The holder gives back its own lock, and the slot can be locked again.
  EXPECT_EQ(displayEngine.unlockSurface(2), DD_OK);
  displayEngine.lockSurface(2);
  EXPECT_NE(surfaceBits[2], nullptr);
  EXPECT_EQ(displayEngine.unlockSurface(2), DD_OK);
}
