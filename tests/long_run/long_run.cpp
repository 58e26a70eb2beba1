// long-run FRAMES: the demo's own start-up and frame loop on the headless screen for FRAMES
// frames (texture.bmp from the current folder), on a simulated clock whose frame rate changes
// every simulated second (60, 30, 45, 72 frames a second in turn). At the end it checks that
//  - the resident memory has not grown since frame 1000 (by more than a small allowance), and
//  - the FPS line kept updating: about once a simulated second, up to the last seconds, and
//    showing the changing rates.
// Prints what it saw; status 0 when both hold, 1 when not, 2 for a bad argument. Run under
// LeakSanitizer, its exit also reports any leak.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "host/shared_data.h"
#include "tools/headless_demo.h"

namespace {

constexpr long settleFrames = 1000;
// AddressSanitizer keeps freed memory in quarantine, so resident size means nothing there; the
// leak check at the exit is what counts in that build.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool checkResidentMemory = false;
#else
constexpr bool checkResidentMemory = true;
#endif
constexpr long allowedGrowthBytes = 512 * 1024;
constexpr int ratesPerSecond[] = {60, 30, 45, 72};

long frames = 0;
long framesSeen = 0;
// Simulated time in units of 1/360000 s, so that every rate's frame is a whole number of them.
long long ticks = 0;
long residentAtSettle = 0;
long fpsUpdates = 0;
long lastUpdateSecond = 0;
std::string lastFpsLine;
std::set<std::string> fpsLines;

uint32_t simulatedMilliseconds() { return static_cast<uint32_t>(1000 + ticks / 360); }

long residentBytes() {
  long pages = 0, resident = 0;
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr) return -1;
  const int read = std::fscanf(statm, "%ld %ld", &pages, &resident);
  std::fclose(statm);
  return read == 2 ? resident * sysconf(_SC_PAGESIZE) : -1;
}

void finish() {
  const long simulatedSeconds = static_cast<long>(ticks / 360000);
  const long resident = residentBytes();
  const long growth = resident - residentAtSettle;
  std::printf("%ld frames, %ld simulated seconds\n", framesSeen, simulatedSeconds);
  std::printf("resident memory: %ld KiB at frame %ld, %ld KiB at the end (%+ld KiB)\n",
              residentAtSettle / 1024, settleFrames, resident / 1024, growth / 1024);
  std::printf("FPS line: %ld updates, last in second %ld, %zu different lines:", fpsUpdates,
              lastUpdateSecond, fpsLines.size());
  for (const std::string& line : fpsLines) std::printf(" \"%s\"", line.c_str());
  std::printf("\n");
  bool ok = true;
  if (checkResidentMemory && framesSeen > settleFrames && growth > allowedGrowthBytes) {
    std::printf("FAILED: resident memory grew by more than %ld KiB\n", allowedGrowthBytes / 1024);
    ok = false;
  }
  if (fpsUpdates < simulatedSeconds - 2 || fpsUpdates > simulatedSeconds + 1 ||
      lastUpdateSecond < simulatedSeconds - 2) {
    std::printf("FAILED: the FPS line did not update once a second to the end\n");
    ok = false;
  }
  if (simulatedSeconds >= 8 && fpsLines.size() < 4) {
    std::printf("FAILED: the FPS line did not follow the changing rate\n");
    ok = false;
  }
  std::fflush(stdout);
  std::exit(ok ? 0 : 1);
}

}  // namespace

int main(int argc, char** argv) {
  char* end = nullptr;
  frames = argc == 2 ? std::strtol(argv[1], &end, 10) : 0;
  if (argc != 2 || *end != '\0' || frames < 1 || frames > 100000000) {
    std::fprintf(stderr, "usage: long-run FRAMES (1 to 100000000)\n");
    return 2;
  }
  headless_demo::run(
      [](long frameNumber, const compat::IndexedFrame&, const compat::Palette&) {
        framesSeen = frameNumber + 1;
        const long second = static_cast<long>(ticks / 360000);
        ticks += 360000 / ratesPerSecond[second % std::size(ratesPerSecond)];
        if (messageText != lastFpsLine) {
          lastFpsLine = messageText;
          fpsLines.insert(lastFpsLine);
          ++fpsUpdates;
          lastUpdateSecond = second;
        }
        if (framesSeen == settleFrames) residentAtSettle = residentBytes();
        if (framesSeen == frames) finish();
      },
      [](long) { return simulatedMilliseconds(); });
}
