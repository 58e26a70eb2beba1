// The display mode's pace on its own, against clocks that start anywhere, jump back (a clock
// set by hand, a suspended machine's counter) or far forward: a flip or a vertical-blank wait
// never waits longer than a tick, and the ticks go on a tick apart afterwards.
#include "platform/screen_core/frame_pacer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

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
