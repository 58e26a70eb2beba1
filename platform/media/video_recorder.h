// Recording what a screen shows into a video while the program runs, at the display mode's
// 60 Hz: tick n of the video is the picture shown at n/60 s after the start. A tick without a
// new picture repeats the last one, so the video runs in real time however the program paces
// itself, and when two pictures fall on one tick the later wins.
//
// The encoding runs on a thread of its own, at a lower priority than the program, and never
// makes the screen wait: pictures go to it through a bounded queue of copies (8 bits and the
// palette, about 78 KB at 320 x 240), and a picture that finds the queue full is dropped and
// counted (its tick then repeats the one before). Nor does it fall more than a second behind
// the clock, on a machine too busy to give it the time: ticks further behind are left out of
// the file, the frame before held on over them at no cost (the video still runs in real time,
// with a stutter there), so that a stop is finished within about a second's encoding whatever
// came before. Errors and the summary go to standard error as "recording: ..." lines.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/compat/screen.h"
#include "platform/media/video_file.h"

namespace video {

class Recorder {
 public:
  // The clock the ticks are counted on (nanoseconds, any epoch, never going back): the screen's.
  using Clock = std::function<std::int64_t()>;
  static constexpr std::int64_t tickNs = 1'000'000'000 / 60;
  // A second of pictures (about 5 MB at 320 x 240): the encoder catches up after the system
  // has kept it from running for that long.
  static constexpr std::size_t defaultQueueLength = 60;
  // How far the encoder may be behind the clock, in ticks, before it leaves ticks out.
  static constexpr std::int64_t mostTicksBehind = 60;

  // Starts recording into `descriptor`, a new empty file at `path` (which the recorder takes
  // over, and removes when the video cannot be finished), with `first` as tick 0, shown now.
  Recorder(int descriptor, const std::string& path, Format format,
           const compat::IndexedFrame& first, const compat::Palette& palette, Clock clock,
           std::size_t queueLength = defaultQueueLength);
  // For tests of a slow machine: each frame the encoder writes takes at least this long.
  void slowDownForTests(std::chrono::nanoseconds eachFrame) { slowFrameNs_ = eachFrame.count(); }
  // Stops, as stop() does, when not stopped yet.
  ~Recorder();
  Recorder(const Recorder&) = delete;
  Recorder& operator=(const Recorder&) = delete;

  // Called with each picture the screen shows, when it shows it. Copies it into the queue and
  // returns at once; when the queue is full, drops it. The first puts the ticks in step with
  // the pictures: it falls on a tick exactly (taking the place of the starting picture when it
  // comes within a tick of it).
  void offer(const compat::IndexedFrame& picture, const compat::Palette& palette);

  // Whether the recording has ended on its own: a write failed (its line is written and the
  // file removed) or the picture changed size (the video ends with the last picture before).
  bool ended() const;

  // Ends the recording now without waiting: the last picture is held up to this tick, and the
  // encoder thread empties the queue into the video and finishes the file on its own.
  void requestStop();
  // Whether the encoder thread is through: the file finished, or the recording ended.
  bool done() const { return done_; }

  struct Summary {
    bool kept = false;         // the file is finished and plays every frame written
    long framesWritten = 0;    // the frames in the file
    long ticks = 0;            // its length in 60ths of a second: those and the ticks left out
    long ticksLeftOut = 0;     // ticks the encoder was too far behind for (the frame before held)
    long picturesDropped = 0;  // never in the file: the queue was full, or all their ticks left out
    std::string ending;        // why it ended on its own, else empty
  };
  // requestStop(), then waits for the encoder thread to be through, and writes the summary
  // line when the file was kept. Any thread may call it, any number of times: each gets the
  // same summary.
  Summary stop();

  const std::string& path() const { return path_; }

 private:
  struct Picture {
    std::vector<std::uint8_t> pixels;  // rows packed
    int width = 0;
    int height = 0;
    compat::Palette palette{};
    std::int64_t tick = 0;
  };

  void run();
  void encode();
  // Writes the held picture for each tick before `tick`, leaving out those more than
  // mostTicksBehind behind the clock, but never the first tick nor, when `last`, the last one;
  // false when the recording ended.
  bool holdUntil(std::int64_t tick, bool last = false);
  // The held picture replaced by `next`, counted as dropped when all its ticks were left out.
  void replaceHeld(Picture& next);
  bool take(Picture& next);
  std::int64_t tickNow() const;
  // Writes the line for a recording that ends on its own, with its file removed or not.
  void end(const std::string& reason, bool removed);

  const std::string path_;
  const Format format_;
  const Clock clock_;
  std::atomic<std::int64_t> startNs_;  // tick 0; moved once, by less than a tick, by offer()
  std::atomic<bool> inStep_{false};    // offer() has put the ticks in step
  const std::size_t queueLength_;
  int descriptor_;  // until the encoder thread starts the writer

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<Picture> queue_;  // a ring of queueLength_ slots
  std::size_t queueStart_ = 0;
  std::size_t queued_ = 0;
  long dropped_ = 0;
  bool stopping_ = false;
  std::int64_t stopTick_ = 0;
  bool ended_ = false;
  std::string endedBy_;

  // The encoder thread's own.
  std::unique_ptr<Writer> writer_;
  Picture held_;  // the picture for tick nextTick_, not written yet
  std::int64_t nextTick_ = 0;
  bool heldWritten_ = false;  // held_ is in the file at one tick at least
  bool heldLeftOut_ = false;  // one of held_'s ticks was left out
  long leftOut_ = 0;          // ticks left out
  long lateDropped_ = 0;      // pictures all of whose ticks were left out
  long framesWritten_ = 0;    // the writer's frames, when it finished
  bool kept_ = false;
  std::atomic<std::int64_t> slowFrameNs_{0};

  std::atomic<bool> done_{false};
  std::thread thread_;
  std::mutex stopMutex_;  // held through stop()
  bool stopped_ = false;
  Summary summary_;
};

}  // namespace video
