#include "platform/web/web_screen.h"

#include <string>

#include "platform/compat/rgba_frame.h"
#include "platform/web/web_page_calls.h"

namespace web {
namespace {

constexpr double busyPollLimitMs = 8;  // a program that polls longer gives the page a turn

}  // namespace

bool WebScreen::isAvailable() {
  if (!listening_) {
    tellPageOfWaits();
    listenToPage(*this);
    listening_ = true;
  }
  return true;
}

std::int64_t WebScreen::nowNs() { return static_cast<std::int64_t>(pageNow() * 1e6); }

void WebScreen::waitUntilNs(std::int64_t timeNs) {
  // The browser shows what was drawn on its next frame.
  waitUntil(static_cast<double>(timeNs) / 1e6);
  lastYield_ = pageNow();
}

void WebScreen::drawPicture() {
  if (pictureWidth_ == 0 || pictureHeight_ == 0) return;
  rgba_.resize(picture_.size());
  compat::indexedToRgba(picture_.data(), picture_.size(), palette_, rgba_.data());
  putFrame(reinterpret_cast<const std::uint8_t*>(rgba_.data()), pictureWidth_, pictureHeight_);
}

void WebScreen::setCursorVisible(bool visible) { web::setCursorVisible(visible); }

void WebScreen::readInput(std::vector<compat::InputEvent>& events) {
  // A program polling in a loop would keep the page from handling anything: it gets a turn.
  if (pageNow() - lastYield_ > busyPollLimitMs) {
    yieldToPage();
    lastYield_ = pageNow();
  }
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
