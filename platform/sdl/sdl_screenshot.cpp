#include "platform/sdl/sdl_screenshot.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/indexed_png.h"
#include "platform/sdl/sdl_pictures_folder.h"

namespace sdl {
namespace {

// A new file in the folder (empty: the current folder) under the first free name. Its
// descriptor, or -1 with the reason in `error`: EEXIST when every name is taken, anything else
// when the folder cannot be written.
int createScreenshotFile(const std::string& folder, std::time_t when, std::string& path,
                         int& error) {
  for (int attempt = 1; attempt <= screenshotAttempts; ++attempt) {
    path = (folder.empty() ? "" : folder + "/") + screenshotName(when, attempt);
    const int descriptor =
        open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (descriptor >= 0) return descriptor;
    error = errno;
    if (error != EEXIST) return -1;
  }
  return -1;
}

}  // namespace

std::string screenshotName(std::time_t when, int attempt) {
  std::tm local{};
  localtime_r(&when, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  const std::string base = std::string("rotozoom-") + stamp;
  return attempt <= 1 ? base + ".png" : base + "-" + std::to_string(attempt) + ".png";
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
  int error = 0;
  int descriptor = createScreenshotFile("", when, path, error);
  if (descriptor < 0 && error != EEXIST) {
    const std::string pictures = picturesFolder();
    if (!pictures.empty()) descriptor = createScreenshotFile(pictures, when, path, error);
  }
  if (descriptor < 0) {
    if (error == EEXIST)
      std::fprintf(stderr, "screenshot: not saved: %s and the %d names after it are taken\n",
                   screenshotName(when, 1).c_str(), screenshotAttempts - 1);
    else
      std::fprintf(stderr, "screenshot: cannot write %s: %s\n", path.c_str(), std::strerror(error));
    return {};
  }
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
