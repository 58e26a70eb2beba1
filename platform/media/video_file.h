// Video files made of 8-bit frames with their palette, one frame each 1/60 s as the display
// mode shows them: rotozoom-capture's --video and the real screen's recordings. FFmpeg's
// libraries do the encoding and are private to these files.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/compat/screen.h"

namespace video {

enum class Format {
  // H.264 (High profile at most, 4:2:0) in MP4 with its index at the front: plays in browsers
  // and on phones. The picture is scaled up by a whole even factor with nearest sampling
  // (videoSize).
  Mp4,
  // FFV1 in Matroska, RGB at the picture's own size: decodes to exactly the frame's colours.
  Lossless,
};

// How fast an MP4's encoder must keep up (a lossless video has one speed).
enum class Pace {
  // libx264's medium preset: its motion search pays on a picture that turns and zooms, about
  // 40 % fewer bytes than RealTime's at a little better fidelity, for six times the time.
  Offline,
  // Its fastest preset with the better entropy coder (CABAC) back on, to keep up with 60
  // frames a second on one core while the program runs.
  RealTime,
};

// By the file name's extension: ".mp4" or ".mkv", in any case. Nothing for any other.
std::optional<Format> formatFor(std::string_view path);

struct Size {
  int width;
  int height;
};
// The largest picture a video is made of, on either side.
constexpr int largestPictureSide = 8192;
// The size of the video of pictures of `picture` size: an MP4 shows each picture pixel as a
// 4 x 4 block up to 480 x 360 (320 x 240 becomes 1280 x 960), a 2 x 2 block beyond; a lossless
// video keeps the picture's size. 0 x 0 for a picture without pixels or larger than
// largestPictureSide.
Size videoSize(Format format, Size picture);

// Creates a new, empty file for a video at `path`, open for reading and writing: exclusively,
// never over an existing file nor through a symbolic link. Its descriptor, or -1 with the
// reason in `error`.
int createVideoFile(const std::string& path, std::string& error);

// Closes `descriptor`, a file createVideoFile made at `path` and no video was started in, and
// removes it when that name still leads to it.
void discardVideoFile(int descriptor, const std::string& path);

class Writer {
 public:
  // Makes a new file at `path` (createVideoFile) and starts a video of pictures of `picture`
  // size in it. Null on failure, with the reason in `error` and no file left.
  static std::unique_ptr<Writer> create(const std::string& path, Format format, Size picture,
                                        Pace pace, std::string& error);
  // The same in `descriptor`, a new empty file open for reading and writing at `path`, which
  // the writer takes over (and closes, and removes when the video cannot be finished).
  static std::unique_ptr<Writer> start(int descriptor, const std::string& path, Format format,
                                       Size picture, Pace pace, std::string& error);

  // An unfinished video is abandoned: its file is closed and removed (when its name still
  // leads to it: a file moved there since is not the writer's).
  ~Writer();
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  // Appends the frame, shown for 1/60 s. A frame of another size than the video was started
  // with, without pixels or with a pitch shorter than its rows is refused (false with the
  // reason) and the video stays as it was. On any other failure, false with the reason, and
  // the video can only be abandoned.
  bool addFrame(const compat::IndexedFrame& frame, const compat::Palette& palette,
                std::string& error);
  // The last frame added stays on for `count` more 60ths of a second, at no cost: the next
  // frame comes that much later (a player holds the last one). Nothing before the first frame.
  void holdLastFrame(long count);
  // Writes what the encoder still holds and the file's index, and closes the file: it then
  // plays every frame added. On failure, false with the reason, and the file is removed.
  bool finish(std::string& error);

  long framesAdded() const;
  // The video's length so far, in 60ths of a second: the frames added and the time they were
  // held for.
  long length() const;
  const std::string& path() const;

 private:
  struct Encoder;
  explicit Writer(std::unique_ptr<Encoder> encoder);
  std::unique_ptr<Encoder> encoder_;
};

}  // namespace video
