// Alt+R: recording what the program shows into rotozoom-DATE-TIME.mp4, where screenshots go,
// until Alt+R again. The video is the exact 8-bit picture through its palette (not the window's
// look), at the display mode's 60 Hz, encoded on a thread of its own (video::Recorder) so that
// the program's frames never wait for it.
//
// However the program ends while recording (Escape, closing the window, a fatal message box:
// all std::exit; or the display going away), the video is finished first and plays to its last
// frame; a video that cannot be finished (a full disk) is removed, with a line on standard error.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "platform/sdl/sdl_recording.h"
#include "platform/sdl/sdl_screen.h"
#include "platform/sdl/sdl_screenshot.h"

namespace sdl {
namespace {

SdlScreen* recordingScreen = nullptr;  // the screen whose recording an exit finishes

std::int64_t steadyNs() {
  using namespace std::chrono;
  return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

void finishAtExit() {
  if (recordingScreen != nullptr) recordingScreen->finishRecordings();
}

}  // namespace

void finishRecordingBeforeExit() { finishAtExit(); }

void SdlScreen::toggleRecording() {
  if (recording_ != nullptr) {
    stopRecording();
    return;
  }
  if (pictureWidth_ <= 0 || pictureHeight_ <= 0) {
    std::fprintf(stderr, "recording: nothing is shown yet\n");
    return;
  }
  std::string path;
  const int descriptor = createCaptureFile("recording", std::time(nullptr), ".mp4", path);
  if (descriptor < 0) return;
  std::fprintf(stderr, "recording: %s (Alt+R stops)\n", path.c_str());
  recording_ = std::make_unique<video::Recorder>(
      descriptor, path, video::Format::Mp4,
      compat::IndexedFrame{picture_.data(), pictureWidth_, pictureHeight_, pictureWidth_}, palette_,
      steadyNs);
  // Registered once, after SDL_Quit's, so that it runs before it.
  if (recordingScreen == nullptr) std::atexit(finishAtExit);
  recordingScreen = this;
  showRecordingMark(true);
}

// The encoder finishes the file on its own thread (the rest of the queue, the index moved to
// the front): the program's frames go on meanwhile, and the summary line comes when it is done.
void SdlScreen::stopRecording() {
  if (recording_ == nullptr) return;
  recording_->requestStop();
  finishing_.push_back(std::move(recording_));
  showRecordingMark(false);
}

void SdlScreen::finishRecordings() {
  stopRecording();
  for (const std::unique_ptr<video::Recorder>& recording : finishing_) recording->stop();
  finishing_.clear();
}

void SdlScreen::recordPicture() {
  for (auto recording = finishing_.begin(); recording != finishing_.end();) {
    if (!(*recording)->done()) {
      ++recording;
      continue;
    }
    (*recording)->stop();  // writes its summary
    recording = finishing_.erase(recording);
  }
  if (recording_ == nullptr) return;
  if (recording_->ended()) {
    stopRecording();
    return;
  }
  recording_->offer({picture_.data(), pictureWidth_, pictureHeight_, pictureWidth_}, palette_);
}

}  // namespace sdl

namespace sdl {
void SdlScreen::showRecordingMark(bool) {}  // placeholder until the notice facility lands
}  // namespace sdl
