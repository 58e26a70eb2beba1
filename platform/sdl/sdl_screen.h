// The real screen: an SDL2 window that shows the primary surface, input turned into the
// messages compat posts, and message boxes. Full-screen exclusive mode becomes a borderless
// desktop full-screen window (no real mode change) showing the picture in the user's look
// (screen_core/looks.h: whole factors, sharp, or as a monitor of its time showed it); windowed mode
// shows the window's part of the desktop that the primary surface stands for, pixel for
// pixel. What it keeps and how it paces is shared with the browser's screen
// (compat::PresentingScreen).
//
// What a user of today's desktop expects of a layer that shows a full-screen 8-bit program,
// which the program itself never sees (for it the display stays its exclusive mode):
// - Alt+Enter shows the picture in a resizable window, and full-screen again; the choice and
//   the window's size and place are remembered for the next start;
// - flips and vertical-blank waits keep the display mode's 60 Hz whatever the monitor's rate;
// - Alt+L cycles the looks, the look's name shown for a moment; remembered with the view;
// - Print Screen saves the shown frame as an indexed PNG, whatever the look;
// - Alt+R starts and stops recording the shown pictures into an MP4 video, whatever the look;
// - the window asks for the display's real pixels on high-density screens.
//
// The class is spread over files by what a reader looks for:
//   sdl_screen.cpp        starting SDL's video, the window and its placement, the cursor,
//                         the clock, message boxes
//   sdl_view.cpp          full-screen or in a window (Alt+Enter), the remembered view, scaling
//   sdl_input.cpp         SDL's events into input, and the keys the screen keeps for itself
//   sdl_recording.cpp     recording the shown pictures (Alt+R)
//   sdl_notices.cpp         the looks key, and the short notices the screen shows over the picture
//   sdl_gpu_path.cpp  the picture onto the window on the GPU (OpenGL ES 3.0 through
//                         SDL): the 8-bit picture and its palette go up as they are, and the
//                         shared presenter (platform/gles) looks the colours up and scales in
//                         the chosen look
//   sdl_processor_path.cpp  where that GL itself runs on the processor (llvmpipe), or there is
//                         none and SDL's renderer would draw in software: every look drawn on
//                         the processor into the window's own pixels, no GL at all
//   sdl_renderer_path.cpp  without a GL context (or with ROTOZOOM_RENDERER=sdl):
//                         through a 256-entry lookup of the palette in the window's pixel
//                         format into a streaming texture that SDL's renderer scales by whole
//                         factors
// The GL and renderer paths present synchronised to the vertical blank where the system offers
// it; the processor path, for systems that offer none, keeps the pacer's clock.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gles/gles_presenter.h"
#include "platform/media/video_recorder.h"
#include "platform/screen_core/crt_scaler.h"
#include "platform/screen_core/look_pace.h"
#include "platform/screen_core/looks.h"
#include "platform/screen_core/notice_font.h"
#include "platform/screen_core/presenting_screen.h"
#include "platform/screen_core/sharp_scaler.h"
#include "platform/sdl/sdl_display_state.h"
#include "platform/sdl/sdl_frame_conversion.h"

namespace sdl {

class XErrorsCaught;

class SdlScreen final : public compat::PresentingScreen {
 public:
  bool isAvailable() override;
  void setCursorVisible(bool visible) override;
  void showMessageBox(std::string_view captionUtf8, std::string_view textUtf8) override;
  compat::DesktopSize desktopSize() override;
  // Releases the GPU's objects and SDL's video; run at exit. The screen shows nothing after it.
  void closeVideo();

  // sdl_recording.cpp: at exit, ends a recording in progress and waits until every
  // recording's file is finished. Any thread may call it.
  void finishRecordings();

 private:
  // compat::PresentingScreen's platform steps.
  std::int64_t nowNs() override;
  // The processor time the whole program has spent: what presenting costs where the looks are
  // drawn on the processor (by the program or by a GL that runs there).
  static std::int64_t processCpuNs();
  void waitUntilNs(std::int64_t timeNs) override;
  bool canShow() override { return renderer_ != nullptr || glContext_ != nullptr || onProcessor_; }
  void drawPicture() override;
  void readInput(std::vector<compat::InputEvent>& events) override;
  void placementChanged() override;
  void exclusiveModeChanged() override;

  // sdl_screen.cpp
  // Starts SDL's video once; false where there is no display to show anything on.
  bool startVideo();
  // The window, with a GL context where one can be had, else with SDL's renderer.
  void createWindow();
  SDL_Window* makeWindow(Uint32 flags);
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
  // Where a point of the window lies on a full-screen program's picture, in the picture's
  // pixels: what its own display mode reports. In the bars, the picture's nearest edge, as the
  // mode's pointer never leaves its screen. Windowed, the point as it is.
  SDL_Point pointOnPicture(int x, int y) const;

  // sdl_input.cpp: key presses the screen keeps for itself (Alt+Enter, Alt+L, Alt+R, Print
  // Screen); true when taken.
  bool takeKey(const SDL_KeyboardEvent& key, std::vector<compat::InputEvent>& events);
  void takeScreenshot();

  // sdl_notices.cpp
  void cycleLook();
  // The look the picture is drawn in now: the user's in full-screen, pixel for pixel in a
  // window of the desktop.
  compat::Look shownLook() const { return exclusive_ ? look_ : compat::Look::integer; }
  // Shows the text over the picture for a while, and then the picture alone again.
  void showNotice(const std::string& text, std::int64_t durationNs);
  // Clears a notice whose time is up; called on every look at input.
  void expireNotice();
  // What the notice shows: its text, and under it the mark while one is set.
  std::string noticeLines() const;
  // A presentation on the GPU path took `ns` (ROTOZOOM_PRESENT_DELAY_MS, a test hook, adds
  // to it): true the one time the look is found too slow for the mode, which showSlowLook
  // then says on standard error and over the picture. The look stays the user's.
  bool timePresentation(std::int64_t ns);
  void showSlowLook();

  // SDL_QUIT where the window was not closed: SDL's word for SIGINT and SIGTERM. Says so, once.
  void sayQuitAsked();

  // Whether the window is larger than largestDrawable either way, as the X server has it now
  // (SDL may not have heard yet): then nothing is drawn into it.
  bool tooLargeToDraw() const;

  // sdl_gpu_path.cpp: false when no OpenGL ES 3.0 context can show the picture.
  bool startGl();
  // Releases the GL path's context and window.
  void stopGl();
  void drawWithGl();
  // Windowed: the picture's rectangle on a drawable of that size, which shows the window.
  compat::ScreenRect pictureInWindow(int drawableWidth, int drawableHeight) const;

  // sdl_recording.cpp: Alt+R; the stop, which leaves the file to be finished; each shown
  // picture to the recording, and the summary of one finished since.
  void toggleRecording();
  void stopRecording();
  // The recording in progress, if any, stopped and left to be finished; the mark stays.
  void endRecording();
  void recordPicture();
  void showRecordingNotice(const std::string& text);
  void showRecordingChange();

  // sdl_processor_path.cpp: false, with SDL's error set, where the window's pixels cannot be
  // had in a format the scalers write.
  bool startProcessor();
  void drawOnProcessor();
  // The notice over the window's pixels; the box drawn, empty for none.
  SDL_Rect drawProcessorNotice(std::uint32_t* pixels, std::ptrdiff_t pitch, int width, int height);

  // sdl_renderer_path.cpp
  // SDL's renderer in a new window, in software alone when the GPU is known to fail; a GPU
  // renderer the X server refuses gives way to the software one, and gpuRefused says why.
  bool startRenderer(bool softwareOnly, XErrorsCaught& xErrors, std::string& gpuRefused);
  // Whether the renderer started draws in software, and its release with its window.
  bool rendererInSoftware() const;
  void stopRenderer();
  void drawWithRenderer();
  void mapPalette();
  bool ensureTexture(int width, int height);
  // The logical size the renderer scales to the window.
  void setCanvas(int width, int height);
  void drawRendererNotice();
  // The monitor's refresh period when presenting waits for it, for the pacer.
  void measureMonitor(bool vsync);

  XErrorsCaught* xErrors_ = nullptr;  // while the window is being made: its X connection
  // The largest window the picture is drawn into, each way: a 16K monitor, a 1 GB frame. A
  // window as large as X allows (32767 x 32767, made so by another program) would take a frame
  // of 4 GB, which X cannot carry; it shows nothing until it is of a size a monitor has.
  static constexpr int largestDrawable = 16384;

  bool videoTried_ = false;
  bool videoReady_ = false;
  SDL_Window* window_ = nullptr;
  SDL_GLContext glContext_ = nullptr;  // the GPU path, when it could be had
  gles::GlesPresenter presenter_;
  SDL_Renderer* renderer_ = nullptr;  // else SDL's renderer
  SDL_Texture* texture_ = nullptr;
  Uint32 textureFormat_ = SDL_PIXELFORMAT_ARGB8888;
  int textureWidth_ = 0;
  int textureHeight_ = 0;
  int canvasWidth_ = 0;  // the renderer's logical size: the picture, or the window it lies in
  int canvasHeight_ = 0;
  ColourLookup lookup_{};  // palette_ in textureFormat_
  SDL_Texture* noticeTexture_ = nullptr;
  bool cursorVisible_ = true;
  bool windowClosed_ = false;  // the user closed the window, or a signal asked to quit

  // The processor path: the window's pixels, and what was last drawn into them.
  bool onProcessor_ = false;
  compat::SharpScaler sharpScaler_;
  compat::CrtScaler crtScaler_;
  std::vector<std::uint32_t> words_;  // the picture in the window's format
  compat::NoticeImage notice_;
  compat::Look processorLook_ = compat::Look::integer;  // the look last drawn so
  const SDL_Surface* surfaceDrawn_ = nullptr;           // null: everything is drawn anew next time
  int drawnWidth_ = 0;
  int drawnHeight_ = 0;
  compat::ScreenRect drawnRect_{0, 0, 0, 0};

  compat::Look look_ = compat::defaultLook;
  compat::LookPace pace_;
  bool glOnProcessor_ = false;   // the GL path's renderer draws on the processor (llvmpipe)
  std::string slowMessages_[3];  // what was said of each look found too slow; empty: not so
  std::string noticeText_;       // empty: no notice
  std::int64_t noticeUntilNs_ = 0;
  bool noticeChanged_ = false;  // the notice's image has to be made again
  std::string markText_;        // shown under any notice for as long as it is set: "REC"

  bool viewInWindow_ = false;          // a full-screen program shown in a window (Alt+Enter)
  bool viewRestored_ = false;          // the remembered view has been read
  WindowArea viewWindow_{0, 0, 0, 0};  // that window's place and size

  std::unique_ptr<video::Recorder> recording_;               // while Alt+R records
  std::vector<std::unique_ptr<video::Recorder>> finishing_;  // stopped, files being finished
  std::int64_t lastPictureNs_ = 0;  // when the program's last new picture was drawn
};

}  // namespace sdl
