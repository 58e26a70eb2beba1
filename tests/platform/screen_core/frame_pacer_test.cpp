// The display mode's pace on its own, against clocks that start anywhere, jump back (a clock
// set by hand, a suspended machine's counter) or far forward: a flip or a vertical-blank wait
// never waits longer than a tick, and the ticks go on a tick apart afterwards.
#include "platform/screen_core/frame_pacer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr std::int64_t tick = compat::FramePacer::modePeriodNs;
constexpr std::int64_t second = 1'000'000'000;
constexpr std::int64_t hour = 3600 * second;

// A program flipping on a clock it controls: each flip waits as the screens wait.
struct FlippingProgram {
  compat::FramePacer pacer;
  std::int64_t clock;

  // Flips and returns how long the flip waited.
  std::int64_t flip() {
    const std::int64_t before = clock;
    clock = std::max(clock, pacer.presentTime(clock));
    pacer.presented(clock);
    return clock - before;
  }
  std::int64_t waitForVerticalBlank() {
    const std::int64_t before = clock;
    clock = pacer.nextVerticalBlank(clock);
    return clock - before;
  }
};

}  // namespace

TEST(FramePacer, AClockThatJumpsNeverMakesAWaitLongerThanATick) {
  const struct {
    const char* name;
    std::int64_t jump;
  } jumps[] = {{"back an hour", -hour},
               {"back a second", -second},
               {"back two ticks", -2 * tick},
               {"forward an hour", hour},
               {"forward a day", 24 * hour}};
  for (const auto& jump : jumps) {
    for (const bool flipFirst : {true, false}) {
      SCOPED_TRACE(testing::Message()
                   << jump.name << ", then a " << (flipFirst ? "flip" : "vertical-blank wait"));
      FlippingProgram program{compat::FramePacer(), 10 * second};
      for (int i = 0; i < 10; ++i) program.flip();
      program.clock += jump.jump;
      if (flipFirst) {
        EXPECT_LE(program.flip(), tick);
      } else {
        const std::int64_t wait = program.waitForVerticalBlank();
        EXPECT_GT(wait, 0);
        EXPECT_LE(wait, tick);
        EXPECT_LE(program.flip(), tick);
      }
      // And the pace holds from there: a tick between flips.
      for (int i = 0; i < 5; ++i) EXPECT_EQ(program.flip(), tick) << "flip " << i;
    }
  }
}

TEST(FramePacer, KeepsItsPaceOnAClockOfAnyEpoch) {
  for (const std::int64_t start :
       {-10 * second, -tick / 2, std::int64_t{0}, std::int64_t{7}, 5 * hour}) {
    SCOPED_TRACE(testing::Message() << "the clock starting at " << start << " ns");
    FlippingProgram program{compat::FramePacer(), start};
    program.flip();
    for (int i = 0; i < 30; ++i) EXPECT_EQ(program.flip(), tick) << "flip " << i;
    compat::FramePacer waiting;
    for (std::int64_t now = start; now < start + 3 * tick; now += tick / 7) {
      const std::int64_t blank = waiting.nextVerticalBlank(now);
      EXPECT_GT(blank, now);
      EXPECT_LE(blank - now, tick);
    }
  }
}

TEST(FramePacer, WithVerticalSyncEachFlipShowsOnTheRefreshNearestItsTick) {
  // A monitor of another rate than the mode's, presenting on its refreshes (the present after a
  // time waits for the first refresh at or after it): each flip shows on the refresh nearest
  // its 60 Hz tick, never a whole refresh late, and the flips' spacing varies by no more than
  // the monitor's rate makes unavoidable.
  for (const int hertz : {75, 120, 144, 165}) {
    const std::int64_t refresh = second / hertz;
    for (const std::int64_t phase : {std::int64_t{0}, refresh / 3, refresh * 4 / 5}) {
      SCOPED_TRACE(testing::Message() << hertz << " Hz, refreshes at " << phase << " ns + k");
      const auto firstRefreshFrom = [&](std::int64_t time) {
        const std::int64_t k = (time - phase + refresh - 1) / refresh;
        return phase + k * refresh;
      };
      compat::FramePacer pacer(refresh);
      std::int64_t clock = 10 * second;
      const auto flip = [&] {
        clock = firstRefreshFrom(std::max(clock, pacer.presentTime(clock)));
        pacer.presented(clock);
        return clock;
      };
      const std::int64_t first = flip();
      for (int i = 1; i <= 120; ++i) {
        const std::int64_t tick = first + i * compat::FramePacer::modePeriodNs;
        const std::int64_t shown = flip();
        // The nearest refresh is at most half a refresh from the tick (either side).
        ASSERT_LE(std::abs(shown - tick), refresh / 2 + 1) << "flip " << i;
      }
    }
  }
}
