// A screen with no display, for unit tests and the frame-capture tool: it keeps the last frame
// presented with its palette, counts frames, and can hand each frame to a callback. It has no
// input, no vertical blank to wait for and a 640 x 480 desktop.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/screen_core/frame_pacer.h"
#include "platform/compat/screen.h"

namespace compat {

// The last frame as the headless screen received it: rows packed, pitch = width.
struct CapturedFrame {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;
  Palette palette{};

  std::uint8_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

struct ShownMessageBox {
  std::string captionUtf8;
  std::string textUtf8;
};

class HeadlessScreen final : public Screen {
 public:
  using FrameCallback = std::function<void(const IndexedFrame&, const Palette&)>;

  bool isAvailable() override { return true; }
  void presentFrame(const IndexedFrame& frame, const Palette& palette) override;
  // Kept and counted as a flip is, without moving the simulated clock: writes do not wait.
  void showWrite(const IndexedFrame& frame, const Palette& palette) override;
  void updatePalette(const Palette& palette) override;
  void waitForVerticalBlank() override;
  void placeWindow(const WindowPlacement& placement) override;
  void setExclusiveMode(bool exclusive) override { exclusive_ = exclusive; }
  void setCursorVisible(bool visible) override { cursorVisible_ = visible; }
  void pollInput(std::vector<InputEvent>& events) override;
  void showMessageBox(std::string_view captionUtf8, std::string_view textUtf8) override;
  DesktopSize desktopSize() override { return {640, 480}; }

  const CapturedFrame& lastFrame() const { return lastFrame_; }
  // The palette now showing: the last frame's, or a later palette-only change.
  const Palette& shownPalette() const { return shownPalette_; }
  long framesPresented() const { return framesPresented_; }
  const std::vector<ShownMessageBox>& messageBoxes() const { return messageBoxes_; }
  const WindowPlacement& lastPlacement() const { return placement_; }
  bool exclusive() const { return exclusive_; }
  bool cursorVisible() const { return cursorVisible_; }
  // Called inside each message box, as a user would look at the screen while it shows.
  void setMessageBoxHook(std::function<void()> hook) { messageBoxHook_ = std::move(hook); }
  void setFrameCallback(FrameCallback callback) { callback_ = std::move(callback); }
  // Palette-only changes: how many, and a callback for each.
  long paletteUpdates() const { return paletteUpdates_; }
  void setPaletteCallback(std::function<void(const Palette&)> callback) {
    paletteCallback_ = std::move(callback);
  }
  // Input that the next poll hands over, as if the user had pressed or clicked.
  void injectInput(const InputEvent& event) { pendingInput_.push_back(event); }
  // A simulated display, paced as the real screen paces it: flips and vertical-blank waits
  // move the clock (nanoseconds) forward to when they would return on a monitor refreshing
  // `monitorHz` times a second with vertical sync (0: no sync). Without one, nothing waits.
  void simulateDisplay(std::int64_t* clockNs, int monitorHz);

 private:
  void keep(const IndexedFrame& frame, const Palette& palette);

  CapturedFrame lastFrame_;
  Palette shownPalette_{};
  long framesPresented_ = 0;
  FrameCallback callback_;
  long paletteUpdates_ = 0;
  std::function<void(const Palette&)> paletteCallback_;
  std::vector<ShownMessageBox> messageBoxes_;
  std::vector<InputEvent> pendingInput_;
  std::string title_;
  WindowPlacement placement_{};
  bool exclusive_ = false;
  bool cursorVisible_ = true;
  std::function<void()> messageBoxHook_;
  std::int64_t* simulatedClockNs_ = nullptr;
  std::int64_t monitorPeriodNs_ = 0;
  FramePacer pacer_;
};

// The headless screen of this program (the same object activeScreen() returns).
HeadlessScreen& headlessScreen();

}  // namespace compat
