// The browser's screen: the frame on the page's canvas (the page keeps its aspect and scales it
// with nearest sampling), flips and vertical-blank waits at the display mode's 60 Hz on the
// page's animation frames, keys and mouse buttons from the page's events, the message box as a
// dialog on the page. The program's blocking loop keeps running: each wait gives the browser
// the thread (Asyncify) and comes back.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/compat/frame_pacer.h"
#include "platform/compat/screen.h"

namespace web {

class WebScreen final : public compat::Screen {
 public:
  bool isAvailable() override;
  void presentFrame(const compat::IndexedFrame& frame, const compat::Palette& palette) override;
  void updatePalette(const compat::Palette& palette) override;
  void waitForVerticalBlank() override;
  void placeWindow(const compat::WindowPlacement& placement) override;
  void setExclusiveMode(bool exclusive) override;
  void setCursorVisible(bool visible) override;
  void pollInput(std::vector<compat::InputEvent>& events) override;
  void showMessageBox(std::string_view captionUtf8, std::string_view textUtf8) override;
  compat::DesktopSize desktopSize() override { return {640, 480}; }

  // Called by the page's event callbacks (web_events.cpp).
  void queueInput(const compat::InputEvent& event) { pending_.push_back(event); }

 private:
  void showPicture();

  bool listening_ = false;
  bool exclusive_ = false;
  compat::WindowPlacement placement_{};
  // What is on the canvas: the shown part of the last frame, its palette, and the RGBA copy.
  std::vector<std::uint8_t> picture_;
  int pictureWidth_ = 0;
  int pictureHeight_ = 0;
  compat::Palette palette_{};
  std::vector<std::uint32_t> rgba_;
  bool paletteChanged_ = false;
  std::vector<compat::InputEvent> pending_;
  compat::FramePacer pacer_;
  double lastYield_ = 0;
};

WebScreen& webScreen();

// Starts listening to the page's keys and the canvas's mouse buttons (web_events.cpp).
void listenToPage(WebScreen& screen);

}  // namespace web
