#include "platform/compat/frame_pacer.h"

#include <algorithm>

namespace compat {

std::int64_t FramePacer::presentTime(std::int64_t nowNs) {
  if (nextTickNs_ < 0) nextTickNs_ = nowNs;
  // Half a refresh early: the present waits for the first refresh after it, which is then the
  // one nearest the tick.
  return std::max(nowNs, nextTickNs_ - monitorPeriodNs_ / 2);
}

void FramePacer::presented(std::int64_t nowNs) { advance(nowNs); }

std::int64_t FramePacer::nextVerticalBlank(std::int64_t nowNs) {
  if (nextTickNs_ < 0 || nextTickNs_ + modePeriodNs < nowNs) {
    // Not flipping: the mode's blanks fall on whole periods of the clock.
    return nowNs + (modePeriodNs - nowNs % modePeriodNs);
  }
  return std::max(nowNs, nextTickNs_);
}

void FramePacer::advance(std::int64_t nowNs) {
  nextTickNs_ += modePeriodNs;
  if (nextTickNs_ + modePeriodNs < nowNs) nextTickNs_ = nowNs + modePeriodNs;
}

}  // namespace compat
