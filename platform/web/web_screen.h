// The browser's screen: the frame on the page's canvas (the page keeps its aspect and scales it
// with nearest sampling), flips and vertical-blank waits at the display mode's 60 Hz on the
// page's animation frames, keys and mouse buttons from the page's events, the message box as a
// dialog on the page. The program's blocking loop keeps running: each wait gives the browser
// the thread (Asyncify) and comes back. What it keeps and how it paces is shared with the
// desktop's screen (compat::PresentingScreen).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/compat/presenting_screen.h"

namespace web {

class WebScreen final : public compat::PresentingScreen {
 public:
  bool isAvailable() override;
  void setCursorVisible(bool visible) override;
  void showMessageBox(std::string_view captionUtf8, std::string_view textUtf8) override;
  compat::DesktopSize desktopSize() override { return {640, 480}; }

  // Called by the page's event callbacks (web_events.cpp).
  void queueInput(const compat::InputEvent& event) { pending_.push_back(event); }

 private:
  std::int64_t nowNs() override;
  void waitUntilNs(std::int64_t timeNs) override;
  bool canShow() override { return true; }
  // The picture through its palette into RGBA, handed to the canvas as one image.
  void drawPicture() override;
  void readInput(std::vector<compat::InputEvent>& events) override;

  bool listening_ = false;
  std::vector<std::uint32_t> rgba_;
  std::vector<compat::InputEvent> pending_;
  double lastYield_ = 0;
};

WebScreen& webScreen();

// Starts listening to the page's keys and the canvas's mouse buttons (web_events.cpp).
void listenToPage(WebScreen& screen);

}  // namespace web
