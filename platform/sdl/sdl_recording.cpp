// Alt+R: recording what the program shows into rotozoom-DATE-TIME.mp4, where screenshots go,
// until Alt+R again, with a mark over the picture meanwhile. The video is the exact 8-bit
// picture through its palette (not the window's look), at the display mode's 60 Hz, encoded on
// a thread of its own (video::Recorder) so that the program's frames never wait for it.
//
// However the program ends while recording (Escape, closing the window, a fatal message box:
// all std::exit; the display going away; a signal that ends it, such as the terminal closing),
// the video is finished and plays to its last frame; a video that cannot be finished (a full
// disk) is removed, with a line on standard error. At std::exit the window goes first, so that
// the screen is the user's again at once while the file is finished (within about a second:
// the recorder never falls further behind than that).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>

#include "platform/sdl/sdl_ending_signals.h"
#include "platform/sdl/sdl_recording.h"
#include "platform/sdl/sdl_screen.h"
#include "platform/sdl/sdl_screenshot.h"

namespace sdl {
namespace {

constexpr std::int64_t recordingNoticeNs = 3'000'000'000;

std::int64_t steadyNs() {
  using namespace std::chrono;
  return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

SdlScreen& screen() { return static_cast<SdlScreen&>(compat::activeScreen()); }

// The recordings are the program's thread's, but a signal's watcher thread finishes them too:
// whoever changes the screen's recordings holds this. Recursive, since the display-loss path
// may finish them from inside a drawing that holds it; never destroyed, for the exit's sake.
std::recursive_mutex& recordingsMutex = *new std::recursive_mutex;

// For the tests of a busy machine: ROTOZOOM_TEST_SLOW_ENCODER=MS makes each frame the
// encoder writes take at least MS milliseconds.
std::chrono::milliseconds slowEncoderForTests() {
  const char* value = std::getenv("ROTOZOOM_TEST_SLOW_ENCODER");
  return std::chrono::milliseconds(value != nullptr ? std::atoi(value) : 0);
}

// On the watcher thread of a signal that ends the process: the recordings finished, and the
// lock kept, so that no recording starts in the moment before the process ends, to be cut off.
void finishForEndingSignal() {
  recordingsMutex.lock();  // never unlocked: the process ends when this returns
  screen().finishRecordings();
}

// At exit: the window goes first, so that the screen is the user's again at once, and then the
// recordings are finished. Closing the window quits SDL, which gives SIGINT and SIGTERM back:
// they are taken again, so that Ctrl+C while the file is finished does not cut it off.
void closeWindowThenFinish() {
  screen().closeVideo();
  finishBeforeEndingSignals(finishForEndingSignal);
  screen().finishRecordings();
}

}  // namespace

void finishRecordingBeforeExit() { screen().finishRecordings(); }

// The mark and the notices go with the program's next picture: drawing one more in between
// would take a running program's time and could make its next flip late. A program that has
// not shown a new picture for a while gets them drawn at once.
void SdlScreen::showRecordingNotice(const std::string& text) {
  noticeText_ = text;
  noticeUntilNs_ = nowNs() + recordingNoticeNs;
  noticeChanged_ = true;
}

void SdlScreen::showRecordingChange() {
  if (nowNs() - lastPictureNs_ > 2 * video::Recorder::tickNs) showPicture();
}

void SdlScreen::toggleRecording() {
  std::unique_lock<std::recursive_mutex> lock(recordingsMutex);
  if (recording_ != nullptr) {
    stopRecording();
    lock.unlock();
    showRecordingChange();
    return;
  }
  if (picture_.empty() || pictureWidth_ <= 0 || pictureHeight_ <= 0) {
    std::fprintf(stderr, "recording: not started: nothing is shown\n");
    return;
  }
  // Before the file exists: a signal from then on finishes it rather than leave it empty.
  finishBeforeEndingSignals(finishForEndingSignal);
  std::string path;
  const int descriptor = createCaptureFile("recording", std::time(nullptr), ".mp4", path);
  if (descriptor < 0) {
    showRecordingNotice("cannot record: see the terminal");
    showRecordingChange();
    return;
  }
  std::fprintf(stderr, "recording: %s (Alt+R stops)\n", path.c_str());
  recording_ = std::make_unique<video::Recorder>(
      descriptor, path, video::Format::Mp4,
      compat::IndexedFrame{picture_.data(), pictureWidth_, pictureHeight_, pictureWidth_}, palette_,
      steadyNs);
  if (const std::chrono::milliseconds slow = slowEncoderForTests(); slow.count() > 0)
    recording_->slowDownForTests(slow);
  // Once, after the screen's own exit step, so that it runs before it.
  static const bool finishedAtExit = std::atexit(closeWindowThenFinish) == 0;
  (void)finishedAtExit;
  lock.unlock();
  markText_ = "REC";
  showRecordingNotice("recording " + path);
  showRecordingChange();
}

// The encoder finishes the file on its own thread (the rest of the queue, the index moved to
// the front): the program's frames go on meanwhile, and the summary comes when it is done.
// The mark goes with the next picture drawn.
void SdlScreen::stopRecording() {
  endRecording();
  markText_.clear();
  noticeChanged_ = true;
}

void SdlScreen::endRecording() {
  std::lock_guard<std::recursive_mutex> lock(recordingsMutex);
  if (recording_ == nullptr) return;
  // One that ended on its own has said why, and its file is finished or removed already.
  if (!recording_->ended())
    std::fprintf(stderr, "recording: %s: stopped; finishing the file\n",
                 recording_->path().c_str());
  recording_->requestStop();
  finishing_.push_back(std::move(recording_));
}

void SdlScreen::finishRecordings() {
  std::lock_guard<std::recursive_mutex> lock(recordingsMutex);
  endRecording();
  for (const std::unique_ptr<video::Recorder>& recording : finishing_) recording->stop();
  finishing_.clear();
}

// Called as each picture is drawn, before it is: the notices it sets show with it.
void SdlScreen::recordPicture() {
  // The program's own pictures, not the screen's redrawings of one (an exposed or resized
  // window, a notice): after those, a still program shows nothing more.
  if (pictureChanged_) lastPictureNs_ = nowNs();
  std::lock_guard<std::recursive_mutex> lock(recordingsMutex);
  for (auto recording = finishing_.begin(); recording != finishing_.end();) {
    if (!(*recording)->done()) {
      ++recording;
      continue;
    }
    const video::Recorder::Summary summary = (*recording)->stop();  // writes its line
    showRecordingNotice(summary.kept ? "saved " + (*recording)->path()
                                     : "recording not saved: " + summary.ending);
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
