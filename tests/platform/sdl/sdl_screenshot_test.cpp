// Print Screen's file: named by the date and time, never over an older one, an indexed PNG of
// the picture with its palette; a folder that cannot be written gets a line and nothing else.
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <vector>

#include "platform/sdl/sdl_screenshot.h"
#include "tests/support/bmp_files.h"

TEST(SdlScreenshot, NamesCarryTheTimeAndNeverTakeAnOldOnesPlace) {
  std::tm when{};
  when.tm_year = 2026 - 1900;
  when.tm_mon = 11;
  when.tm_mday = 10;
  when.tm_hour = 14;
  when.tm_min = 5;
  when.tm_sec = 9;
  when.tm_isdst = -1;
  const std::time_t time = std::mktime(&when);
  std::set<std::string> taken;
  const auto isTaken = [&taken](const std::string& name) { return taken.count(name) > 0; };
  EXPECT_EQ(sdl::screenshotName(time, isTaken), "rotozoom-20261210-140509.png");
  taken.insert("rotozoom-20261210-140509.png");
  EXPECT_EQ(sdl::screenshotName(time, isTaken), "rotozoom-20261210-140509-2.png");
  taken.insert("rotozoom-20261210-140509-2.png");
  EXPECT_EQ(sdl::screenshotName(time, isTaken), "rotozoom-20261210-140509-3.png");
}

TEST(SdlScreenshot, TheFileIsTheIndexedPictureWithItsPalette) {
  support::TemporaryFolder folder;
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(folder.path(""));
  std::vector<std::uint8_t> pixels(320 * 240);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 7);
  compat::Palette palette{};
  for (int i = 0; i < 256; ++i)
    palette[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), 7, 0};
  const std::string name = sdl::saveScreenshot({pixels.data(), 320, 240, 320}, palette);
  ASSERT_FALSE(name.empty());

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
    ASSERT_EQ(colours[i * 3], i);
    ASSERT_EQ(colours[i * 3 + 1], 255 - i);
  }

  // A second one in the same second does not replace the first.
  const std::string second = sdl::saveScreenshot({pixels.data(), 320, 240, 320}, palette);
  EXPECT_NE(second, name);
  EXPECT_TRUE(std::filesystem::exists(name));

  // A folder that cannot be written (even by root: it has been removed under the program).
  const std::filesystem::path gone = folder.path("gone");
  std::filesystem::create_directory(gone);
  std::filesystem::current_path(gone);
  std::filesystem::remove(gone);
  testing::internal::CaptureStderr();
  EXPECT_EQ(sdl::saveScreenshot({pixels.data(), 320, 240, 320}, palette), "");
  EXPECT_NE(testing::internal::GetCapturedStderr().find("screenshot: cannot write"),
            std::string::npos);
  std::filesystem::current_path(previous);
}
