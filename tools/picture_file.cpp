#include "tools/picture_file.h"

#include <SDL.h>
#include <SDL_image.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "tools/picture_header.h"
#include "tools/texture/texture_fit.h"

namespace {

DecodedPicture refused(std::string problem) { return {0, 0, {}, nullptr, std::move(problem)}; }

// The whole file, or why not: opened without blocking and checked on the descriptor, so that
// a named pipe or a device is turned away rather than waited on.
std::vector<std::uint8_t> wholeFile(const char* name, std::string& problem) {
  const int descriptor = open(name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (descriptor < 0) {
    problem = std::strerror(errno);
    return {};
  }
  std::vector<std::uint8_t> bytes;
  struct stat status;
  if (fstat(descriptor, &status) != 0) {
    problem = std::strerror(errno);
  } else if (S_ISDIR(status.st_mode)) {
    problem = "is a folder, not a picture";
  } else if (!S_ISREG(status.st_mode)) {
    problem = "not a regular file (a named pipe or a device?)";
  } else if (static_cast<std::uint64_t>(status.st_size) > maxPictureFileBytes) {
    problem = "a file of more than " + std::to_string(maxPictureFileBytes >> 20) +
              " MiB is too large for a picture to read";
  } else {
    bytes.resize(static_cast<std::size_t>(status.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t got = read(descriptor, bytes.data() + done, bytes.size() - done);
      if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      if (got <= 0) {
        problem = got < 0 ? std::strerror(errno) : "the file shrank while it was read";
        break;
      }
      done += static_cast<std::size_t>(got);
    }
    if (!problem.empty()) bytes.clear();
  }
  close(descriptor);
  return bytes;
}

// SDL_image's own names for its decoders.
const char* decoderName(PictureFormat format) {
  switch (format) {
    case PictureFormat::png:
      return "PNG";
    case PictureFormat::jpeg:
      return "JPG";
    case PictureFormat::gif:
      return "GIF";
    case PictureFormat::webp:
      return "WEBP";
    case PictureFormat::bmp:
      return "BMP";
    case PictureFormat::unknown:
      break;
  }
  return "";
}

// libpng's default error handler prints its own "libpng error: ..." line before SDL_image
// returns the error; the tool gives one line of its own, so the decoder's standard error goes
// to /dev/null while it runs.
class QuietStandardError {
 public:
  QuietStandardError() {
    std::fflush(stderr);
    saved_ = dup(STDERR_FILENO);
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved_ >= 0 && null >= 0) dup2(null, STDERR_FILENO);
    if (null >= 0) close(null);
  }
  ~QuietStandardError() {
    std::fflush(stderr);
    if (saved_ < 0) return;
    dup2(saved_, STDERR_FILENO);
    close(saved_);
  }
  QuietStandardError(const QuietStandardError&) = delete;
  QuietStandardError& operator=(const QuietStandardError&) = delete;

 private:
  int saved_;
};

struct SurfaceFree {
  void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using Surface = std::unique_ptr<SDL_Surface, SurfaceFree>;

// Decodes the file's bytes by the decoder for its format, after reading its size from them.
Surface decodedFile(const char* name, std::string& problem) {
  const std::vector<std::uint8_t> bytes = wholeFile(name, problem);
  if (!problem.empty()) return nullptr;
  const PictureHeader header = readPictureHeader(bytes);
  problem = header.problem;
  if (problem.empty())
    problem = texture::pictureSizeProblem(header.width, header.height).value_or("");
  if (!problem.empty()) return nullptr;
  SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (stream == nullptr) {
    problem = SDL_GetError();
    return nullptr;
  }
  Surface decoded;
  {
    const QuietStandardError quiet;
    decoded.reset(IMG_LoadTyped_RW(stream, 1, decoderName(header.format)));
  }
  if (decoded == nullptr) {
    const std::string reason = IMG_GetError();
    problem = std::string("cannot decode the ") + formatName(header.format) + " picture" +
              (reason.empty() ? "" : ": " + reason);
  }
  return decoded;
}

}  // namespace

DecodedPicture readPictureFile(const char* name) {
  std::string problem;
  Surface decoded = decodedFile(name, problem);  // the file's bytes are freed by now
  if (decoded == nullptr) return refused(problem);
  // The decoder's size, checked again: it is what the pixels below take.
  if (auto tooLarge = texture::pictureSizeProblem(decoded->w, decoded->h))
    return refused(*tooLarge);
  std::shared_ptr<SDL_Surface> rgba(
      SDL_ConvertSurfaceFormat(decoded.get(), SDL_PIXELFORMAT_RGBA32, 0), SurfaceFree());
  decoded.reset();
  if (rgba == nullptr) return refused(std::string("cannot convert its pixels: ") + SDL_GetError());
  if (SDL_MUSTLOCK(rgba.get()) && SDL_LockSurface(rgba.get()) != 0)
    return refused(std::string("cannot read its pixels: ") + SDL_GetError());
  // Rows end to end (SDL pads none for 4-byte pixels, but a pitch says so).
  auto* pixels = static_cast<std::uint8_t*>(rgba->pixels);
  const std::size_t rowBytes = static_cast<std::size_t>(rgba->w) * 4;
  for (int y = 1; y < rgba->h && static_cast<std::size_t>(rgba->pitch) != rowBytes; ++y)
    std::memmove(pixels + y * rowBytes, pixels + std::size_t(y) * rgba->pitch, rowBytes);
  return {rgba->w, rgba->h, {pixels, rowBytes * rgba->h}, rgba, {}};
}
