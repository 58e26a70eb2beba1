// The screen at the program's end: it closes on every exit, and whatever reaches it after that
// (a destructor of the program's own that runs after the screen's clean-up and still draws,
// changes colours, leaves exclusive mode or reads messages) finds no screen, as before the
// first window, and the program ends with its own status.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/compat/screen.h"

namespace {

constexpr int width = 320, height = 240;

// Everything compat asks of the screen when a program draws, flips, changes the palette,
// releases exclusive mode, moves its window, reads its messages or shows a box.
void useEveryScreenCall(compat::Screen& screen) {
  std::vector<std::uint8_t> pixels(width * height, 1);
  const compat::IndexedFrame frame{pixels.data(), width, height, width};
  compat::Palette palette{};
  palette[1] = {255, 0, 0, 0};
  screen.presentFrame(frame, palette);
  screen.showWrite(frame, palette);
  palette[1] = {0, 255, 0, 0};
  screen.updatePalette(palette);
  std::vector<compat::InputEvent> events;
  screen.pollInput(events);
  screen.waitForVerticalBlank();
  screen.setExclusiveMode(false);
  screen.placeWindow({0, 0, width, height, false, "after"});
  screen.setCursorVisible(true);
  screen.presentFrame(frame, palette);
  screen.pollInput(events);
  screen.showMessageBox("after", "the screen has closed");
}

// A global of the program's that still uses the screen when it is destroyed.
struct LateUser {
  bool armed = false;
  ~LateUser() {
    if (armed) useEveryScreenCall(compat::activeScreen());
  }
};

// Shows frames full-screen, then ends the program with the status given.
[[noreturn]] void runAndExit(int status) {
  // Made before anything of the screen, as a program's global is: destroyed after the screen
  // has closed at exit.
  static LateUser late;
  compat::Screen& screen = compat::activeScreen();
  if (!screen.isAvailable()) std::exit(10);
  screen.placeWindow({0, 0, width, height, true, "exit"});
  screen.setExclusiveMode(true);
  std::vector<std::uint8_t> pixels(width * height, 2);
  compat::Palette palette{};
  for (int i = 0; i < 3; ++i) screen.presentFrame({pixels.data(), width, height, width}, palette);
  late.armed = true;
  std::exit(status);
}

}  // namespace

TEST(SdlExit, TheScreenUsedAfterItClosedAtExitLetsTheProgramEndWithItsStatus) {
  EXPECT_EXIT(runAndExit(3), testing::ExitedWithCode(3), "");
}
