// A look is found too slow when most presentations of a second in it miss the mode's period,
// once a run for each look, and not for a few late ones that a busy machine makes.
#include "platform/screen_core/look_pace.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace compat {
namespace {

constexpr std::int64_t period = 16'666'667;  // 60 Hz
constexpr std::int64_t quick = 5'000'000;
constexpr std::int64_t late = 25'000'000;

// Presentations in `look`, `lateEvery`-th of them late (0: none), `count` of them; how many
// times the pace said the look is too slow.
int slowCalls(LookPace& pace, Look look, int count, int lateEvery) {
  int calls = 0;
  for (int i = 0; i < count; ++i)
    calls += pace.record(look, lateEvery != 0 && i % lateEvery == 0 ? late : quick, period);
  return calls;
}

TEST(LookPace, FindsALookTooSlowOnlyWhenMostOfItsPresentationsMissThePeriod) {
  struct Case {
    const char* name;
    int lateEvery;  // every n-th presentation late; 1: all of them
    bool slow;
  };
  const Case cases[] = {
      {"all on time", 0, false},
      {"a few late (1 in 5)", 5, false},
      {"all late", 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LookPace pace;
    EXPECT_EQ(slowCalls(pace, Look::sharp, 10 * LookPace::window, c.lateEvery), c.slow ? 1 : 0)
        << "said once at most";
    EXPECT_EQ(pace.tooSlow(Look::sharp), c.slow);
    EXPECT_FALSE(pace.tooSlow(Look::crt));
  }
}

TEST(LookPace, JudgesEachLookOnItsOwnPresentations) {
  LookPace pace;
  // Late frames spread over looks that keep changing never add up to a slow look.
  for (int round = 0; round < 20; ++round) {
    EXPECT_EQ(slowCalls(pace, Look::crt, LookPace::window / 2, 1), 0);
    EXPECT_EQ(slowCalls(pace, Look::integer, LookPace::window / 2, 0), 0);
  }
  EXPECT_FALSE(pace.tooSlow(Look::crt));
  // A full window of late crt frames, then sharp on time: crt alone is too slow, said once.
  EXPECT_EQ(slowCalls(pace, Look::crt, LookPace::window, 1), 1);
  EXPECT_EQ(slowCalls(pace, Look::sharp, 3 * LookPace::window, 0), 0);
  EXPECT_EQ(slowCalls(pace, Look::crt, 3 * LookPace::window, 1), 0);
  EXPECT_TRUE(pace.tooSlow(Look::crt));
  EXPECT_FALSE(pace.tooSlow(Look::sharp));
  // Without a known period nothing is judged.
  LookPace unknown;
  for (int i = 0; i < 3 * LookPace::window; ++i) EXPECT_FALSE(unknown.record(Look::sharp, late, 0));
}

TEST(LookPace, TheMessageNamesTheCheaperLook) {
  EXPECT_EQ(slowLookMessage(Look::crt, 60),
            "the crt look cannot keep 60 Hz here: sharp costs less");
  EXPECT_EQ(slowLookMessage(Look::sharp, 75),
            "the sharp look cannot keep 75 Hz here: integer costs less");
  EXPECT_EQ(slowLookMessage(Look::integer, 60), "the integer look cannot keep 60 Hz here");
}

}  // namespace
}  // namespace compat
