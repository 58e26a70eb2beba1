#include "platform/web/web_screen.h"

#include <cstring>
#include <string>

#include "platform/compat/rgba_frame.h"
#include "platform/compat/shown_area.h"
#include "platform/web/web_page_calls.h"

namespace web {
namespace {

constexpr double busyPollLimitMs = 8;  // a program that polls longer gives the page a turn

std::int64_t nowNs() { return static_cast<std::int64_t>(pageNow() * 1e6); }

}  // namespace

bool WebScreen::isAvailable() {
  if (!listening_) {
    tellPageOfWaits();
    listenToPage(*this);
    listening_ = true;
  }
  return true;
}

void WebScreen::showPicture() {
  if (pictureWidth_ == 0 || pictureHeight_ == 0) return;
  rgba_.resize(picture_.size());
  compat::indexedToRgba(picture_.data(), picture_.size(), palette_, rgba_.data());
  putFrame(reinterpret_cast<const std::uint8_t*>(rgba_.data()), pictureWidth_, pictureHeight_);
  paletteChanged_ = false;
}

void WebScreen::presentFrame(const compat::IndexedFrame& frame, const compat::Palette& palette) {
  const compat::ShownArea area =
      compat::shownArea(exclusive_, placement_, frame.width, frame.height);
  pictureWidth_ = area.width;
  pictureHeight_ = area.height;
  compat::copyShownArea(frame, area, picture_);
  palette_ = palette;
  // A flip shows at the display mode's next tick; the browser shows it on its next frame.
  waitUntil(static_cast<double>(pacer_.presentTime(nowNs())) / 1e6);
  showPicture();
  pacer_.presented(nowNs());
  lastYield_ = pageNow();
}

void WebScreen::updatePalette(const compat::Palette& palette) {
  palette_ = palette;
  paletteChanged_ = true;
}

void WebScreen::waitForVerticalBlank() {
  if (paletteChanged_) showPicture();
  waitUntil(static_cast<double>(pacer_.nextVerticalBlank(nowNs())) / 1e6);
  lastYield_ = pageNow();
}

void WebScreen::placeWindow(const compat::WindowPlacement& placement) {
  placement_ = placement;
  placement_.titleUtf8 = {};
}

void WebScreen::setExclusiveMode(bool exclusive) { exclusive_ = exclusive; }

void WebScreen::setCursorVisible(bool visible) { web::setCursorVisible(visible); }

void WebScreen::pollInput(std::vector<compat::InputEvent>& events) {
  // A program polling in a loop would keep the page from handling anything: it gets a turn.
  if (pageNow() - lastYield_ > busyPollLimitMs) {
    yieldToPage();
    lastYield_ = pageNow();
  }
  if (paletteChanged_) showPicture();
  if (closeRequested()) pending_.push_back({compat::InputKind::CloseWindow, 0, false, false, 0, 0});
  events.insert(events.end(), pending_.begin(), pending_.end());
  pending_.clear();
}

void WebScreen::showMessageBox(std::string_view captionUtf8, std::string_view textUtf8) {
  showDialog(std::string(captionUtf8).c_str(), std::string(textUtf8).c_str());
}

WebScreen& webScreen() {
  static WebScreen screen;
  return screen;
}

}  // namespace web

compat::Screen& compat::activeScreen() { return web::webScreen(); }
