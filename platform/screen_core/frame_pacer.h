// The display mode's own pace. A 320 x 240 mode of the time refreshed at about 60 Hz, and a
// program that advances one step per flip was made for that rate; today's monitors refresh at
// 75, 120, 144 or 240 Hz, or a virtual display not at all. The pacer keeps flips and
// vertical-blank waits on a 60 Hz clock of their own, and has each flip presented on the
// monitor's refresh nearest its tick.
#pragma once

#include <cstdint>

namespace compat {

class FramePacer {
 public:
  static constexpr std::int64_t modePeriodNs = 1'000'000'000 / 60;

  // `monitorPeriodNs`: the time between the monitor's refreshes when presenting waits for them
  // (vertical sync), 0 when it does not.
  explicit FramePacer(std::int64_t monitorPeriodNs = 0) : monitorPeriodNs_(monitorPeriodNs) {}
  void setMonitorPeriod(std::int64_t monitorPeriodNs) { monitorPeriodNs_ = monitorPeriodNs; }

  // When to hand the next flip to the display, given the time now. With vertical sync the
  // present then waits for the refresh nearest the tick; without it, it shows at the tick.
  // A flip later than its tick is shown at once and restarts the ticks from it, as does one
  // after the clock went back. Call presented() once it has been handed over. The clock's
  // epoch may be anywhere, before 0 too.
  std::int64_t presentTime(std::int64_t nowNs);
  void presented(std::int64_t nowNs);

  // When the next vertical blank of the display mode begins: the next tick.
  std::int64_t nextVerticalBlank(std::int64_t nowNs);

 private:
  // The next tick is further ahead than presenting ever leaves it.
  bool clockWentBack(std::int64_t nowNs) const;

  std::int64_t monitorPeriodNs_;
  bool started_ = false;  // a flip has set the ticks
  std::int64_t nextTickNs_ = 0;
  bool restarted_ = false;  // the flip being presented restarted the ticks
};

}  // namespace compat
