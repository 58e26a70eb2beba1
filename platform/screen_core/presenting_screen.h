// What every screen that shows the program's pictures on a display shares, whatever draws
// them (SDL on the desktop, the page's canvas in the browser):
// - the shown part of the last frame, kept as 8 bits with its palette, so that a
//   palette-only change shows again without a new frame, as on a palette display;
// - the pace: flips and vertical-blank waits on the display mode's 60 Hz (FramePacer);
//   other writes to the visible primary are shown without making the caller wait, at the
//   next tick at the latest;
// - the window's placement and whether the program holds the display exclusively.
// A platform's screen derives from it and supplies its clock, its way of waiting, its input,
// and the one step that puts the kept picture on the screen. The headless screen keeps whole
// frames and a simulated clock instead, and does not build on this.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/compat/screen.h"
#include "platform/screen_core/frame_pacer.h"

namespace compat {

class PresentingScreen : public Screen {
 public:
  void presentFrame(const IndexedFrame& frame, const Palette& palette) final;
  void showWrite(const IndexedFrame& frame, const Palette& palette) final;
  void updatePalette(const Palette& palette) final;
  void waitForVerticalBlank() final;
  void pollInput(std::vector<InputEvent>& events) final;
  void placeWindow(const WindowPlacement& placement) override;
  void setExclusiveMode(bool exclusive) override;

 protected:
  // The platform's clock (nanoseconds, any epoch, never going back) and a wait until a time
  // on it; the wait may hand the thread to the system meanwhile.
  virtual std::int64_t nowNs() = 0;
  virtual void waitUntilNs(std::int64_t timeNs) = 0;
  // Whether anything can be shown yet (a window to draw into).
  virtual bool canShow() = 0;
  // Puts picture_ through palette_ on the screen. pictureChanged_ and paletteChanged_ tell
  // what changed since the last call; both are cleared after it.
  virtual void drawPicture() = 0;
  // Appends the input that arrived since the last call.
  virtual void readInput(std::vector<InputEvent>& events) = 0;
  // Called after placeWindow has recorded a new placement (the title's text is kept).
  virtual void placementChanged() {}
  // Called after the exclusive flag changed.
  virtual void exclusiveModeChanged() {}
  // When a flip's picture counts as shown, for the pace: `waitEndNs`, when its wait ended, or
  // `drawnNs`, when it was drawn. A present that waits for the refresh has returned at it, which
  // is the default; a page whose browser shows the picture on the frame after its wait gives
  // the wait's end (its drawing may take most of a frame).
  virtual std::int64_t shownAtNs(std::int64_t /*waitEndNs*/, std::int64_t drawnNs) {
    return drawnNs;
  }

  // Draws the kept picture now, and forgets any write waiting to be shown.
  void showPicture();

  // What is on the screen: the shown part of the last frame, rows packed, and its colours.
  std::vector<std::uint8_t> picture_;
  int pictureWidth_ = 0;
  int pictureHeight_ = 0;
  // Where the picture's top-left corner lies in the window: (0, 0) full-screen; windowed, where
  // the desktop begins in a window that reaches past its left or top edge.
  int pictureLeft_ = 0;
  int pictureTop_ = 0;
  Palette palette_{};
  bool pictureChanged_ = false;  // a new frame since the picture was last drawn
  bool paletteChanged_ = false;  // the colours changed since the picture was last drawn

  WindowPlacement placement_{};  // titleUtf8 views title_
  std::string title_;
  bool exclusive_ = false;
  FramePacer pacer_;

 private:
  void keep(const IndexedFrame& frame, const Palette& palette);
  // Shows a write or palette change that waits, once its tick has come.
  void showWhenDue();

  bool writePending_ = false;      // a write to the primary waits to be shown
  std::int64_t lastShownNs_ = -1;  // when the picture was last drawn; -1 never
};

}  // namespace compat
