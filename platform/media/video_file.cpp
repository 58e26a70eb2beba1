// The encoding behind video::Writer, through FFmpeg's libraries: libavcodec's libx264 or FFV1
// encoder, libavformat's MP4 or Matroska muxer. The file is ours, not FFmpeg's: created
// exclusively and written through a descriptor, so that a full disk gives its own reason and a
// file that cannot be finished is removed.
#include "platform/media/video_file.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/log.h>
#include <libavutil/mem.h>
#include <libavutil/opt.h>
}

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <strings.h>
#include <cerrno>
#include <cstring>

#include "platform/media/video_colours.h"

namespace video {
namespace {

constexpr int framesPerSecond = 60;
constexpr int ioBufferSize = 64 * 1024;

// Which file a descriptor or a name leads to.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  bool known = false;
};

FileIdentity identityOf(int descriptor) {
  struct stat status;
  if (fstat(descriptor, &status) != 0) return {};
  return {status.st_dev, status.st_ino, true};
}

// Removes the file at `path` only when that name still leads to `file`: while a video was
// written its file may have been moved away and another put in its place, or its folder
// replaced by a link to another folder, and that other file is not ours to remove.
void removeIfStill(const std::string& path, const FileIdentity& file) {
  struct stat status;
  if (file.known && lstat(path.c_str(), &status) == 0 && status.st_dev == file.device &&
      status.st_ino == file.inode)
    unlink(path.c_str());
}

std::string errorText(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

// A file descriptor as FFmpeg's output: writes at the file's position, seeks with lseek. The
// first failure's reason is kept, since FFmpeg's own messages are turned off.
struct OutputFile {
  int descriptor = -1;
  std::string path;
  FileIdentity identity;  // of the descriptor's file, to remove it by its name
  int failure = 0;        // errno of the first failed write or seek

  static int write(void* opaque, std::uint8_t* bytes, int size) {
    auto* file = static_cast<OutputFile*>(opaque);
    int written = 0;
    while (written < size) {
      const ssize_t step = ::write(file->descriptor, bytes + written, size - written);
      if (step < 0 && errno == EINTR) continue;
      if (step <= 0) return file->fail(step < 0 ? errno : ENOSPC);
      written += static_cast<int>(step);
    }
    return size;
  }

  static std::int64_t seek(void* opaque, std::int64_t offset, int whence) {
    auto* file = static_cast<OutputFile*>(opaque);
    if ((whence & AVSEEK_SIZE) != 0) {
      struct stat status;
      return fstat(file->descriptor, &status) == 0 ? status.st_size : file->fail(errno);
    }
    const off_t position = lseek(file->descriptor, offset, whence & ~AVSEEK_FORCE);
    return position >= 0 ? position : file->fail(errno);
  }

  int fail(int error) {
    if (failure == 0) failure = error;
    return AVERROR(error);
  }
};

// The same file read back, for the MP4 muxer's second pass that moves the index to the front:
// reads with pread at a position of its own, leaving the writer's position alone.
struct ReadBack {
  int descriptor;
  std::int64_t position = 0;

  static int read(void* opaque, std::uint8_t* bytes, int size) {
    auto* reader = static_cast<ReadBack*>(opaque);
    ssize_t got;
    do got = pread(reader->descriptor, bytes, size, reader->position);
    while (got < 0 && errno == EINTR);
    if (got < 0) return AVERROR(errno);
    if (got == 0) return AVERROR_EOF;
    reader->position += got;
    return static_cast<int>(got);
  }

  static std::int64_t seek(void* opaque, std::int64_t offset, int whence) {
    auto* reader = static_cast<ReadBack*>(opaque);
    struct stat status;
    if (fstat(reader->descriptor, &status) != 0) return AVERROR(errno);
    switch (whence & ~AVSEEK_FORCE) {
      case AVSEEK_SIZE:
        return status.st_size;
      case SEEK_SET:
        break;
      case SEEK_CUR:
        offset += reader->position;
        break;
      case SEEK_END:
        offset += status.st_size;
        break;
      default:
        return AVERROR(EINVAL);
    }
    if (offset < 0) return AVERROR(EINVAL);
    return reader->position = offset;
  }
};

// A custom I/O context over `opaque`; null when memory runs out.
AVIOContext* ioContext(void* opaque, bool writable, int (*read)(void*, std::uint8_t*, int),
                       int (*write)(void*, std::uint8_t*, int),
                       std::int64_t (*seek)(void*, std::int64_t, int)) {
  auto* buffer = static_cast<unsigned char*>(av_malloc(ioBufferSize));
  if (buffer == nullptr) return nullptr;
  AVIOContext* io =
      avio_alloc_context(buffer, ioBufferSize, writable ? 1 : 0, opaque, read, write, seek);
  if (io == nullptr) av_free(buffer);
  return io;
}

void freeIoContext(AVIOContext*& io) {
  if (io == nullptr) return;
  av_freep(&io->buffer);
  avio_context_free(&io);
}

// AVFormatContext's hooks for streams the muxer opens itself: only reading the output back.
int openReadBack(AVFormatContext* format, AVIOContext** io, const char* url, int flags,
                 AVDictionary**) {
  const auto* output = static_cast<const OutputFile*>(format->opaque);
  if ((flags & AVIO_FLAG_WRITE) != 0 || url == nullptr || output->path != url)
    return AVERROR(EPERM);
  auto* reader = new ReadBack{output->descriptor};
  *io = ioContext(reader, false, ReadBack::read, nullptr, ReadBack::seek);
  if (*io == nullptr) {
    delete reader;
    return AVERROR(ENOMEM);
  }
  return 0;
}

void closeReadBack(AVFormatContext*, AVIOContext* io) {
  if (io == nullptr) return;
  delete static_cast<ReadBack*>(io->opaque);
  freeIoContext(io);
}

}  // namespace

struct Writer::Encoder {
  Format format;
  Pace pace;
  Size picture;
  Size video;
  OutputFile file;
  AVFormatContext* muxer = nullptr;
  AVCodecContext* codec = nullptr;
  AVStream* stream = nullptr;
  AVFrame* frame = nullptr;
  AVPacket* packet = nullptr;
  AVIOContext* io = nullptr;
  long frames = 0;
  long length = 0;  // in ticks: frames, and the ticks they were held for
  bool failed = false;
  std::string failedBy;  // the first failure's reason, for a finish asked for after it
  bool closed = false;

  ~Encoder() {
    avcodec_free_context(&codec);
    av_frame_free(&frame);
    av_packet_free(&packet);
    avformat_free_context(muxer);
    freeIoContext(io);
    if (!closed) abandon();
  }

  void abandon() {
    if (file.descriptor >= 0) close(file.descriptor);
    file.descriptor = -1;
    removeIfStill(file.path, file.identity);
    closed = true;
  }

  // The reason for a failed call: the file's own when a write failed, else FFmpeg's.
  std::string reason(int code) const {
    return file.failure != 0 ? std::strerror(file.failure) : errorText(code);
  }

  bool fail(const std::string& what, std::string& error) {
    if (!failed) failedBy = what;
    failed = true;
    error = what;
    return false;
  }

  bool open(std::string& error);
  bool openCodec(std::string& error);
  bool writePackets(std::string& error);
};

bool Writer::Encoder::openCodec(std::string& error) {
  const bool mp4 = format == Format::Mp4;
  const char* name = mp4 ? "libx264" : "ffv1";
  const AVCodec* encoder = avcodec_find_encoder_by_name(name);
  if (encoder == nullptr)
    return fail(std::string("this FFmpeg has no ") + name + " encoder", error);
  codec = avcodec_alloc_context3(encoder);
  if (codec == nullptr) return fail("out of memory", error);
  codec->width = video.width;
  codec->height = video.height;
  codec->time_base = {1, framesPerSecond};
  codec->framerate = {framesPerSecond, 1};
  codec->sample_aspect_ratio = {1, 1};
  AVDictionary* options = nullptr;
  if (mp4) {
    // What browsers and phones play: High profile at most, 4:2:0, tagged BT.709 limited range
    // as the colours are converted. A key frame every 2 s keeps seeking quick. The picture's
    // pixel edges lie on the transform blocks' edges and are meant to be hard: no deblocking,
    // which would soften the small steps between neighbouring colours.
    codec->pix_fmt = AV_PIX_FMT_YUV420P;
    codec->color_primaries = AVCOL_PRI_BT709;
    codec->color_trc = AVCOL_TRC_BT709;
    codec->colorspace = AVCOL_SPC_BT709;
    codec->color_range = AVCOL_RANGE_MPEG;
    codec->gop_size = 2 * framesPerSecond;
    av_dict_set(&options, "profile", "high", 0);
    av_dict_set(&options, "crf", "21", 0);
    if (pace == Pace::RealTime) {
      // One thread: a core of its own at the most, whatever its key frames cost, so that the
      // program's own threads always find the others free.
      codec->thread_count = 1;
      av_dict_set(&options, "preset", "ultrafast", 0);
      av_dict_set(&options, "x264-params", "cabac=1:no-deblock=1", 0);
    } else {
      av_dict_set(&options, "preset", "medium", 0);
      av_dict_set(&options, "x264-params", "no-deblock=1", 0);
    }
  } else {
    // Every frame on its own (FFV1 version 3 with checksums per slice), in RGB; the range
    // coder's own state table makes the files about a tenth smaller than the default one.
    codec->pix_fmt = AV_PIX_FMT_BGR0;
    codec->colorspace = AVCOL_SPC_RGB;
    codec->color_range = AVCOL_RANGE_JPEG;
    codec->gop_size = 1;
    av_dict_set(&options, "level", "3", 0);
    av_dict_set(&options, "slicecrc", "1", 0);
    av_dict_set(&options, "coder", "range_tab", 0);
  }
  if ((muxer->oformat->flags & AVFMT_GLOBALHEADER) != 0)
    codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  const int opened = avcodec_open2(codec, encoder, &options);
  av_dict_free(&options);
  if (opened < 0)
    return fail(std::string("cannot start the ") + name + " encoder: " + errorText(opened), error);
  return true;
}

bool Writer::Encoder::open(std::string& error) {
  // FFmpeg's own messages would repeat ours, in its words, on a terminal the tools keep quiet.
  av_log_set_level(AV_LOG_QUIET);
  const char* container = format == Format::Mp4 ? "mp4" : "matroska";
  if (avformat_alloc_output_context2(&muxer, nullptr, container, file.path.c_str()) < 0)
    return fail(std::string("this FFmpeg has no ") + container + " muxer", error);
  if (!openCodec(error)) return false;
  stream = avformat_new_stream(muxer, nullptr);
  frame = av_frame_alloc();
  packet = av_packet_alloc();
  io = ioContext(&file, true, nullptr, OutputFile::write, OutputFile::seek);
  if (stream == nullptr || frame == nullptr || packet == nullptr || io == nullptr)
    return fail("out of memory", error);
  stream->time_base = codec->time_base;
  stream->avg_frame_rate = codec->framerate;
  stream->r_frame_rate = codec->framerate;
  avcodec_parameters_from_context(stream->codecpar, codec);
  frame->format = codec->pix_fmt;
  frame->width = video.width;
  frame->height = video.height;
  if (av_frame_get_buffer(frame, 0) < 0) return fail("out of memory", error);

  muxer->pb = io;
  muxer->flags |= AVFMT_FLAG_CUSTOM_IO;
  muxer->opaque = &file;
  muxer->io_open = openReadBack;
  muxer->io_close = closeReadBack;
  AVDictionary* options = nullptr;
  // The index at the front, so that a browser starts playing before the whole file is in.
  if (format == Format::Mp4) av_dict_set(&options, "movflags", "+faststart", 0);
  const int written = avformat_write_header(muxer, &options);
  av_dict_free(&options);
  if (written < 0) return fail(reason(written), error);
  return true;
}

bool Writer::Encoder::writePackets(std::string& error) {
  for (;;) {
    const int received = avcodec_receive_packet(codec, packet);
    if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) return true;
    if (received < 0) return fail("the encoder failed: " + errorText(received), error);
    if (packet->duration == 0) packet->duration = 1;
    av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
    packet->stream_index = stream->index;
    const int written = av_interleaved_write_frame(muxer, packet);
    if (written < 0) return fail(reason(written), error);
  }
}

std::optional<Format> formatFor(std::string_view path) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos) return {};
  const std::string extension(path.substr(dot));
  if (strcasecmp(extension.c_str(), ".mp4") == 0) return Format::Mp4;
  if (strcasecmp(extension.c_str(), ".mkv") == 0) return Format::Lossless;
  return {};
}

Size videoSize(Format format, Size picture) {
  if (picture.width <= 0 || picture.height <= 0 || picture.width > largestPictureSide ||
      picture.height > largestPictureSide)
    return {0, 0};
  if (format == Format::Lossless) return picture;
  const int factor = picture.width <= 480 && picture.height <= 360 ? 4 : 2;
  return {picture.width * factor, picture.height * factor};
}

void discardVideoFile(int descriptor, const std::string& path) {
  const FileIdentity identity = identityOf(descriptor);
  close(descriptor);
  removeIfStill(path, identity);
}

int createVideoFile(const std::string& path, std::string& error) {
  const int descriptor =
      ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (descriptor >= 0) return descriptor;
  const int reason = errno;
  struct stat status;
  if (reason == EEXIST && lstat(path.c_str(), &status) == 0)
    error = S_ISLNK(status.st_mode)   ? "a symbolic link is in the way; not followed"
            : S_ISREG(status.st_mode) ? "the file exists; not replaced"
                                      : "something that is not a file is in the way";
  else
    error = std::strerror(reason);
  return -1;
}

std::unique_ptr<Writer> Writer::create(const std::string& path, Format format, Size picture,
                                       Pace pace, std::string& error) {
  const int descriptor = createVideoFile(path, error);
  return descriptor >= 0 ? start(descriptor, path, format, picture, pace, error) : nullptr;
}

std::unique_ptr<Writer> Writer::start(int descriptor, const std::string& path, Format format,
                                      Size picture, Pace pace, std::string& error) {
  auto encoder = std::make_unique<Encoder>();
  encoder->format = format;
  encoder->pace = pace;
  encoder->picture = picture;
  encoder->video = videoSize(format, picture);
  encoder->file.descriptor = descriptor;
  encoder->file.path = path;
  encoder->file.identity = identityOf(descriptor);
  // The encoder's end removes the file.
  if (picture.width <= 0 || picture.height <= 0) {
    error = "the picture has no size";
    return nullptr;
  }
  if (encoder->video.width == 0) {
    error = "the picture is too large for a video: " + std::to_string(picture.width) + " x " +
            std::to_string(picture.height) + ", " + std::to_string(largestPictureSide) +
            " a side at the most";
    return nullptr;
  }
  if (!encoder->open(error)) return nullptr;
  return std::unique_ptr<Writer>(new Writer(std::move(encoder)));
}

Writer::Writer(std::unique_ptr<Encoder> encoder) : encoder_(std::move(encoder)) {}

Writer::~Writer() = default;

bool Writer::addFrame(const compat::IndexedFrame& picture, const compat::Palette& palette,
                      std::string& error) {
  Encoder& e = *encoder_;
  if (e.failed || e.closed) return e.fail("the video has already ended", error);
  if (picture.pixels == nullptr || picture.pitch < picture.width) {
    // Refused, as a frame of another size is: its rows cannot be read.
    error = picture.pixels == nullptr ? "the frame has no pixels"
                                      : "the frame's rows are longer than its pitch";
    return false;
  }
  if (picture.width != e.picture.width || picture.height != e.picture.height) {
    // Refused, and the video stays as it was, to be finished.
    error = "the picture changed size from " + std::to_string(e.picture.width) + " x " +
            std::to_string(e.picture.height) + " to " + std::to_string(picture.width) + " x " +
            std::to_string(picture.height);
    return false;
  }
  // The encoder may still hold the last frame's buffer.
  if (av_frame_make_writable(e.frame) < 0) return e.fail("out of memory", error);
  if (e.format == Format::Mp4)
    writeStudioBlocks(picture, palette, e.video.width / picture.width,
                      {{e.frame->data[0], e.frame->data[1], e.frame->data[2]},
                       {e.frame->linesize[0], e.frame->linesize[1], e.frame->linesize[2]}});
  else
    writeBgr0(picture, palette, e.frame->data[0], e.frame->linesize[0]);
  e.frame->pts = e.length;
  const int sent = avcodec_send_frame(e.codec, e.frame);
  if (sent < 0) return e.fail("the encoder refused a frame: " + errorText(sent), error);
  ++e.frames;
  ++e.length;
  return e.writePackets(error);
}

bool Writer::finish(std::string& error) {
  Encoder& e = *encoder_;
  if (e.closed) return e.fail("the video has already ended", error);
  bool finished = !e.failed;
  if (!finished) error = e.failedBy;
  if (finished) {
    const int flushed = avcodec_send_frame(e.codec, nullptr);
    finished = flushed >= 0 ? e.writePackets(error)
                            : e.fail("the encoder failed: " + errorText(flushed), error);
  }
  if (finished) {
    const int ended = av_write_trailer(e.muxer);
    if (ended < 0 || e.io->error < 0)
      finished = e.fail(e.reason(ended < 0 ? ended : e.io->error), error);
  }
  if (finished && close(e.file.descriptor) != 0) {
    e.file.descriptor = -1;
    finished = e.fail(std::strerror(errno), error);
  }
  if (!finished) {
    e.abandon();
    return false;
  }
  e.file.descriptor = -1;
  e.closed = true;
  return true;
}

void Writer::holdLastFrame(long count) {
  if (encoder_->frames > 0 && count > 0) encoder_->length += count;
}

long Writer::framesAdded() const { return encoder_->frames; }

long Writer::length() const { return encoder_->length; }

const std::string& Writer::path() const { return encoder_->file.path; }

}  // namespace video
