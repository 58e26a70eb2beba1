#include "platform/sdl/sdl_screenshot.h"

#include <sys/stat.h>

#include <cstdio>

#include "platform/indexed_png.h"

namespace sdl {

std::string screenshotName(std::time_t when, const std::function<bool(const std::string&)>& taken) {
  std::tm local{};
  localtime_r(&when, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  const std::string base = std::string("rotozoom-") + stamp;
  std::string name = base + ".png";
  for (int n = 2; taken(name) && n < 1000; ++n) name = base + "-" + std::to_string(n) + ".png";
  return name;
}

std::string saveScreenshot(const compat::IndexedFrame& picture, const compat::Palette& palette) {
  if (picture.width <= 0 || picture.height <= 0) return {};
  const std::string name = screenshotName(std::time(nullptr), [](const std::string& candidate) {
    struct stat status;
    return lstat(candidate.c_str(), &status) == 0;
  });
  std::string error;
  if (!writeIndexedPng(name, picture, palette, error)) {
    std::fprintf(stderr, "screenshot: cannot write %s: %s\n", name.c_str(), error.c_str());
    return {};
  }
  std::fprintf(stderr, "screenshot: %s\n", name.c_str());
  return name;
}

}  // namespace sdl
