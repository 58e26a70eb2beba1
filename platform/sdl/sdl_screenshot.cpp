#include "platform/sdl/sdl_screenshot.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/media/indexed_png.h"
#include "platform/sdl/sdl_pictures_folder.h"

namespace sdl {
namespace {

// A new file in the folder (empty: the current folder) under the first free name. Its
// descriptor, or -1 with the reason in `error`: EEXIST when every name is taken, anything else
// when the folder cannot be written.
int createInFolder(const std::string& folder, std::time_t when, const std::string& extension,
                   std::string& path, int& error) {
  for (int attempt = 1; attempt <= screenshotAttempts; ++attempt) {
    path = (folder.empty() ? "" : folder + "/") + screenshotName(when, attempt, extension);
    const int descriptor =
        open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (descriptor >= 0) return descriptor;
    error = errno;
    if (error != EEXIST) return -1;
  }
  return -1;
}

}  // namespace

std::string screenshotName(std::time_t when, int attempt, const std::string& extension) {
  std::tm local{};
  localtime_r(&when, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  const std::string base = std::string("rotozoom-") + stamp;
  return attempt <= 1 ? base + extension : base + "-" + std::to_string(attempt) + extension;
}

int createCaptureFile(const char* who, std::time_t when, const std::string& extension,
                      std::string& path) {
  int error = 0;
  int descriptor = createInFolder("", when, extension, path, error);
  if (descriptor < 0 && error != EEXIST) {
    const std::string pictures = picturesFolder();
    if (!pictures.empty()) descriptor = createInFolder(pictures, when, extension, path, error);
  }
  if (descriptor >= 0) return descriptor;
  if (error == EEXIST)
    std::fprintf(stderr, "%s: not saved: %s and the %d names after it are taken\n", who,
                 screenshotName(when, 1, extension).c_str(), screenshotAttempts - 1);
  else
    std::fprintf(stderr, "%s: cannot write %s: %s\n", who, path.c_str(), std::strerror(error));
  return -1;
}

std::string saveScreenshot(const compat::IndexedFrame& picture, const compat::Palette& palette) {
  return saveScreenshot(picture, palette, std::time(nullptr));
}

std::string saveScreenshot(const compat::IndexedFrame& picture, const compat::Palette& palette,
                           std::time_t when) {
  if (picture.pixels == nullptr || picture.width <= 0 || picture.height <= 0) {
    // No frame yet, or a window wholly off the desktop its frames stand for.
    std::fprintf(stderr, "screenshot: not saved: nothing is shown\n");
    return {};
  }
  std::string path;
  const int descriptor = createCaptureFile("screenshot", when, ".png", path);
  if (descriptor < 0) return {};
  std::FILE* file = fdopen(descriptor, "wb");
  std::string problem = file == nullptr ? std::strerror(errno) : "";
  if (file == nullptr) close(descriptor);
  bool written = file != nullptr && writeIndexedPng(file, picture, palette, problem);
  if (file != nullptr && std::fclose(file) != 0 && written) {
    problem = std::strerror(errno);
    written = false;
  }
  if (!written) {
    unlink(path.c_str());
    std::fprintf(stderr, "screenshot: cannot write %s: %s\n", path.c_str(), problem.c_str());
    return {};
  }
  std::fprintf(stderr, "screenshot: %s\n", path.c_str());
  return path;
}

}  // namespace sdl
