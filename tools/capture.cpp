// rotozoom-capture: runs the demo's own start-up and frame loop on the headless screen, with a
// simulated clock that advances 1000/60 ms per presented frame, and writes frames as indexed
// 8-bit PNG files carrying the display palette.
//
//   rotozoom-capture COUNT [FIRST]
//
// writes frame-NNNNN.png for frames FIRST to FIRST + COUNT - 1 (numbered from 0) into the
// current folder, reading texture.bmp from there as the demo does.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/indexed_png.h"
#include "tools/command_line.h"
#include "tools/headless_demo.h"

namespace {

constexpr long largestCount = 1000000;
constexpr long largestFirst = 100000000;

const ToolDescription tool{
    "rotozoom-capture", "COUNT [FIRST]",
    "Runs the rotozoom demo without a display, on a simulated 60 Hz clock, and writes frames\n"
    "FIRST to FIRST + COUNT - 1 (FIRST defaults to 0; frames are numbered from 0) as\n"
    "frame-NNNNN.png, indexed PNGs with the display palette, into the current folder. It reads\n"
    "texture.bmp from the current folder, as the demo does."};

// A whole number in [low, high], or -1.
long parseNumber(const char* text, long low, long high) {
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || value < low || value > high) return -1;
  return value;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> operands = operandsOf(tool, argc, argv);
  if (operands.empty() || operands.size() > 2)
    return usageError(tool, "COUNT, and FIRST at the most");
  const long count = parseNumber(operands[0].c_str(), 1, largestCount);
  const long first = operands.size() == 2 ? parseNumber(operands[1].c_str(), 0, largestFirst) : 0;
  if (count < 0 || first < 0)
    return usageError(tool, "COUNT must be 1 to " + std::to_string(largestCount) +
                                " and FIRST 0 to " + std::to_string(largestFirst));
  struct stat status;
  if (stat("texture.bmp", &status) != 0 || !S_ISREG(status.st_mode)) {
    std::fprintf(stderr, "rotozoom-capture: texture.bmp: %s\n",
                 errno != 0 ? std::strerror(errno) : "not a file");
    return 1;
  }

  headless_demo::run([count, first](long frameNumber, const compat::IndexedFrame& frame,
                                    const compat::Palette& palette) {
    if (frameNumber < first) return;
    char name[32];
    std::snprintf(name, sizeof name, "frame-%05ld.png", frameNumber);
    std::string error;
    if (!writeIndexedPng(name, frame, palette, error)) {
      std::fprintf(stderr, "rotozoom-capture: %s: %s\n", name, error.c_str());
      std::exit(1);
    }
    if (frameNumber == first + count - 1) std::exit(0);
  });
}
