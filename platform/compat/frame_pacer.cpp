#include "platform/compat/frame_pacer.h"

#include <algorithm>

namespace compat {

std::int64_t FramePacer::presentTime(std::int64_t nowNs) {
  // A flip that comes after its tick (a slow frame, or the first) restarts the ticks from
  // now: the flips after it come a tick apart, not in a burst that makes up for lost time.
  restarted_ = nextTickNs_ < 0 || nextTickNs_ < nowNs;
  if (restarted_) nextTickNs_ = nowNs;
  // Half a refresh early: the present waits for the first refresh after it, which is then the
  // one nearest the tick.
  return std::max(nowNs, nextTickNs_ - monitorPeriodNs_ / 2);
}

void FramePacer::presented(std::int64_t nowNs) {
  // Restarted ticks count from when the flip showed, which vertical sync may have delayed.
  nextTickNs_ = (restarted_ ? nowNs : nextTickNs_) + modePeriodNs;
}

std::int64_t FramePacer::nextVerticalBlank(std::int64_t nowNs) {
  if (nextTickNs_ < 0 || nextTickNs_ + modePeriodNs < nowNs) {
    // Not flipping: the mode's blanks fall on whole periods of the clock.
    return nowNs + (modePeriodNs - nowNs % modePeriodNs);
  }
  return std::max(nowNs, nextTickNs_);
}

}  // namespace compat
