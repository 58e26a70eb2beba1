#include "platform/screen_core/frame_pacer.h"

#include <algorithm>

namespace compat {

bool FramePacer::clockWentBack(std::int64_t nowNs) const {
  // A present comes at most half a refresh before its tick, and the next tick a period later.
  return nextTickNs_ - nowNs > modePeriodNs + monitorPeriodNs_;
}

std::int64_t FramePacer::presentTime(std::int64_t nowNs) {
  // A flip that comes after its tick (a slow frame, or the first) restarts the ticks from
  // now: the flips after it come a tick apart, not in a burst that makes up for lost time. So
  // does one whose tick is further away than any present leaves it, which only a clock gone
  // back can give.
  restarted_ = !started_ || nextTickNs_ < nowNs || clockWentBack(nowNs);
  started_ = true;
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
  if (!started_ || nextTickNs_ + modePeriodNs < nowNs || clockWentBack(nowNs)) {
    // Not flipping (or the clock went back): the mode's blanks fall on whole periods of the
    // clock, before its epoch too.
    const std::int64_t intoPeriod = (nowNs % modePeriodNs + modePeriodNs) % modePeriodNs;
    return nowNs + (modePeriodNs - intoPeriod);
  }
  return std::max(nowNs, nextTickNs_);
}

}  // namespace compat
