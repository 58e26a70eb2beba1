// The browser's screen: the frame on the page's canvas, flips and vertical-blank waits at the
// display mode's 60 Hz on the page's animation frames, keys and mouse buttons from the page's
// events, the message box as a dialog on the page. The program's blocking loop keeps running:
// each wait gives the browser the thread (Asyncify) and comes back. What it keeps and how it
// paces is shared with the desktop's screen (compat::PresentingScreen).
//
// The picture goes to the GPU as it is, 8 bits a pixel with its palette beside it, through the
// presenter the desktop shares (platform/gles) on a WebGL2 context, and is drawn at the canvas's
// size in device pixels in the look the page chose (the page owns the look and full screen, its
// controls and keys; screen_core/looks.h). Where no WebGL2 context can run the presenter, the
// picture goes through its palette into RGBA and onto a 2D canvas at its own size, which the page
// scales with nearest sampling; the console says so once. Where WebGL itself runs on the
// processor, the plain looks are scaled on the processor and put on a 2D canvas over the
// WebGL2 one, which costs such a browser a fraction of a WebGL frame. A WebGL2 context lost while
// the program runs (a GPU reset, a driver update, too many contexts) hands the picture to a 2D
// stand-in canvas over it until the browser restores the context; the presenter then starts
// again on it and the look is back. The console and the page's notice say both once.
//
// The class is spread over files by what a reader looks for:
//   web_screen.cpp               availability, the clock and waits, input, the message box
//   web_gpu_path.cpp      the WebGL2 context and the shared presenter
//   web_canvas_path.cpp  the 2D canvas without one
//   web_processor_path.cpp       the plain looks on a 2D canvas where WebGL runs on the processor
//   web_events.cpp               the page's events as the program's input
//   web_page_pictures.cpp        the kept picture for the page's saved picture and recording
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gles/gles_presenter.h"
#include "platform/screen_core/crt_scaler.h"
#include "platform/screen_core/looks.h"
#include "platform/screen_core/presenting_screen.h"
#include "platform/screen_core/sharp_scaler.h"

namespace web {

class WebScreen final : public compat::PresentingScreen {
 public:
  bool isAvailable() override;
  void setCursorVisible(bool visible) override;
  void showMessageBox(std::string_view captionUtf8, std::string_view textUtf8) override;
  compat::DesktopSize desktopSize() override { return {640, 480}; }

  // Called by the page's event callbacks (web_events.cpp).
  void queueInput(const compat::InputEvent& event) { pending_.push_back(event); }
  // Called by the canvas's WebGL context events (web_gpu_path.cpp).
  void contextLost();
  void contextRestored() { restorePending_ = true; }

  // The kept picture as the page reads it from the module's memory (web_page_pictures.cpp);
  // the layout is the page's to read (web_page_calls.cpp), 32-bit fields then the palette.
  struct PagePicture {
    std::int32_t width = 0;  // 0: nothing shown yet
    std::int32_t height = 0;
    const std::uint8_t* pixels = nullptr;
    std::int32_t size = 0;               // bytes at pixels
    std::uint8_t palette[256 * 3] = {};  // red, green, blue
  };
  // The 8-bit picture, rows packed, with its palette: what the page saves as an indexed PNG.
  const PagePicture& pictureForPage();
  // The picture for a recording: through its palette into Y'CbCr 4:2:0 (three planes, packed),
  // each picture pixel a solid block of a whole even factor, as the desktop's recordings are.
  const PagePicture& videoPictureForPage();

 private:
  // What the page asks of the picture: the canvas's displayed size in device pixels and the
  // look chosen there.
  struct View {
    int width = 0;
    int height = 0;
    compat::Look look = compat::defaultLook;
    bool operator==(const View&) const = default;
  };

  std::int64_t nowNs() override;
  void waitUntilNs(std::int64_t timeNs) override;
  // The browser shows a picture on its frame after the one the wait ended on, however long the
  // drawing took: the pace counts from the wait's end.
  std::int64_t shownAtNs(std::int64_t waitEndNs, std::int64_t) override { return waitEndNs; }
  bool canShow() override { return true; }
  void drawPicture() override;
  // The page's input since the last look; the picture drawn again when the page's view of it
  // changed (a resize, full screen, another look), for programs whose picture stands still.
  void readInput(std::vector<compat::InputEvent>& events) override;

  // web_gpu_path.cpp: false, with the reason on the console, when no WebGL2 context can
  // run the presenter; the canvas is then a fresh one that has no context yet.
  bool startGl();
  // A pointer position from the page (CSS pixels of the canvas) as the program's display mode
  // reports it: in the picture's pixels, in the bars at its nearest edge.
  void placePointer(compat::InputEvent& event) const;
  void drawWithGl();
  View pageView() const;
  // Follows a loss or restoration of the context that the events reported: the stand-in canvas
  // shown or taken away, the presenter started again. True when the picture must be drawn
  // again where it now goes.
  bool followContext();
  // Whether the picture goes to the GPU now.
  bool onGpu() const { return gpu_ && !contextLost_; }

  // web_canvas_path.cpp: the picture through its palette into RGBA, handed to the
  // canvas as one image.
  void drawOnCanvas();

  // web_processor_path.cpp: the look scaled on the processor and put on the copy canvas, where
  // WebGL runs on the processor and the look is a plain one; false, drawing nothing, otherwise.
  bool drawOnProcessor();
  // Shows or takes away the copy canvas, over the WebGL2 canvas.
  void useCopyCanvas(bool shown);

  bool listening_ = false;
  bool gpu_ = false;             // drawing through WebGL2
  bool contextLost_ = false;     // the WebGL2 context is lost: the picture is on the stand-in
  bool standIn_ = false;         // the page shows the stand-in canvas
  bool restorePending_ = false;  // the browser restored the context; not yet used
  std::intptr_t context_ = 0;    // the WebGL2 context's handle, while there is one
  bool glOnProcessor_ = false;   // WebGL runs on the processor: the looks are drawn there
  bool copyShown_ = false;       // the page shows the copy canvas
  bool gpuBehind_ = false;       // the presenter has not had the latest picture and colours
  compat::ScreenRect copiedRect_{0, 0, 0, 0};
  compat::SharpScaler scaler_;
  compat::CrtScaler crtScaler_;
  std::vector<std::uint32_t> scaled_;
  gles::GlesPresenter presenter_;
  View drawnView_{};  // the view the picture was last drawn for
  std::vector<std::uint32_t> rgba_;
  std::vector<compat::InputEvent> pending_;
  double lastYield_ = 0;
  PagePicture pagePicture_;
  std::vector<std::uint8_t> videoPlanes_;
};

WebScreen& webScreen();

// Starts listening to the page's keys and the canvas's mouse buttons (web_events.cpp).
void listenToPage(WebScreen& screen);

}  // namespace web
