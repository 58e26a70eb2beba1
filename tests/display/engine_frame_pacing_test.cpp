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
