// rotozoom-capture: runs the demo's own start-up and frame loop on the headless screen, with a
// simulated clock that advances 1000/60 ms per presented frame, and writes frames as indexed
// 8-bit PNG files carrying the display palette, or as one video file.
//
//   rotozoom-capture [--video FILE] COUNT [FIRST]
//
// writes frame-NNNNN.png for frames FIRST to FIRST + COUNT - 1 (numbered from 0) into the
// current folder, reading texture.bmp from there as the demo does; with --video, those frames
// go into FILE instead, at 60 frames a second: H.264 in MP4 or lossless FFV1 in Matroska, by
// its extension. Every frame before FIRST is run too (the animation has no shortcut to a
// frame), so a large FIRST takes long: on a terminal, a line on standard error shows how far it
// has come.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/media/indexed_png.h"
#include "platform/media/video_file.h"
#include "tools/command_line.h"
#include "tools/headless_demo.h"
#include "tools/interrupted_output.h"

namespace {

constexpr long largestCount = 1000000;
constexpr long largestFirst = 100000000;

const ToolDescription tool{
    "rotozoom-capture", "[--video FILE] COUNT [FIRST]",
    "Runs the rotozoom demo without a display, on a simulated 60 Hz clock, and writes frames\n"
    "FIRST to FIRST + COUNT - 1 (FIRST defaults to 0; frames are numbered from 0) as\n"
    "frame-NNNNN.png, indexed PNGs with the display palette, into the current folder. It reads\n"
    "texture.bmp from the current folder, as the demo does.\n"
    "\n"
    "  --video FILE  writes the frames into one new video file instead, at 60 frames a second,\n"
    "                by FILE's extension: .mp4 is H.264 for browsers and phones, each picture\n"
    "                pixel a 4 x 4 block (1280 x 960); .mkv is lossless FFV1 at 320 x 240,\n"
    "                whose frames decode to exactly the PNGs' colours. An existing FILE is\n"
    "                never replaced.\n"
    "\n"
    "Every frame before FIRST is run too, at about 0.03 ms a frame (100,000 frames took 2.6 s of\n"
    "processor time here), so FIRST 1000000 takes about half a minute and FIRST 99999998 about\n"
    "an hour; a frame written as a file takes about 3 ms, one encoded into an MP4 about 60 ms of\n"
    "processor time and into a lossless video about 10 ms. On a terminal it shows its progress\n"
    "on standard error."};

// A line on standard error, rewritten in place about twice a second, when that is a terminal.
class Progress {
 public:
  explicit Progress(long total) : total_(total), shown_(isatty(STDERR_FILENO) == 1) {}

  void at(long frame) {
    if (!shown_ || (frame % 256 != 0 && frame != total_ - 1)) return;
    const Clock::time_point now = Clock::now();
    if (written_ && now - last_ < std::chrono::milliseconds(500) && frame != total_ - 1) return;
    last_ = now;
    written_ = true;
    const double done = static_cast<double>(frame + 1) / static_cast<double>(total_);
    const double seconds = std::chrono::duration<double>(now - start_).count();
    const long left = done > 0 ? static_cast<long>(seconds / done - seconds + 0.5) : 0;
    std::fprintf(stderr, "\rrotozoom-capture: frame %ld of %ld (%.1f %%), about %ld:%02ld left ",
                 frame + 1, total_, done * 100, left / 60, left % 60);
    if (frame == total_ - 1) std::fputc('\n', stderr);
  }

  // Ends the line in progress, so that a message that follows has its own.
  void breakLine() {
    if (written_) std::fputc('\n', stderr);
  }

 private:
  using Clock = std::chrono::steady_clock;
  const long total_;
  const bool shown_;
  bool written_ = false;
  const Clock::time_point start_ = Clock::now();
  Clock::time_point last_ = start_;
};

// The video being written with --video. Its file is made before the run, so that a name that
// cannot be used is refused at once; the encoder starts on the first frame, which gives the
// picture's size. Whatever ends the process before it is finished removes the file.
class VideoOutput {
 public:
  VideoOutput(int descriptor, std::string path, video::Format format)
      : descriptor_(descriptor), path_(std::move(path)), format_(format) {}
  ~VideoOutput() {
    if (writer_ != nullptr || descriptor_ < 0) return;  // an unfinished writer removes its file
    video::discardVideoFile(descriptor_, path_);
  }

  bool add(const compat::IndexedFrame& frame, const compat::Palette& palette, std::string& error) {
    if (writer_ == nullptr) {
      writer_ = video::Writer::start(descriptor_, path_, format_, {frame.width, frame.height},
                                     video::Pace::Offline, error);
      descriptor_ = -1;  // the writer's now, or closed and removed
      if (writer_ == nullptr) return false;
    }
    return writer_->addFrame(frame, palette, error);
  }

  bool finish(std::string& error) { return writer_ != nullptr && writer_->finish(error); }

  const std::string& path() const { return path_; }

 private:
  int descriptor_;
  const std::string path_;
  const video::Format format_;
  std::unique_ptr<video::Writer> writer_;
};

// Destroyed by std::exit, whichever way the run ends.
std::unique_ptr<VideoOutput> videoOutput;

// Writes one frame as a PNG file or into the video; on failure, a line and status 1.
void writeFrame(long frameNumber, const compat::IndexedFrame& frame, const compat::Palette& palette,
                Progress& progress) {
  std::string error;
  if (videoOutput != nullptr) {
    if (videoOutput->add(frame, palette, error)) return;
    progress.breakLine();
    std::fprintf(stderr, "rotozoom-capture: %s: %s\n", videoOutput->path().c_str(), error.c_str());
    std::exit(1);
  }
  char name[32];
  std::snprintf(name, sizeof name, "frame-%05ld.png", frameNumber);
  if (!writeIndexedPng(name, frame, palette, error)) {
    progress.breakLine();
    std::fprintf(stderr, "rotozoom-capture: %s: %s\n", name, error.c_str());
    std::exit(1);
  }
}

// A whole number in [low, high], or -1.
long parseNumber(const char* text, long low, long high) {
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || value < low || value > high) return -1;
  return value;
}

// The usage error for a COUNT or FIRST that is not a whole number in its range; nothing when
// it is one.
std::optional<std::string> badNumber(const char* name, const std::string& text, long low,
                                     long high) {
  if (parseNumber(text.c_str(), low, high) >= 0) return std::nullopt;
  return "bad " + std::string(name) + " '" + text + "': " + name + " must be " +
         std::to_string(low) + " to " + std::to_string(high);
}

// A video file's name is more than its extension: ".mp4" alone would be a hidden file of that
// name, not a video named by the user.
bool onlyAnExtension(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return !name.empty() && name[0] == '.' && name.find('.', 1) == std::string::npos;
}

}  // namespace

int main(int argc, char** argv) {
  std::optional<std::string> videoPath;
  const std::vector<std::string> operands =
      operandsOf(tool, argc, argv, {{"--video", &videoPath}}, {}, true);
  if (operands.empty() || operands.size() > 2)
    return usageError(tool, "COUNT, and FIRST at the most");
  if (const auto bad = badNumber("COUNT", operands[0], 1, largestCount))
    return usageError(tool, *bad);
  if (operands.size() == 2)
    if (const auto bad = badNumber("FIRST", operands[1], 0, largestFirst))
      return usageError(tool, *bad);
  const long count = parseNumber(operands[0].c_str(), 1, largestCount);
  const long first = operands.size() == 2 ? parseNumber(operands[1].c_str(), 0, largestFirst) : 0;
  if (videoPath && onlyAnExtension(*videoPath))
    return usageError(tool, "the video FILE '" + *videoPath +
                                "' is only an extension: give it a name, as in rotozoom.mp4");
  const std::optional<video::Format> format =
      videoPath ? video::formatFor(*videoPath) : std::nullopt;
  if (videoPath && !format)
    return usageError(tool, "the video FILE must end in .mp4 (H.264) or .mkv (lossless)");
  struct stat status;
  if (stat("texture.bmp", &status) != 0 || !S_ISREG(status.st_mode)) {
    std::fprintf(stderr, "rotozoom-capture: texture.bmp: %s\n",
                 errno != 0 ? std::strerror(errno) : "not a file");
    return 1;
  }
  if (videoPath) {
    std::string error;
    const int descriptor = video::createVideoFile(*videoPath, error);
    if (descriptor < 0) {
      std::fprintf(stderr, "rotozoom-capture: %s: %s\n", videoPath->c_str(), error.c_str());
      return 1;
    }
    removeOnInterrupt(*videoPath, descriptor);
    videoOutput = std::make_unique<VideoOutput>(descriptor, *videoPath, *format);
  }

  Progress progress(first + count);
  headless_demo::run([count, first, &progress](long frameNumber, const compat::IndexedFrame& frame,
                                               const compat::Palette& palette) {
    progress.at(frameNumber);
    if (frameNumber < first) return;
    writeFrame(frameNumber, frame, palette, progress);
    if (frameNumber < first + count - 1) return;
    std::string error;
    if (videoOutput != nullptr && !videoOutput->finish(error)) {
      progress.breakLine();
      std::fprintf(stderr, "rotozoom-capture: %s: %s\n", videoOutput->path().c_str(),
                   error.c_str());
      std::exit(1);
    }
    keepOnInterrupt();
    std::exit(0);
  });
}
