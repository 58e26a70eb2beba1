// The remembered view: what is read back from the state file, what is ignored, and where the
// file goes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <thread>

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
      {"huge height", "rotozoom display 1\nmode window\nwindow 0 0 960 16385\n", false},
      {"largest size", "rotozoom display 1\nmode window\nwindow 0 0 16384 16384\n", true},
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
  // What is written reads back the same, whichever look.
  for (const compat::Look look : {compat::Look::integer, compat::Look::sharp, compat::Look::crt}) {
    SCOPED_TRACE(compat::lookName(look));
    const sdl::DisplayState fullScreen{false, {10, 20, 640, 480}, look};
    const std::optional<sdl::DisplayState> again =
        sdl::parseDisplayState(sdl::displayStateText(fullScreen), screens);
    ASSERT_TRUE(again);
    EXPECT_FALSE(again->windowed);
    EXPECT_EQ(again->window.height, 480);
    EXPECT_EQ(compat::lookName(again->look), compat::lookName(look));
  }
  // A look this build does not know leaves the default.
  const std::optional<sdl::DisplayState> newer =
      sdl::parseDisplayState(good + "look velvet\n", screens);
  ASSERT_TRUE(newer);
  EXPECT_EQ(newer->look, compat::defaultLook);
}

TEST(SdlDisplayState, EachProgramHasItsFileInTheStateFolder) {
  const struct {
    const char* name;
    const char* stateHome;  // null: unset
    const char* home;
    std::string path;
  } cases[] = {
      {"state folder", "/state", "/home/someone", "/state/rotozoom/rotozoom.display"},
      {"no state folder", nullptr, "/home/someone",
       "/home/someone/.local/state/rotozoom/rotozoom.display"},
      {"empty state folder", "", "/home/someone",
       "/home/someone/.local/state/rotozoom/rotozoom.display"},
      {"relative state folder", "state", "/home/someone",
       "/home/someone/.local/state/rotozoom/rotozoom.display"},
      {"relative home", nullptr, "someone", ""},
      {"nothing", nullptr, nullptr, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.stateHome ? setenv("XDG_STATE_HOME", c.stateHome, 1) : unsetenv("XDG_STATE_HOME");
    c.home ? setenv("HOME", c.home, 1) : unsetenv("HOME");
    EXPECT_EQ(sdl::displayStatePathFor("rotozoom"), c.path);
  }
  setenv("XDG_STATE_HOME", "/state", 1);
  // One file per program, so that each opens in its own last view; a name fit for a file.
  EXPECT_EQ(sdl::displayStatePathFor("engine-showcase"), "/state/rotozoom/engine-showcase.display");
  EXPECT_EQ(sdl::displayStatePathFor("a b/c"), "/state/rotozoom/a_b_c.display");
  EXPECT_EQ(sdl::displayStatePathFor(".."), "/state/rotozoom/program...display");
  EXPECT_EQ(sdl::displayStatePathFor(""), "/state/rotozoom/program.display");
  // The running program's own: these tests' program.
  EXPECT_EQ(sdl::displayStatePath(), "/state/rotozoom/sdl_screen_tests.display");
}

TEST(SdlDisplayState, AProgramWhoseFileWasReplacedWhileItRunsKeepsItsFile) {
  // A rebuild or a package upgrade puts a new file in the program's place while it runs; the
  // kernel then names the running one "PATH (deleted)". This test's own program is replaced so,
  // by an identical copy renamed over it, as the build and the package manager do it.
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe");
  const std::filesystem::path copy = program.string() + ".replacing";
  ASSERT_TRUE(
      std::filesystem::copy_file(program, copy, std::filesystem::copy_options::overwrite_existing));
  std::filesystem::permissions(copy, std::filesystem::status(program).permissions());
  ASSERT_EQ(std::rename(copy.c_str(), program.c_str()), 0);
  ASSERT_EQ(std::filesystem::read_symlink("/proc/self/exe").string(),
            program.string() + " (deleted)");
  setenv("XDG_STATE_HOME", "/state", 1);
  EXPECT_EQ(sdl::displayStatePath(), "/state/rotozoom/sdl_screen_tests.display");
}

TEST(SdlDisplayState, WrittenThenReadBackAndAFolderThatCannotBeWrittenChangesNothing) {
  support::TemporaryFolder folder;
  const std::string state = folder.path("state").string();
  // Written, with its folders made, and read back; nothing else stays in the folder.
  const std::string path = state + "/rotozoom/rotozoom.display";
  ASSERT_TRUE(sdl::writeDisplayState(path, {true, {1, 2, 640, 480}}));
  const std::optional<sdl::DisplayState> read = sdl::readDisplayState(path, screens);
  ASSERT_TRUE(read);
  EXPECT_TRUE(read->windowed);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(state + "/rotozoom"), {}), 1);

  // A file where the folder should be: nothing is written, and nothing else happens.
  const std::string blocked = folder.write("blocked", {'x'});
  EXPECT_FALSE(sdl::writeDisplayState(blocked + "/rotozoom/display", {true, {1, 2, 640, 480}}));
  EXPECT_EQ(sdl::readDisplayState(blocked + "/rotozoom/display", screens), std::nullopt);
  // Missing, or too large to be ours: ignored.
  EXPECT_EQ(sdl::readDisplayState(state + "/missing", screens), std::nullopt);
  std::ofstream(state + "/large") << std::string(5000, 'x');
  EXPECT_EQ(sdl::readDisplayState(state + "/large", screens), std::nullopt);
}

TEST(SdlDisplayState, ANamedPipeInTheFilesPlaceIsIgnoredAtOnce) {
  support::TemporaryFolder folder;
  const std::string path = folder.path("rotozoom.display").string();
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  auto reading =
      std::async(std::launch::async, [&] { return sdl::readDisplayState(path, screens); });
  if (reading.wait_for(std::chrono::seconds(5)) == std::future_status::timeout) {
    ADD_FAILURE() << "reading a named pipe blocks";
    close(open(path.c_str(), O_WRONLY));  // a writer comes and goes, and the read ends
  }
  EXPECT_EQ(reading.get(), std::nullopt);
}

TEST(SdlDisplayState, NothingPlantedInTheFolderIsWrittenThrough) {
  support::TemporaryFolder folder;
  const std::string victim = folder.write("victim", {'k', 'e', 'e', 'p'});
  std::filesystem::create_directory(folder.path("rotozoom"));
  const std::string path = folder.path("rotozoom/rotozoom.display").string();
  // Links at the names a writer might use for its new file.
  for (const char* name : {"rotozoom.display.new", ".rotozoom.display.new", "display.new"})
    std::filesystem::create_symlink(victim, folder.path("rotozoom") / name);
  ASSERT_TRUE(sdl::writeDisplayState(path, {true, {1, 2, 640, 480}}));
  std::ifstream in(victim);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "keep");
  EXPECT_FALSE(std::filesystem::is_symlink(path));
  EXPECT_TRUE(sdl::readDisplayState(path, screens));
}

TEST(SdlDisplayState, TwoProgramsWritingAtOnceEachWriteWholeFiles) {
  support::TemporaryFolder folder;
  const std::string path = folder.path("rotozoom/rotozoom.display").string();
  ASSERT_TRUE(sdl::writeDisplayState(path, {false, {0, 0, 640, 480}}));
  std::atomic<int> failedWrites{0}, badReads{0};
  std::atomic<bool> writing{true};
  const auto writer = [&](int width) {
    for (int i = 0; i < 300; ++i)
      if (!sdl::writeDisplayState(path, {true, {0, 0, width, 480}})) ++failedWrites;
  };
  std::thread reader([&] {
    while (writing) {
      const std::optional<sdl::DisplayState> state = sdl::readDisplayState(path, screens);
      if (!state) ++badReads;
    }
  });
  std::thread first(writer, 640), second(writer, 960);
  first.join();
  second.join();
  writing = false;
  reader.join();
  EXPECT_EQ(failedWrites, 0);
  EXPECT_EQ(badReads, 0) << "readers found empty or torn files";
  const std::optional<sdl::DisplayState> last = sdl::readDisplayState(path, screens);
  ASSERT_TRUE(last);
  EXPECT_TRUE(last->window.width == 640 || last->window.width == 960);
  // No new file of either writer stays behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path("rotozoom")), {}), 1);
}
