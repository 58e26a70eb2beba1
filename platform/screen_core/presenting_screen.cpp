#include "platform/screen_core/presenting_screen.h"

#include <cstring>

#include "platform/screen_core/shown_area.h"

namespace compat {

void PresentingScreen::keep(const IndexedFrame& frame, const Palette& palette) {
  const ShownArea area = shownArea(exclusive_, placement_, frame.width, frame.height);
  pictureWidth_ = area.width;
  pictureHeight_ = area.height;
  // The area lies within the window: the difference is between 0 and the window's size.
  const bool inWindow = !exclusive_ && area.width > 0 && area.height > 0;
  pictureLeft_ = inWindow ? static_cast<int>(std::int64_t{area.x} - placement_.x) : 0;
  pictureTop_ = inWindow ? static_cast<int>(std::int64_t{area.y} - placement_.y) : 0;
  copyShownArea(frame, area, picture_);
  pictureChanged_ = true;
  if (std::memcmp(&palette, &palette_, sizeof palette) != 0) {
    palette_ = palette;
    paletteChanged_ = true;
  }
}

void PresentingScreen::showPicture() {
  writePending_ = false;
  if (!canShow()) return;
  drawPicture();
  pictureChanged_ = false;
  paletteChanged_ = false;
  lastShownNs_ = nowNs();
}

void PresentingScreen::presentFrame(const IndexedFrame& frame, const Palette& palette) {
  if (!canShow()) return;
  keep(frame, palette);
  // A flip shows at the display mode's next tick, on the monitor's refresh nearest it.
  waitUntilNs(pacer_.presentTime(nowNs()));
  const std::int64_t waitEnd = nowNs();
  showPicture();
  pacer_.presented(shownAtNs(waitEnd, nowNs()));
}

void PresentingScreen::showWrite(const IndexedFrame& frame, const Palette& palette) {
  if (!canShow()) return;
  keep(frame, palette);
  // Blits, unlocks and DCs on the visible primary do not wait for the display: shown now when
  // a tick has passed since the last picture, else by the next look at the screen after it.
  writePending_ = true;
  showWhenDue();
}

void PresentingScreen::showWhenDue() {
  if (!writePending_) return;
  const std::int64_t now = nowNs();
  if (lastShownNs_ < 0 || now - lastShownNs_ >= FramePacer::modePeriodNs) showPicture();
}

void PresentingScreen::updatePalette(const Palette& palette) {
  // A palette display changes colour at once: recorded here, shown by the next present, or by
  // the next look at input or the vertical blank when no frame follows.
  palette_ = palette;
  paletteChanged_ = true;
}

void PresentingScreen::waitForVerticalBlank() {
  // The blank is when a waiting picture or colour change reaches the screen.
  if (writePending_ || paletteChanged_) showPicture();
  waitUntilNs(pacer_.nextVerticalBlank(nowNs()));
}

void PresentingScreen::pollInput(std::vector<InputEvent>& events) {
  readInput(events);
  if (paletteChanged_)
    showPicture();  // colours change at once on a palette display
  else
    showWhenDue();
}

void PresentingScreen::placeWindow(const WindowPlacement& placement) {
  // The title's characters must outlive the caller's view of them.
  title_ = placement.titleUtf8;
  placement_ = placement;
  placement_.titleUtf8 = title_;
  placementChanged();
}

void PresentingScreen::setExclusiveMode(bool exclusive) {
  exclusive_ = exclusive;
  exclusiveModeChanged();
}

}  // namespace compat
