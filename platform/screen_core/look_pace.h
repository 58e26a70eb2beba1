// Whether the look a screen presents in keeps the display mode's rate. The screen times each
// presentation (the drawing through to the GL having finished it) and hands the time here; a
// look is too slow when most presentations of a second in it take longer than the mode's
// period (60 Hz, FramePacer's, whatever the monitor refreshes at: flips are paced to it), which
// no pacing can make up. The screen then says so, once, naming the cheaper look, and leaves
// the user's choice as it is. Pure arithmetic.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/screen_core/looks.h"

namespace compat {

class LookPace {
 public:
  // Presentations judged together, and how many of them may be late before the look is too
  // slow (a busy machine makes some late now and then).
  static constexpr int window = 60;
  static constexpr int lateAllowed = window / 4;

  // One presentation in `look` took `ns`. True the one time that the look is found too slow;
  // each look is found so at most once a run. A change of look starts a new count.
  bool record(Look look, std::int64_t ns);
  bool tooSlow(Look look) const { return slow_[static_cast<int>(look)]; }

 private:
  Look look_ = defaultLook;
  int frames_ = 0;
  int late_ = 0;
  bool slow_[3] = {false, false, false};
};

// The look that costs less to present than this one: crt's is sharp, sharp's integer; integer
// has none.
std::optional<Look> cheaperLook(Look look);

// What the screen says: "the crt look cannot keep 60 Hz here: sharp costs less". `drawnAs`
// is the way the presenter drew `look` (the sharp look at whole factors both ways is the
// integer look's copy): a cheaper look is named only where there is one than that.
std::string slowLookMessage(Look look, Look drawnAs);

// Whether a GL renderer (the GL_RENDERER string) draws on the processor: Mesa's llvmpipe and
// softpipe, Google's SwiftShader. There a presentation's cost shows as the program's processor
// time, and timing by it keeps other busy programs from making a look seem slow; a GPU's work
// shows only as time passing while the program waits for it.
bool rendersOnProcessor(std::string_view renderer);

// The test hook ROTOZOOM_PRESENT_DELAY_MS: milliseconds added to each presentation, a whole
// number from 0 to maxPresentDelayMs; nothing for anything else (unset, empty, signs, other
// characters, too large), which the screen then ignores saying so.
inline constexpr int maxPresentDelayMs = 1000;
std::optional<int> parsePresentDelayMs(std::string_view text);

}  // namespace compat
