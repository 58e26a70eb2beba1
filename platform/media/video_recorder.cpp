#include "platform/media/video_recorder.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace video {
namespace {

// Ticks whose picture may still be on its way to the queue: the held picture is repeated on its
// own only for ticks at least this far behind the clock.
constexpr std::int64_t lagTicks = 2;

// The encoder's priority below the program's (nice values; the threads the encoder library
// starts from this thread inherit it), so that it takes only time the program leaves.
constexpr int encoderNiceness = 5;

// Rows packed; nothing for a picture without pixels (a window wholly off its desktop).
void copyPicture(const compat::IndexedFrame& from, std::vector<std::uint8_t>& to) {
  if (from.pixels == nullptr || from.width <= 0 || from.height <= 0) {
    to.clear();
    return;
  }
  to.resize(static_cast<std::size_t>(from.width) * from.height);
  for (int y = 0; y < from.height; ++y)
    std::memcpy(to.data() + static_cast<std::size_t>(y) * from.width,
                from.pixels + static_cast<std::ptrdiff_t>(y) * from.pitch, from.width);
}

}  // namespace

Recorder::Recorder(int descriptor, const std::string& path, Format format,
                   const compat::IndexedFrame& first, const compat::Palette& palette, Clock clock,
                   std::size_t queueLength)
    : path_(path),
      format_(format),
      clock_(std::move(clock)),
      startNs_(clock_()),
      queueLength_(std::max<std::size_t>(queueLength, 1)),
      descriptor_(descriptor),
      queue_(queueLength_) {
  // A picture without pixels has no size, as in offer(): the writer refuses to start on it.
  copyPicture(first, held_.pixels);
  held_.width = held_.pixels.empty() ? 0 : first.width;
  held_.height = held_.pixels.empty() ? 0 : first.height;
  held_.palette = palette;
  for (Picture& slot : queue_) slot.pixels.reserve(held_.pixels.size());
  thread_ = std::thread([this] { run(); });
}

Recorder::~Recorder() { stop(); }

std::int64_t Recorder::tickNow() const {
  return (clock_() - startNs_.load() + tickNs / 2) / tickNs;
}

void Recorder::offer(const compat::IndexedFrame& picture, const compat::Palette& palette) {
  if (!inStep_.exchange(true)) {
    // The ticks are put in step with the program's pictures: the first comes on a tick exactly,
    // so that the next ones, paced at 60 Hz, fall half a tick from where rounding would change
    // its mind, and a few milliseconds of lateness give no picture two ticks or none.
    startNs_ += (clock_() - startNs_.load()) % tickNs;
  }
  const std::int64_t tick = tickNow();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_ || ended_) return;
    if (queued_ == queueLength_) {
      ++dropped_;
      return;
    }
    Picture& slot = queue_[(queueStart_ + queued_) % queueLength_];
    copyPicture(picture, slot.pixels);
    slot.width = slot.pixels.empty() ? 0 : picture.width;
    slot.height = slot.pixels.empty() ? 0 : picture.height;
    slot.palette = palette;
    slot.tick = tick;
    ++queued_;
  }
  wake_.notify_one();
}

bool Recorder::ended() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return ended_;
}

void Recorder::end(const std::string& reason, bool removed) {
  if (removed)
    std::fprintf(stderr, "recording: %s: stopped: %s; nothing kept\n", path_.c_str(),
                 reason.c_str());
  else
    std::fprintf(stderr, "recording: %s: %s\n", path_.c_str(), reason.c_str());
  std::lock_guard<std::mutex> lock(mutex_);
  ended_ = true;
  endedBy_ = reason;
}

bool Recorder::holdUntil(std::int64_t tick, bool last) {
  while (nextTick_ < tick) {
    // Ticks this far behind the clock are left out, the frame before held on over them: the
    // encoder then catches up at once, and a stop has at most mostTicksBehind to write.
    const std::int64_t behind = tickNow() - mostTicksBehind;
    if (nextTick_ > 0 && nextTick_ < behind) {
      const std::int64_t resume = std::min(behind, last ? tick - 1 : tick);
      if (resume > nextTick_) {
        if (leftOut_ == 0)
          std::fprintf(stderr,
                       "recording: %s: the encoder fell over a second behind (a busy machine); "
                       "leaving frames out to keep up\n",
                       path_.c_str());
        writer_->holdLastFrame(resume - nextTick_);
        leftOut_ += resume - nextTick_;
        heldLeftOut_ = true;
        nextTick_ = resume;
        continue;
      }
    }
    const std::int64_t slow = slowFrameNs_.load();
    if (slow > 0) std::this_thread::sleep_for(std::chrono::nanoseconds(slow));
    std::string error;
    const compat::IndexedFrame frame{held_.pixels.data(), held_.width, held_.height, held_.width};
    if (!writer_->addFrame(frame, held_.palette, error)) {
      writer_.reset();  // abandoned: the file is removed
      end(error, true);
      return false;
    }
    heldWritten_ = true;
    ++nextTick_;
  }
  return true;
}

void Recorder::replaceHeld(Picture& next) {
  if (heldLeftOut_ && !heldWritten_) ++lateDropped_;
  std::swap(held_, next);
  heldWritten_ = heldLeftOut_ = false;
}

// Takes the oldest queued picture into `next` (swapping buffers, so nothing is copied under the
// lock); false when the queue is empty.
bool Recorder::take(Picture& next) {
  if (queued_ == 0) return false;
  std::swap(next, queue_[queueStart_]);
  queueStart_ = (queueStart_ + 1) % queueLength_;
  --queued_;
  return true;
}

void Recorder::run() {
  encode();
  done_ = true;
}

void Recorder::encode() {
  setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), encoderNiceness);
  std::string error;
  writer_ = Writer::start(descriptor_, path_, format_, {held_.width, held_.height}, Pace::RealTime,
                          error);
  if (writer_ == nullptr) {
    end(error, true);
    return;
  }
  Picture incoming;
  incoming.pixels.reserve(held_.pixels.size());
  for (;;) {
    std::unique_lock<std::mutex> lock(mutex_);
    wake_.wait_for(lock, std::chrono::nanoseconds(tickNs),
                   [this] { return queued_ > 0 || stopping_; });
    if (take(incoming)) {
      lock.unlock();
      if (incoming.width != held_.width || incoming.height != held_.height) {
        if (!holdUntil(nextTick_ + 1, true)) return;  // its line is written
        framesWritten_ = writer_->framesAdded();
        kept_ = writer_->finish(error);
        end(kept_ ? "the picture changed size; the video ends before it" : error, !kept_);
        return;
      }
      // A later picture for a tick not yet written takes its place; one for a later tick
      // first writes the held one for every tick up to it.
      if (incoming.tick > nextTick_ && !holdUntil(incoming.tick)) return;
      replaceHeld(incoming);
      continue;
    }
    if (stopping_) {
      const std::int64_t last = std::max(stopTick_, nextTick_ + 1);
      lock.unlock();
      if (!holdUntil(last, true)) return;
      framesWritten_ = writer_->framesAdded();
      kept_ = writer_->finish(error);
      if (!kept_) end(error, true);
      return;
    }
    lock.unlock();
    if (!holdUntil(tickNow() - lagTicks)) return;
  }
}

void Recorder::requestStop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) return;
    stopping_ = true;
    stopTick_ = tickNow();
  }
  wake_.notify_one();
}

Recorder::Summary Recorder::stop() {
  // A second caller waits for the first one's stop: the thread is joined once.
  std::lock_guard<std::mutex> lock(stopMutex_);
  if (stopped_) return summary_;
  requestStop();
  thread_.join();
  stopped_ = true;
  summary_.kept = kept_;
  summary_.framesWritten = kept_ ? framesWritten_ : 0;
  summary_.ticks = kept_ ? nextTick_ : 0;
  summary_.ticksLeftOut = kept_ ? leftOut_ : 0;
  summary_.picturesDropped = dropped_ + lateDropped_;
  summary_.ending = endedBy_;
  if (kept_) {
    char leftOut[96] = "";
    if (summary_.ticksLeftOut > 0)
      std::snprintf(leftOut, sizeof leftOut, ", %ld frames left out (the encoder fell behind)",
                    summary_.ticksLeftOut);
    std::fprintf(stderr, "recording: %s: %ld frames (%.1f s), %ld pictures dropped%s\n",
                 path_.c_str(), summary_.framesWritten, static_cast<double>(summary_.ticks) / 60,
                 summary_.picturesDropped, leftOut);
  }
  return summary_;
}

}  // namespace video
