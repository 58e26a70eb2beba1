// Print Screen's file: named by the date and time, created as a new file (never over an older
// one, never through a symbolic link), an indexed PNG of the picture with its palette; in the
// user's pictures folder when the current folder cannot be written.
#include <SDL.h>
#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/compat/screen.h"
#include "platform/sdl/sdl_pictures_folder.h"
#include "platform/sdl/sdl_screenshot.h"
#include "tests/support/bmp_files.h"

namespace {

std::time_t december10At140509() {
  std::tm when{};
  when.tm_year = 2026 - 1900;
  when.tm_mon = 11;
  when.tm_mday = 10;
  when.tm_hour = 14;
  when.tm_min = 5;
  when.tm_sec = 9;
  when.tm_isdst = -1;
  return std::mktime(&when);
}

std::string contentOf(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A folder of its own as the current folder, and the user's folders inside it (HOME, and no
// XDG_* variables), so that nothing is saved where the user keeps things; all put back after.
class ScreenshotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::filesystem::create_directory(folder.path("work"));
    std::filesystem::create_directory(folder.path("home"));
    std::filesystem::current_path(folder.path("work"));
    setenv("HOME", home().c_str(), 1);
    unsetenv("XDG_PICTURES_DIR");
    unsetenv("XDG_CONFIG_HOME");
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 7);
  }
  void TearDown() override { std::filesystem::current_path(previous_); }

  std::string home() const { return folder.path("home").string(); }
  std::string save() { return sdl::saveScreenshot({pixels.data(), 320, 240, 320}, palette, when); }

  support::TemporaryFolder folder;
  std::vector<std::uint8_t> pixels = std::vector<std::uint8_t>(320 * 240);
  compat::Palette palette{};
  const std::time_t when = december10At140509();

 private:
  std::filesystem::path previous_;
};

}  // namespace

TEST(SdlScreenshot, NamesCarryTheTimeAndACountAfterTheFirst) {
  const std::time_t when = december10At140509();
  EXPECT_EQ(sdl::screenshotName(when, 1), "rotozoom-20261210-140509.png");
  EXPECT_EQ(sdl::screenshotName(when, 2), "rotozoom-20261210-140509-2.png");
  EXPECT_EQ(sdl::screenshotName(when, sdl::screenshotAttempts), "rotozoom-20261210-140509-999.png");
}

TEST_F(ScreenshotTest, TheFileIsTheIndexedPictureWithItsPalette) {
  // Every channel different from entry to entry and from the other two, so that a channel
  // dropped, fixed or swapped shows.
  for (int i = 0; i < 256; ++i)
    palette[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                  static_cast<std::uint8_t>(i * 7 + 3), 0};
  testing::internal::CaptureStderr();
  const std::string name = save();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "screenshot: " + name + "\n");
  ASSERT_EQ(name, "rotozoom-20261210-140509.png");

  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, name.c_str()));
  EXPECT_EQ(image.width, 320u);
  EXPECT_EQ(image.height, 240u);
  EXPECT_TRUE(image.format & PNG_FORMAT_FLAG_COLORMAP) << "not an indexed PNG";
  EXPECT_EQ(image.colormap_entries, 256u);
  image.format = PNG_FORMAT_RGB_COLORMAP;
  std::vector<std::uint8_t> indices(320 * 240), colours(256 * 3);
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, indices.data(), 320, colours.data()));
  EXPECT_EQ(indices, pixels);
  for (int i = 0; i < 256; ++i) {
    SCOPED_TRACE(i);
    ASSERT_EQ(colours[i * 3], palette[i].red);
    ASSERT_EQ(colours[i * 3 + 1], palette[i].green);
    ASSERT_EQ(colours[i * 3 + 2], palette[i].blue);
  }

  // A second one in the same second takes the next name and leaves the first as it was.
  const std::string first = contentOf(name);
  pixels[0] = 99;
  EXPECT_EQ(save(), "rotozoom-20261210-140509-2.png");
  EXPECT_EQ(contentOf(name), first);
}

TEST_F(ScreenshotTest, NamesThatAreTakenAreNeverWrittenThrough) {
  const std::string victim = folder.write("victim", {'k', 'e', 'e', 'p'});
  // The first name a link to someone else's file: skipped, the file untouched.
  std::filesystem::create_symlink(victim, sdl::screenshotName(when, 1));
  EXPECT_EQ(save(), sdl::screenshotName(when, 2));
  EXPECT_TRUE(contentOf(victim) == "keep") << "written through the link";

  // Every name taken, the last one by a link, a dangling one beside it: nothing is saved, and
  // a line says so.
  for (int attempt = 3; attempt < sdl::screenshotAttempts - 1; ++attempt)
    std::ofstream(sdl::screenshotName(when, attempt)) << "older";
  std::filesystem::create_symlink(folder.path("nowhere"),
                                  sdl::screenshotName(when, sdl::screenshotAttempts - 1));
  std::filesystem::create_symlink(victim, sdl::screenshotName(when, sdl::screenshotAttempts));
  testing::internal::CaptureStderr();
  EXPECT_EQ(save(), "");
  EXPECT_NE(testing::internal::GetCapturedStderr().find("screenshot: not saved"),
            std::string::npos);
  EXPECT_TRUE(contentOf(victim) == "keep") << "written through the link";
  EXPECT_FALSE(std::filesystem::exists(folder.path("nowhere")));
  EXPECT_EQ(contentOf(sdl::screenshotName(when, 3)), "older");
}

TEST_F(ScreenshotTest, AFolderThatCannotBeWrittenSendsTheFileToThePicturesFolder) {
  // The current folder is gone from under the program: no one can write it, root included.
  std::filesystem::remove(folder.path("work"));
  const std::filesystem::path pictures = folder.path("home") / "Pictures";
  std::filesystem::create_directory(pictures);
  testing::internal::CaptureStderr();
  const std::string saved = save();
  EXPECT_EQ(saved, (pictures / "rotozoom-20261210-140509.png").string());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "screenshot: " + saved + "\n");
  EXPECT_TRUE(std::filesystem::is_regular_file(saved));

  // Neither can be written: nothing saved, and a line says why.
  std::filesystem::remove_all(folder.path("home"));
  testing::internal::CaptureStderr();
  EXPECT_EQ(save(), "");
  EXPECT_NE(testing::internal::GetCapturedStderr().find("screenshot: cannot write"),
            std::string::npos);
}

TEST_F(ScreenshotTest, PrintScreenWithNothingShownSavesNothingAndSaysSo) {
  compat::Screen& screen = compat::activeScreen();
  ASSERT_TRUE(screen.isAvailable());
  const auto pressPrintScreen = [&]() -> std::string {
    SDL_Event press{};
    press.type = SDL_KEYDOWN;
    press.key.windowID = 1;
    press.key.state = SDL_PRESSED;
    press.key.keysym.scancode = SDL_SCANCODE_PRINTSCREEN;
    press.key.keysym.sym = SDLK_PRINTSCREEN;
    EXPECT_EQ(SDL_PushEvent(&press), 1);
    testing::internal::CaptureStderr();
    std::vector<compat::InputEvent> events;
    screen.pollInput(events);
    return testing::internal::GetCapturedStderr();
  };
  // Before the first frame.
  screen.placeWindow({0, 0, 16, 16, true, "nothing shown"});
  EXPECT_EQ(pressPrintScreen(), "screenshot: not saved: nothing is shown\n");
  // A window wholly off the desktop that the frame stands for.
  screen.placeWindow({-100, -100, 16, 16, true, "off the desktop"});
  const compat::DesktopSize desktop = screen.desktopSize();
  const std::vector<std::uint8_t> desktopPixels(
      static_cast<std::size_t>(desktop.width) * desktop.height, 5);
  screen.presentFrame({desktopPixels.data(), desktop.width, desktop.height, desktop.width},
                      palette);
  EXPECT_EQ(pressPrintScreen(), "screenshot: not saved: nothing is shown\n");
  EXPECT_TRUE(std::filesystem::is_empty(folder.path("work")));
  EXPECT_TRUE(std::filesystem::is_empty(folder.path("home")));
}

TEST_F(ScreenshotTest, ThePicturesFolderFollowsTheUsersDirectories) {
  const auto makeFolder = [&](const std::string& name) {
    std::filesystem::create_directories(folder.path(name));
    return folder.path(name).string();
  };
  const std::string config = makeFolder("config");
  const std::string userDirs = config + "/user-dirs.dirs";
  const std::string bilder = makeFolder("home/Bilder");

  // Nothing set and no ~/Pictures: the home folder.
  EXPECT_EQ(sdl::picturesFolder(), home());
  // ~/Pictures when it exists.
  const std::string standard = makeFolder("home/Pictures");
  EXPECT_EQ(sdl::picturesFolder(), standard);
  // user-dirs.dirs in ~/.config, then in XDG_CONFIG_HOME, which takes its place.
  makeFolder("home/.config");
  std::ofstream(home() + "/.config/user-dirs.dirs") << "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n";
  EXPECT_EQ(sdl::picturesFolder(), bilder);
  const std::string elsewhere = makeFolder("elsewhere");
  std::ofstream(userDirs) << "XDG_PICTURES_DIR=\"" << elsewhere << "\"\n";
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  EXPECT_EQ(sdl::picturesFolder(), elsewhere);
  // A folder it names that does not exist (removed, or on a disk not mounted) is passed over.
  std::ofstream(userDirs) << "XDG_PICTURES_DIR=\"" << home() << "/Removed\"\n";
  EXPECT_EQ(sdl::picturesFolder(), standard);
  std::ofstream(userDirs) << "XDG_PICTURES_DIR=\"" << elsewhere << "\"\n";
  EXPECT_EQ(sdl::picturesFolder(), elsewhere);
  // The environment's own value first; a folder that does not exist is passed over.
  setenv("XDG_PICTURES_DIR", bilder.c_str(), 1);
  EXPECT_EQ(sdl::picturesFolder(), bilder);
  setenv("XDG_PICTURES_DIR", (home() + "/missing").c_str(), 1);
  EXPECT_EQ(sdl::picturesFolder(), elsewhere);
  setenv("XDG_PICTURES_DIR", "relative", 1);
  EXPECT_EQ(sdl::picturesFolder(), elsewhere);
  // A named pipe as user-dirs.dirs is not read (it would block): as if there were none.
  std::filesystem::remove(userDirs);
  ASSERT_EQ(mkfifo(userDirs.c_str(), 0600), 0);
  EXPECT_EQ(sdl::picturesFolder(), standard);
}

TEST(SdlScreenshot, UserDirsGivesThePicturesFolderWrittenEitherWay) {
  const struct {
    const char* name;
    std::string text;
    std::optional<std::string> folder;
  } cases[] = {
      {"under home", "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n", "/home/u/Bilder"},
      {"home itself", "XDG_PICTURES_DIR=\"$HOME\"\n", "/home/u"},
      {"absolute", "XDG_PICTURES_DIR=\"/srv/pictures\"\n", "/srv/pictures"},
      {"among the others",
       "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
       "XDG_PICTURES_DIR=\"$HOME/Images\"\nXDG_VIDEOS_DIR=\"$HOME/Videos\"\n",
       "/home/u/Images"},
      {"escaped quote", "XDG_PICTURES_DIR=\"$HOME/My \\\"Pics\\\"\"\n", "/home/u/My \"Pics\""},
      {"the last one counts", "XDG_PICTURES_DIR=\"$HOME/a\"\nXDG_PICTURES_DIR=\"$HOME/b\"\n",
       "/home/u/b"},
      {"commented out", "# XDG_PICTURES_DIR=\"$HOME/Bilder\"\n", std::nullopt},
      {"relative", "XDG_PICTURES_DIR=\"Bilder\"\n", std::nullopt},
      {"another variable's name", "XDG_PICTURES_DIRS=\"/srv\"\n", std::nullopt},
      {"not $HOME", "XDG_PICTURES_DIR=\"$HOMEWORK/x\"\n", std::nullopt},
      {"empty", "", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(sdl::picturesFolderIn(c.text, "/home/u"), c.folder);
  }
}
