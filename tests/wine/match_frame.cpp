// match-frame: which of the demo's frames 0..899 a picture from another platform shows. Angle
// and zoom repeat every 900 frames, so any frame of a run is one of these. Runs the demo's own
// start-up and loop on the headless screen (texture.bmp from the current folder), takes each
// frame through the display palette and compares it with the picture, outside the FPS line's
// rows at the top.
//
//   match-frame [--within LEVELS] PICTURE.rgb
//
// PICTURE.rgb: 320 x 240 pixels, 3 bytes each (red, green, blue), rows top to bottom. Prints the
// best frame and how many pixels differ; status 0 when one frame matches exactly, 1 when none
// does, 2 for a bad argument. With --within, a pixel differs only where a channel is more than
// LEVELS away (0 to 255), for pictures through a lossy codec.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "tools/headless_demo.h"

namespace {

constexpr int width = 320;
constexpr int height = 240;
constexpr int cycle = 900;
constexpr int fpsRows = 20;  // the FPS line's box, whatever its width

std::vector<unsigned char> picture;
int within = 0;
long bestFrame = -1;
long bestDifferences = width * height + 1;

long differences(const compat::IndexedFrame& frame, const compat::Palette& palette) {
  long count = 0;
  for (int y = fpsRows; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const compat::PaletteColour& colour = palette[frame.pixels[y * frame.pitch + x]];
      const unsigned char* expected = &picture[(y * width + x) * 3];
      count += std::abs(colour.red - expected[0]) > within ||
               std::abs(colour.green - expected[1]) > within ||
               std::abs(colour.blue - expected[2]) > within;
    }
  return count;
}

}  // namespace

int main(int argc, char** argv) {
  char* end = nullptr;
  if (argc == 4 && std::strcmp(argv[1], "--within") == 0) {
    const long levels = std::strtol(argv[2], &end, 10);
    if (*argv[2] == '\0' || *end != '\0' || levels < 0 || levels > 255) argc = 0;
    within = static_cast<int>(levels);
    argv += 2;
    argc -= 2;
  }
  if (argc != 2) {
    std::fprintf(stderr,
                 "usage: match-frame [--within LEVELS] PICTURE.rgb (320 x 240, 3 bytes per "
                 "pixel)\n");
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  picture.assign(std::istreambuf_iterator<char>(file), {});
  if (picture.size() != width * height * 3) {
    std::fprintf(stderr, "match-frame: %s: expected %d bytes, read %zu\n", argv[1],
                 width * height * 3, picture.size());
    return 2;
  }
  headless_demo::run(
      [](long frameNumber, const compat::IndexedFrame& frame, const compat::Palette& palette) {
        const long differing = differences(frame, palette);
        if (differing < bestDifferences) {
          bestDifferences = differing;
          bestFrame = frameNumber;
        }
        if (frameNumber + 1 < cycle) return;
        std::printf("best frame %ld: %ld of %d pixels differ\n", bestFrame, bestDifferences,
                    width * (height - fpsRows));
        std::exit(bestDifferences == 0 ? 0 : 1);
      });
}
