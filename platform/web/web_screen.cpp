#include "platform/web/web_screen.h"

#include <string>

#include "platform/web/web_page_calls.h"

namespace web {
namespace {

constexpr double busyPollLimitMs = 8;  // a program that polls longer gives the page a turn

}  // namespace

bool WebScreen::isAvailable() {
  if (!listening_) {
    // The browser's animation frames come at the display's refresh, taken as 60 Hz (as the
    // slow-look judgement does): a flip then waits for the frame nearest its tick.
    pacer_.setMonitorPeriod(compat::FramePacer::modePeriodNs);
    tellPageOfWaits();
    // Before the listeners: a canvas WebGL2 could not serve is replaced by a fresh one, which
    // the listeners must be on.
    gpu_ = startGl();
    tellPageOfScreen(gpu_);
    letPageTakePictures();
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
  followContext();
  if (!onGpu()) {
    useCopyCanvas(false);
    drawOnCanvas();
  } else if (!drawOnProcessor()) {
    useCopyCanvas(false);
    drawWithGl();
  }
  tellPageOfPicture();
}

void WebScreen::setCursorVisible(bool visible) { web::setCursorVisible(visible); }

void WebScreen::readInput(std::vector<compat::InputEvent>& events) {
  // A program polling in a loop would keep the page from handling anything: it gets a turn.
  if (pageNow() - lastYield_ > busyPollLimitMs) {
    yieldToPage();
    lastYield_ = pageNow();
  }
  if (followContext() || (onGpu() && pageView() != drawnView_)) showPicture();
  if (closeRequested()) pending_.push_back({compat::InputKind::CloseWindow, 0, false, false, 0, 0});
  for (compat::InputEvent& event : pending_)
    if (event.kind != compat::InputKind::KeyDown && event.kind != compat::InputKind::KeyUp &&
        event.kind != compat::InputKind::CloseWindow)
      placePointer(event);
  events.insert(events.end(), pending_.begin(), pending_.end());
  pending_.clear();
}

void WebScreen::placePointer(compat::InputEvent& event) const {
  if (!exclusive_ || pictureWidth_ <= 0 || pictureHeight_ <= 0) return;
  int css[2] = {0, 0};
  readCanvasCssSize(css);
  // On the GPU the canvas's pixels are the device's, the picture in the look's rectangle of
  // them; the 2D canvas holds the picture itself, which the page fits into its box.
  const bool gpu = onGpu();
  const int pixelsWide = gpu ? drawnView_.width : css[0];
  const int pixelsHigh = gpu ? drawnView_.height : css[1];
  const compat::ScreenRect rect =
      gpu ? compat::lookRectangle(drawnView_.look, pictureWidth_, pictureHeight_, pixelsWide,
                                  pixelsHigh)
          : compat::aspectRectangle(pictureWidth_, pictureHeight_, pixelsWide, pixelsHigh);
  const compat::PicturePoint point =
      compat::pointOnPicture(event.x, event.y, css[0], css[1], pixelsWide, pixelsHigh, rect,
                             pictureWidth_, pictureHeight_);
  event.x = point.x;
  event.y = point.y;
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
