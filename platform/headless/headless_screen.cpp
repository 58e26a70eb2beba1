#include "platform/headless/headless_screen.h"

#include <cstring>

namespace compat {

void HeadlessScreen::simulateDisplay(std::int64_t* clockNs, int monitorHz) {
  simulatedClockNs_ = clockNs;
  monitorPeriodNs_ = monitorHz > 0 ? 1'000'000'000 / monitorHz : 0;
  pacer_ = FramePacer(monitorPeriodNs_);
}

void HeadlessScreen::waitForVerticalBlank() {
  if (simulatedClockNs_ != nullptr)
    *simulatedClockNs_ = pacer_.nextVerticalBlank(*simulatedClockNs_);
}

void HeadlessScreen::presentFrame(const IndexedFrame& frame, const Palette& palette) {
  if (simulatedClockNs_ != nullptr) {
    std::int64_t& now = *simulatedClockNs_;
    now = pacer_.presentTime(now);
    // With vertical sync the present returns at the monitor's next refresh.
    if (monitorPeriodNs_ > 0) now += (monitorPeriodNs_ - now % monitorPeriodNs_) % monitorPeriodNs_;
    pacer_.presented(now);
  }
  keep(frame, palette);
}

void HeadlessScreen::showWrite(const IndexedFrame& frame, const Palette& palette) {
  keep(frame, palette);
}

void HeadlessScreen::keep(const IndexedFrame& frame, const Palette& palette) {
  lastFrame_.width = frame.width;
  lastFrame_.height = frame.height;
  lastFrame_.pixels.resize(static_cast<std::size_t>(frame.width) * frame.height);
  for (int y = 0; y < frame.height; ++y)
    std::memcpy(&lastFrame_.pixels[static_cast<std::size_t>(y) * frame.width],
                frame.pixels + static_cast<std::ptrdiff_t>(y) * frame.pitch, frame.width);
  lastFrame_.palette = palette;
  shownPalette_ = palette;
  ++framesPresented_;
  if (callback_) callback_(frame, palette);
}

void HeadlessScreen::updatePalette(const Palette& palette) {
  shownPalette_ = palette;
  ++paletteUpdates_;
  if (paletteCallback_) paletteCallback_(palette);
}

void HeadlessScreen::placeWindow(const WindowPlacement& placement) {
  // The title's characters must outlive the caller's view of them.
  title_ = placement.titleUtf8;
  placement_ = placement;
  placement_.titleUtf8 = title_;
}

void HeadlessScreen::pollInput(std::vector<InputEvent>& events) {
  events.insert(events.end(), pendingInput_.begin(), pendingInput_.end());
  pendingInput_.clear();
}

void HeadlessScreen::showMessageBox(std::string_view captionUtf8, std::string_view textUtf8) {
  messageBoxes_.push_back({std::string(captionUtf8), std::string(textUtf8)});
  if (messageBoxHook_) messageBoxHook_();
}

HeadlessScreen& headlessScreen() {
  static HeadlessScreen screen;
  return screen;
}

Screen& activeScreen() { return headlessScreen(); }

}  // namespace compat
