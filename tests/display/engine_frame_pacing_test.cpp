// The display mode's own pace, whatever the monitor: on the headless screen with a simulated
// clock and simulated monitors, page flips and vertical-blank waits keep to 60 a second.
#include <cstdint>

#include "platform/headless/headless_screen.h"
#include "tests/support/engine_setup_fixture.h"

namespace {

constexpr std::int64_t second = 1'000'000'000;
constexpr int monitorRates[] = {60, 75, 120, 144, 240, 0};  // 0: no vertical sync

}  // namespace

class FramePacingTest : public EngineSetupTest {};

TEST_F(FramePacingTest, FlipsKeepToSixtyASecondOnEveryMonitor) {
  setUpFullScreen();
  for (int hz : monitorRates) {
    SCOPED_TRACE(testing::Message() << "monitor " << hz << " Hz");
    std::int64_t clock = 12'345'678;  // an arbitrary phase against the monitor's refreshes
    compat::headlessScreen().simulateDisplay(&clock, hz);
    const long before = compat::headlessScreen().framesPresented();
    // A frame's own work takes 3 ms; the flip waits for the rest.
    const std::int64_t end = clock + 10 * second;
    long flips = 0;
    std::int64_t lastFlip = clock;
    std::int64_t longest = 0;
    while (clock < end) {
      clock += 3'000'000;
      displayEngine.presentFrame();
      ++flips;
      longest = std::max(longest, clock - lastFlip);
      lastFlip = clock;
    }
    EXPECT_EQ(compat::headlessScreen().framesPresented() - before, flips);
    EXPECT_NEAR(flips / 10.0, 60.0, 1.0);
    // Each flip shows on a refresh near its tick: never two ticks apart.
    EXPECT_LT(longest, 2 * second / 60) << "longest interval " << longest << " ns";
  }
  compat::headlessScreen().simulateDisplay(nullptr, 0);
}

TEST_F(FramePacingTest, VerticalBlankWaitsKeepToSixtyASecond) {
  setUpFullScreen();
  for (int hz : monitorRates) {
    SCOPED_TRACE(testing::Message() << "monitor " << hz << " Hz");
    std::int64_t clock = 987'654'321;
    compat::headlessScreen().simulateDisplay(&clock, hz);
    const std::int64_t end = clock + 5 * second;
    long waits = 0;
    while (clock < end) {
      displayEngine.waitVerticalBlank();
      ++waits;
    }
    EXPECT_NEAR(waits / 5.0, 60.0, 1.0);
  }
  compat::headlessScreen().simulateDisplay(nullptr, 0);
}

TEST_F(FramePacingTest, ASlowFrameIsNotMadeUpForByABurst) {
  setUpFullScreen();
  std::int64_t clock = 0;
  compat::headlessScreen().simulateDisplay(&clock, 144);
  for (int i = 0; i < 30; ++i) displayEngine.presentFrame();
  clock += second / 2;  // a stall of half a second
  const std::int64_t afterStall = clock;
  displayEngine.presentFrame();
  displayEngine.presentFrame();
  // The frame after the stall shows at once; the next one a tick later, not at once too.
  EXPECT_GE(clock - afterStall, second / 60 - second / 144);
  compat::headlessScreen().simulateDisplay(nullptr, 0);
}

TEST_F(FramePacingTest, AfterALateFrameTheNextFlipsComeATickApart) {
  // One frame takes 20 to 49 ms; the flips after it keep a tick apart instead of catching up.
  const std::int64_t tick = second / 60;
  const std::int64_t lateFrames[] = {20'000'000, 40'000'000, 45'000'000, 49'000'000};
  for (int hz : {0, 60, 144}) {
    for (std::int64_t late : lateFrames) {
      SCOPED_TRACE(testing::Message() << "monitor " << hz << " Hz, a frame of " << late << " ns");
      setUpFullScreen();
      std::int64_t clock = 5'000'000;
      compat::headlessScreen().simulateDisplay(&clock, hz);
      for (int i = 0; i < 10; ++i) displayEngine.presentFrame();
      clock += late;
      displayEngine.presentFrame();
      std::int64_t previous = clock;
      for (int i = 0; i < 5; ++i) {
        clock += 1'000'000;  // a quick frame
        displayEngine.presentFrame();
        // With vertical sync a flip lands on a refresh within half a refresh of its tick.
        const std::int64_t slack = hz > 0 ? second / hz / 2 + 1 : 0;
        EXPECT_GE(clock - previous, tick - slack) << "flip " << i << " after the late one";
        previous = clock;
      }
      compat::headlessScreen().simulateDisplay(nullptr, 0);
      displayEngine.shutdownDisplay();
    }
  }
}

TEST_F(FramePacingTest, VerticalBlankWaitsKeepTheirPaceAfterFlipsHaveStopped) {
  setUpFullScreen();
  for (int hz : monitorRates) {
    SCOPED_TRACE(testing::Message() << "monitor " << hz << " Hz");
    std::int64_t clock = 3'000'000;
    compat::headlessScreen().simulateDisplay(&clock, hz);
    for (int i = 0; i < 30; ++i) displayEngine.presentFrame();
    clock += second / 10;  // the program stops flipping and only waits from now on
    const std::int64_t end = clock + 2 * second;
    long waits = 0;
    std::int64_t shortest = second;
    while (clock < end && waits < 1000) {
      const std::int64_t before = clock;
      displayEngine.waitVerticalBlank();
      shortest = std::min(shortest, clock - before);
      ++waits;
    }
    EXPECT_NEAR(waits / 2.0, 60.0, 1.0);
    EXPECT_GT(shortest, 0) << "a wait returned at once";
  }
  compat::headlessScreen().simulateDisplay(nullptr, 0);
}

TEST_F(FramePacingTest, OnlyFlipsWaitForTheDisplay) {
  // Writes to the visible primary (fills, blits, unlocks, DCs) show without making the
  // program wait; the flip keeps its tick.
  const auto timed = [](const auto& work) {
    std::int64_t clock = 7'000'000;
    compat::headlessScreen().simulateDisplay(&clock, 0);
    const std::int64_t start = clock;
    work();
    compat::headlessScreen().simulateDisplay(nullptr, 0);
    return clock - start;
  };
  setUpWindowed();
  EXPECT_EQ(timed([] {
              for (int i = 0; i < 20; ++i) displayEngine.presentFrame();  // windowed: a Blt
              displayEngine.fillRect(0, 0, 0, 8, 8, 3);
              displayEngine.lockSurface(0);
              displayEngine.unlockSurface(0);
              displayEngine.drawText(0, 4, 4, "ab");
            }),
            0);
  displayEngine.shutdownDisplay();

  setUpFullScreen();
  EXPECT_EQ(timed([] {
              displayEngine.presentFrame();  // the first flip shows at once
              displayEngine.clearSurface(0);
              displayEngine.lockSurface(0);
              displayEngine.unlockSurface(0);
            }),
            0);
  EXPECT_EQ(timed([] {
              displayEngine.presentFrame();
              displayEngine.presentFrame();
              displayEngine.presentFrame();
            }),
            2 * (second / 60));
  // After a flip, restoring costs only the one flip it presents, and leaving costs nothing.
  EXPECT_EQ(timed([] {
              displayEngine.presentFrame();
              displayEngine.restoreSurfaces();
            }),
            second / 60);
  EXPECT_EQ(timed([] {
              displayEngine.presentFrame();
              displayEngine.shutdownDisplay();
            }),
            0);
}
