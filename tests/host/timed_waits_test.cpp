// The timed waits, on a fake clock: how many passes of the pump each takes before it returns.
#include <gtest/gtest.h>

#include <vector>

#include "host/main_window.h"
#include "host/message_pump.h"
#include "host/timed_waits.h"
#include "platform/compat/testing.h"

namespace {

// Thrown by a scripted clock read past its script: the wait under test did not end.
struct ClockRanOut {};

// A clock that reads the given values in turn and counts reads. A read past the last value
// means the wait did not end when it should have: the test fails there, by name, instead of
// spinning until CTest's timeout.
class ScriptedClock {
 public:
  explicit ScriptedClock(std::vector<uint32_t> readings) : readings_(std::move(readings)) {
    compat::testing::setClock([this] {
      if (reads_ == readings_.size()) {
        ADD_FAILURE() << "the clock ran out of its " << readings_.size()
                      << " readings: the wait did not end";
        throw ClockRanOut{};
      }
      return readings_[reads_++];
    });
  }
  ~ScriptedClock() { compat::testing::setClock(nullptr); }
  size_t reads() const { return reads_; }

 private:
  std::vector<uint32_t> readings_;
  size_t reads_ = 0;
};

}  // namespace

TEST(MessagePump, WaitSinceFrameStartNeedsStrictlyMoreThanItsTime) {
  const struct {
    const char* name;
    uint32_t frameStart;
    uint32_t milliseconds;
    std::vector<uint32_t> readings;  // the clock during the wait
    size_t passes;
  } cases[] = {
      {"same millisecond as the mark", 500, 0, {500, 500, 501}, 3},
      {"equal is not enough", 1000, 10, {1005, 1010, 1011}, 3},
      {"never marked", 0, 50, {1000}, 1},
      {"sum wraps past 2^32", 4294967280u, 32, {17}, 1},
      // Nothing compensates for the wrap: the clock already reads more than the sum.
      {"wrapped sum returns before its time", 4294967280u, 32, {4294967290u}, 1},
      // The sum at the top of the clock can never be exceeded: the wrap ends the wait.
      {"sum is the clock's last millisecond", 0xFFFFFFF0u, 15, {0xFFFFFFF5u, 0xFFFFFFFFu, 0}, 3},
      {"marked at the last millisecond", 0xFFFFFFFFu, 0, {0xFFFFFFFFu, 0xFFFFFFFFu, 0}, 3},
      {"clock steps over the top", 0xFFFFFFF0u, 14, {0xFFFFFFFDu, 3}, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    frameStartTime = c.frameStart;
    ScriptedClock clock(c.readings);
    waitSinceFrameStart(c.milliseconds);
    EXPECT_EQ(clock.reads(), c.passes);
  }
}

TEST(MessagePump, WaitForNeedsAtLeastItsTime) {
  const struct {
    const char* name;
    uint32_t milliseconds;
    std::vector<uint32_t> readings;  // the first is the start
    size_t reads;
  } cases[] = {
      {"zero returns after one pass", 0, {700, 700}, 2},
      {"equal is enough", 10, {1000, 1005, 1010}, 3},
      {"start plus time wraps and returns early", 32, {4294967280u, 4294967290u}, 2},
      {"near the wrap, short of the sum", 32, {4294967200u, 4294967210u, 4294967232u}, 3},
      {"sum is the last millisecond, clock skips it", 15, {0xFFFFFFF0u, 0xFFFFFFFEu, 2}, 3},
      {"sum is the last millisecond, clock reads it", 15, {0xFFFFFFF0u, 0xFFFFFFFFu}, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedClock clock(c.readings);
    waitFor(c.milliseconds);
    EXPECT_EQ(clock.reads(), c.reads);
  }
}

TEST(MessagePump, DisabledWaitsReturnAfterOnePass) {
  waitEnabled = 0;
  {
    ScriptedClock clock({100});
    frameStartTime = 100;
    waitSinceFrameStart(1000);
    EXPECT_EQ(clock.reads(), 1u);
  }
  {
    ScriptedClock clock({100, 100});
    waitFor(1000);
    EXPECT_EQ(clock.reads(), 2u);
  }
  waitEnabled = 1;
}

TEST(MessagePump, MarkFrameStartTakesTheClock) {
  ScriptedClock clock({4242});
  markFrameStart();
  EXPECT_EQ(frameStartTime, 4242u);
}

TEST(MessagePump, QuitMessageInAWaitEndsTheProgramWithStatusOne) {
  EXPECT_EXIT(
      {
        PostQuitMessage(0);
        waitFor(0);
      },
      testing::ExitedWithCode(1), "^$");
}
