// The remembered view: what is read back from the state file, what is ignored, and where the
// file goes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <fstream>

#include "platform/sdl/sdl_display_state.h"
#include "tests/support/bmp_files.h"

namespace {

// Two screens side by side, the second taller.
const std::vector<sdl::WindowArea> screens = {{0, 0, 1920, 1080}, {1920, 0, 1280, 1440}};

}  // namespace

TEST(SdlDisplayState, AWellFormedFileComesBackAndAnythingElseIsIgnored) {
  const std::string good = "rotozoom display 1\nmode window\nwindow 100 80 960 720\n";
  const struct {
    const char* name;
    std::string text;
    bool read;
  } cases[] = {
      {"well-formed", good, true},
      {"on the second screen", "rotozoom display 1\nmode window\nwindow 2000 900 640 480\n", true},
      {"partly off the desktop", "rotozoom display 1\nmode window\nwindow -800 -600 960 720\n",
       true},
      {"empty", "", false},
      {"another header", "rotozoom display 2\nmode window\nwindow 100 80 960 720\n", false},
      {"no window line", "rotozoom display 1\nmode window\n", false},
      {"unknown mode", "rotozoom display 1\nmode tiny\nwindow 100 80 960 720\n", false},
      {"unknown line", good + "colour blue\n", false},
      {"trailing words", "rotozoom display 1\nmode window\nwindow 100 80 960 720 5\n", false},
      {"not numbers", "rotozoom display 1\nmode window\nwindow a b c d\n", false},
      {"negative size", "rotozoom display 1\nmode window\nwindow 100 80 -960 720\n", false},
      {"zero size", "rotozoom display 1\nmode window\nwindow 100 80 0 720\n", false},
      {"huge size", "rotozoom display 1\nmode window\nwindow 0 0 100000 720\n", false},
      {"beyond int", "rotozoom display 1\nmode window\nwindow 0 0 99999999999 720\n", false},
      {"off every screen", "rotozoom display 1\nmode window\nwindow 5000 5000 640 480\n", false},
      {"a sliver on screen", "rotozoom display 1\nmode window\nwindow -630 0 640 480\n", false},
      {"far off, no overflow",
       "rotozoom display 1\nmode window\nwindow 2147483000 2147483000 16384 16384\n", false},
      {"binary", std::string("rotozoom display 1\n\0\xff\x01", 22), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(sdl::parseDisplayState(c.text, screens).has_value(), c.read);
  }
  const std::optional<sdl::DisplayState> state = sdl::parseDisplayState(good, screens);
  ASSERT_TRUE(state);
  EXPECT_TRUE(state->windowed);
  EXPECT_EQ(state->window.x, 100);
  EXPECT_EQ(state->window.width, 960);
  // What is written reads back the same.
  const sdl::DisplayState fullScreen{false, {10, 20, 640, 480}};
  const std::optional<sdl::DisplayState> again =
      sdl::parseDisplayState(sdl::displayStateText(fullScreen), screens);
  ASSERT_TRUE(again);
  EXPECT_FALSE(again->windowed);
  EXPECT_EQ(again->window.height, 480);
}

TEST(SdlDisplayState, TheFileLivesInTheStateFolderAndAFolderThatCannotBeWrittenChangesNothing) {
  support::TemporaryFolder folder;
  const std::string state = folder.path("state").string();
  setenv("XDG_STATE_HOME", state.c_str(), 1);
  EXPECT_EQ(sdl::displayStatePath(), state + "/rotozoom/display");
  unsetenv("XDG_STATE_HOME");
  setenv("HOME", "/home/someone", 1);
  EXPECT_EQ(sdl::displayStatePath(), "/home/someone/.local/state/rotozoom/display");

  // Written, with its folders made, and read back; no partial file stays beside it.
  const std::string path = state + "/rotozoom/display";
  ASSERT_TRUE(sdl::writeDisplayState(path, {true, {1, 2, 640, 480}}));
  const std::optional<sdl::DisplayState> read = sdl::readDisplayState(path, screens);
  ASSERT_TRUE(read);
  EXPECT_TRUE(read->windowed);
  EXPECT_FALSE(std::ifstream(path + ".new").good());

  // A file where the folder should be: nothing is written, and nothing else happens.
  const std::string blocked = folder.write("blocked", {'x'});
  EXPECT_FALSE(sdl::writeDisplayState(blocked + "/rotozoom/display", {true, {1, 2, 640, 480}}));
  EXPECT_EQ(sdl::readDisplayState(blocked + "/rotozoom/display", screens), std::nullopt);
  // Missing, or too large to be ours: ignored.
  EXPECT_EQ(sdl::readDisplayState(state + "/missing", screens), std::nullopt);
  std::ofstream(state + "/large") << std::string(5000, 'x');
  EXPECT_EQ(sdl::readDisplayState(state + "/large", screens), std::nullopt);
}
