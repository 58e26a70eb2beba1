// The real screen: an SDL2 window that shows the primary surface, input turned into the
// messages compat posts, and message boxes. Full-screen exclusive mode becomes a borderless
// desktop full-screen window (no real mode change) showing the picture scaled up with nearest
// sampling, by whole factors, its aspect kept; windowed mode shows the window's part of the
// desktop that the primary surface stands for. What it keeps and how it paces is shared with
// the browser's screen (compat::PresentingScreen).
//
// What a user of today's desktop expects of a layer that shows a full-screen 8-bit program,
// which the program itself never sees (for it the display stays its exclusive mode):
// - Alt+Enter shows the picture in a resizable window, and full-screen again; the choice and
//   the window's size and place are remembered for the next start;
// - flips and vertical-blank waits keep the display mode's 60 Hz whatever the monitor's rate;
// - Print Screen saves the shown frame as an indexed PNG;
// - Alt+R starts and stops recording the shown pictures into an MP4 video;
// - the window asks for the display's real pixels on high-density screens.
//
// The class is spread over files by what a reader looks for:
//   sdl_screen.cpp        starting SDL's video, the window and its placement, the cursor,
//                         the clock, message boxes
//   sdl_view.cpp          full-screen or in a window (Alt+Enter), the remembered view, scaling
//   sdl_input.cpp         SDL's events into input, and the keys the screen keeps for itself
//   sdl_recording.cpp     recording the shown pictures (Alt+R)
//   sdl_presentation.cpp  the kept picture onto the window: through a 256-entry lookup of the
//                         palette in the window's pixel format into a streaming texture, which
//                         the renderer scales, synchronised to the vertical blank where the
//                         system offers it
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/compat/presenting_screen.h"
#include "platform/video_recorder.h"
#include "platform/sdl/sdl_display_state.h"
#include "platform/sdl/sdl_frame_conversion.h"

namespace sdl {

class SdlScreen final : public compat::PresentingScreen {
 public:
  bool isAvailable() override;
  void setCursorVisible(bool visible) override;
  void showMessageBox(std::string_view captionUtf8, std::string_view textUtf8) override;
  compat::DesktopSize desktopSize() override;

  // sdl_recording.cpp: at exit, ends a recording in progress and waits until every
  // recording's file is finished.
  void finishRecordings();

 private:
  // compat::PresentingScreen's platform steps.
  std::int64_t nowNs() override;
  void waitUntilNs(std::int64_t timeNs) override;
  bool canShow() override { return renderer_ != nullptr; }
  void drawPicture() override;
  void readInput(std::vector<compat::InputEvent>& events) override;
  void placementChanged() override;
  void exclusiveModeChanged() override;

  // sdl_screen.cpp
  // Starts SDL's video once; false where there is no display to show anything on.
  bool startVideo();
  void createWindow();
  void applyPlacement();

  // sdl_view.cpp: the view of a full-screen program, full-screen or in a window.
  void showFullScreen();
  void showInWindow();
  void toggleView();
  void rememberView();
  std::vector<WindowArea> screens() const;
  // The largest whole multiple of the picture that fits comfortably on the desktop, centred.
  WindowArea defaultWindow() const;
  // Whole-number scaling wherever the window holds the picture at least once.
  void updateScaling();

  // sdl_input.cpp: key presses the screen keeps for itself (Alt+Enter, Print Screen, Alt+R);
  // true when taken.
  bool takeKey(const SDL_KeyboardEvent& key, std::vector<compat::InputEvent>& events);

  // sdl_recording.cpp: Alt+R; each shown picture to the recording; the mark while it records.
  void toggleRecording();
  void stopRecording();
  void recordPicture();
  void showRecordingMark(bool shown);

  // sdl_presentation.cpp
  void mapPalette();
  bool ensureTexture(int width, int height);
  // The monitor's refresh period when presenting waits for it, for the pacer.
  void measureMonitor();

  bool videoTried_ = false;
  bool videoReady_ = false;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  Uint32 textureFormat_ = SDL_PIXELFORMAT_ARGB8888;
  int textureWidth_ = 0;
  int textureHeight_ = 0;
  ColourLookup lookup_{};  // palette_ in textureFormat_
  bool cursorVisible_ = true;

  bool viewInWindow_ = false;          // a full-screen program shown in a window (Alt+Enter)
  bool viewRestored_ = false;          // the remembered view has been read
  WindowArea viewWindow_{0, 0, 0, 0};  // that window's place and size

  std::unique_ptr<video::Recorder> recording_;  // while Alt+R records
  std::vector<std::unique_ptr<video::Recorder>> finishing_;  // stopped, files being finished
};

}  // namespace sdl
