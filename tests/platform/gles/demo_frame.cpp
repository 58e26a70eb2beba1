#include "tests/platform/gles/demo_frame.h"

#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace gles_test {

bool demoFrame(int number, Picture& picture, compat::Palette& palette, std::string& error) {
  namespace fs = std::filesystem;
  const fs::path folder =
      fs::temp_directory_path() / ("gles-demo-frame-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  const std::string command = "cd '" + folder.string() +
                              "' && '" MAKE_TEXTURE_PATH "' texture.bmp && '" CAPTURE_PATH "' 1 " +
                              std::to_string(number) + " > /dev/null";
  const bool made = std::system(command.c_str()) == 0;
  char name[32];
  std::snprintf(name, sizeof name, "frame-%05d.png", number);
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  bool read = false;
  if (!made) {
    error = "the tools failed: " + command;
  } else if (!png_image_begin_read_from_file(&image, (folder / name).c_str())) {
    error = std::string("cannot read the frame: ") + image.message;
  } else {
    // Indices and a colour map, as the demo's palette display has them.
    image.format = PNG_FORMAT_RGB_COLORMAP;
    std::uint8_t map[256 * 3] = {};
    picture = {static_cast<int>(image.width), static_cast<int>(image.height),
               static_cast<int>(image.width),
               std::vector<std::uint8_t>(std::size_t{image.width} * image.height)};
    read = png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, map) != 0;
    if (!read) error = std::string("cannot decode the frame: ") + image.message;
    for (int i = 0; i < 256; ++i) palette[i] = {map[3 * i], map[3 * i + 1], map[3 * i + 2], 0};
  }
  png_image_free(&image);
  fs::remove_all(folder);
  return read;
}

}  // namespace gles_test
