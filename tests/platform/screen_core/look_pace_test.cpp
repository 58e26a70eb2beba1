// A look is found too slow when most presentations of a second in it miss the mode's period,
// once a run for each look, and not for a few late ones that a busy machine makes.
#include "platform/screen_core/look_pace.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

namespace compat {
namespace {

constexpr std::int64_t quick = 5'000'000;
constexpr std::int64_t late = 25'000'000;

// Presentations in `look`, `lateEvery`-th of them taking `slowNs` (0: none), `count` of them;
// how many times the pace said the look is too slow.
int slowCalls(LookPace& pace, Look look, int count, int lateEvery, std::int64_t slowNs = late) {
  int calls = 0;
  for (int i = 0; i < count; ++i)
    calls += pace.record(look, lateEvery != 0 && i % lateEvery == 0 ? slowNs : quick);
  return calls;
}

TEST(LookPace, FindsALookTooSlowOnlyWhenMostOfItsPresentationsMissThePeriod) {
  struct Case {
    const char* name;
    int lateEvery;  // every n-th presentation late; 1: all of them
    bool slow;
    std::int64_t slowNs = late;  // how long the late ones take
  };
  const Case cases[] = {
      {"all on time", 0, false},
      {"a few late (1 in 5)", 5, false},
      {"all late", 1, true},
      // The mode's period is 60 Hz's whatever the monitor's: 10 ms misses a 144 Hz monitor's
      // refresh, but flips come at 60 Hz, and 17 ms misses those.
      {"all longer than a 144 Hz refresh, within 60 Hz", 1, false, 10'000'000},
      {"all just over 60 Hz", 1, true, 17'000'000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LookPace pace;
    EXPECT_EQ(slowCalls(pace, Look::sharp, 10 * LookPace::window, c.lateEvery, c.slowNs),
              c.slow ? 1 : 0)
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
}

TEST(LookPace, TheMessageNamesALookCheaperThanWhatWasDrawn) {
  EXPECT_EQ(slowLookMessage(Look::crt, Look::crt),
            "the crt look cannot keep 60 Hz here: sharp costs less");
  EXPECT_EQ(slowLookMessage(Look::sharp, Look::sharp),
            "the sharp look cannot keep 60 Hz here: integer costs less");
  EXPECT_EQ(slowLookMessage(Look::integer, Look::integer),
            "the integer look cannot keep 60 Hz here");
  // Sharp at whole factors is drawn as integer's copy: integer would cost the same.
  EXPECT_EQ(slowLookMessage(Look::sharp, Look::integer), "the sharp look cannot keep 60 Hz here");
  // CRT without room for its lines is drawn sharp: only integer costs less.
  EXPECT_EQ(slowLookMessage(Look::crt, Look::sharp),
            "the crt look cannot keep 60 Hz here: integer costs less");
}

TEST(LookPace, TheDelayHookTakesOnlyWholeMillisecondsInItsRange) {
  struct Case {
    const char* text;
    std::optional<int> ms;
  };
  const Case cases[] = {
      {"0", 0},
      {"40", 40},
      {"1000", 1000},
      {"1001", std::nullopt},
      {"-5", std::nullopt},
      {"+5", std::nullopt},
      {"", std::nullopt},
      {"abc", std::nullopt},
      {"40ms", std::nullopt},
      {" 40", std::nullopt},
      {"2147483647", std::nullopt},
      {"99999999999", std::nullopt},
      {"4.5", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(parsePresentDelayMs(c.text), c.ms);
  }
}

}  // namespace
}  // namespace compat

// On a GPU the program's processor time shows none of the drawing: a look judged by it there
// would never be found slow. Only the processor's own renderers are timed that way.
TEST(LookPace, OnlyRenderersOnTheProcessorAreTimedByProcessorTime) {
  const struct {
    const char* renderer;
    bool onProcessor;
  } cases[] = {
      {"llvmpipe (LLVM 15.0.6, 256 bits)", true},
      {"softpipe", true},
      {"ANGLE (Google, Vulkan 1.3.0 (SwiftShader Device (Subzero) (0x0000C0DE)), SwiftShader "
       "driver)",
       true},
      {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", false},
      {"V3D 4.2", false},
      {"NVIDIA GeForce RTX 3060/PCIe/SSE2", false},
      {"", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.renderer);
    EXPECT_EQ(compat::rendersOnProcessor(c.renderer), c.onProcessor);
  }
}
