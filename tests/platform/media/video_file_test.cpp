// Video files as players read them back: the lossless video decodes to exactly the palette's
// colours, the MP4 plays at 60 frames a second in a profile browsers play, each picture pixel a
// 4 x 4 block, with its index at the front; new files only, never through a link; a failed or
// abandoned video leaves no file behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "platform/media/video_colours.h"
#include "platform/media/video_file.h"
#include "tests/platform/media/file_size_limit.h"
#include "tests/platform/media/video_decoding.h"
#include "tests/support/bmp_files.h"

namespace {

constexpr int width = 16;
constexpr int height = 12;
constexpr int pitch = 20;

// Frame n: pixel (x, y) has index (x + 3y + 5n) mod 256 through a palette that shifts with n,
// so that every frame and every pixel differs from its neighbours.
struct Clip {
  explicit Clip(int count) {
    for (int n = 0; n < count; ++n) {
      std::vector<std::uint8_t> pixels(pitch * height, 0);
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
          pixels[y * pitch + x] = static_cast<std::uint8_t>(x + 3 * y + 5 * n);
      compat::Palette palette{};
      for (int i = 0; i < 256; ++i)
        palette[i] = {static_cast<std::uint8_t>(i * 7 + n), static_cast<std::uint8_t>(255 - i),
                      static_cast<std::uint8_t>(i * 3 + 40 * (i & 1)), 0};
      frames.push_back(std::move(pixels));
      palettes.push_back(palette);
    }
  }
  compat::IndexedFrame frame(int n) const { return {frames[n].data(), width, height, pitch}; }
  const compat::PaletteColour& colourAt(int n, int x, int y) const {
    return palettes[n][frames[n][y * pitch + x]];
  }
  std::vector<std::vector<std::uint8_t>> frames;
  std::vector<compat::Palette> palettes;
};

// Writes the clip's frames into a new video; an empty string when all went well.
std::string writeClip(const std::string& path, video::Format format, const Clip& clip,
                      video::Pace pace = video::Pace::Offline) {
  std::string error;
  auto writer = video::Writer::create(path, format, {width, height}, pace, error);
  if (writer == nullptr) return "create: " + error;
  for (std::size_t n = 0; n < clip.frames.size(); ++n)
    if (!writer->addFrame(clip.frame(n), clip.palettes[n], error)) return "frame: " + error;
  if (!writer->finish(error)) return "finish: " + error;
  return {};
}

void expectSixtyAFrameEach(const video_test::DecodedVideo& decoded, std::size_t count) {
  EXPECT_EQ(decoded.frameRateNumerator, 60);
  EXPECT_EQ(decoded.frameRateDenominator, 1);
  ASSERT_EQ(decoded.frameTimes.size(), count);
  for (std::size_t n = 0; n < count; ++n)
    EXPECT_NEAR(decoded.frameTimes[n], static_cast<double>(n), 0.1) << "frame " << n;
}

TEST(VideoFile, LosslessFramesDecodeToExactlyTheirColours) {
  support::TemporaryFolder folder;
  const std::string path = folder.path("clip.mkv").string();
  const Clip clip(5);
  ASSERT_EQ(writeClip(path, video::Format::Lossless, clip), "");

  const video_test::DecodedVideo decoded = video_test::decodeVideo(path);
  ASSERT_EQ(decoded.problem, "");
  EXPECT_EQ(decoded.container, "matroska,webm");
  EXPECT_EQ(decoded.codec, "ffv1");
  EXPECT_EQ(decoded.width, width);
  EXPECT_EQ(decoded.height, height);
  ASSERT_EQ(decoded.pixelFormat, "bgr0");
  expectSixtyAFrameEach(decoded, clip.frames.size());
  int wrong = 0;
  for (std::size_t n = 0; n < decoded.frames.size(); ++n)
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const std::uint8_t* pixel = &decoded.frames[n][0][(y * width + x) * 4];
        const compat::PaletteColour& colour = clip.colourAt(n, x, y);
        wrong += pixel[0] != colour.blue || pixel[1] != colour.green || pixel[2] != colour.red;
      }
  EXPECT_EQ(wrong, 0);
}

TEST(VideoFile, Mp4PlaysAtSixtyWithEachPicturePixelAFourByFourBlock) {
  const struct {
    video::Pace pace;
    const char* name;
    const char* profile;  // what libx264 chooses for the settings, within High
  } paces[] = {{video::Pace::Offline, "offline", "High"},
               {video::Pace::RealTime, "real time", "Main"}};
  for (const auto& row : paces) {
    SCOPED_TRACE(row.name);
    support::TemporaryFolder folder;
    const std::string path = folder.path("clip.mp4").string();
    const Clip clip(30);
    ASSERT_EQ(writeClip(path, video::Format::Mp4, clip, row.pace), "");

    // The index before the pictures, so that a browser can start before the whole file is in.
    const std::vector<std::string> boxes = video_test::mp4Boxes(path);
    const auto at = [&](const char* box) { return std::find(boxes.begin(), boxes.end(), box); };
    ASSERT_NE(at("moov"), boxes.end());
    ASSERT_NE(at("mdat"), boxes.end());
    EXPECT_LT(at("moov"), at("mdat"));

    const video_test::DecodedVideo decoded = video_test::decodeVideo(path);
    ASSERT_EQ(decoded.problem, "");
    EXPECT_EQ(decoded.codec, "h264");
    EXPECT_EQ(decoded.profile, row.profile);
    EXPECT_EQ(decoded.width, width * 4);
    EXPECT_EQ(decoded.height, height * 4);
    ASSERT_EQ(decoded.pixelFormat, "yuv420p");
    EXPECT_EQ(decoded.colourSpace, "bt709");
    EXPECT_EQ(decoded.colourRange, "tv");
    expectSixtyAFrameEach(decoded, clip.frames.size());

    // Each block's samples near its picture pixel's colour (the codec is lossy): a sample
    // taken from a neighbouring pixel, or blended with one, is far off in these colours.
    const int videoWidth = width * 4;
    double totalError = 0;
    int samples = 0, farOff = 0;
    for (std::size_t n = 0; n < decoded.frames.size(); ++n)
      for (int y = 0; y < height * 4; ++y)
        for (int x = 0; x < videoWidth; ++x) {
          const compat::PaletteColour& c = clip.colourAt(n, x / 4, y / 4);
          const video::StudioColour expected = video::studioColourOf(c.red, c.green, c.blue);
          const auto& planes = decoded.frames[n];
          const int chroma = (y / 2) * (videoWidth / 2) + x / 2;
          for (int error : {planes[0][y * videoWidth + x] - expected.luma,
                            planes[1][chroma] - expected.blue, planes[2][chroma] - expected.red}) {
            totalError += std::abs(error);
            farOff += std::abs(error) > 24;
            ++samples;
          }
        }
    EXPECT_LT(totalError / samples, 3.0);
    EXPECT_LT(farOff, samples / 200);
  }
}

TEST(VideoFile, FormatsFollowTheExtensionAndSizesTheFactor) {
  const struct {
    const char* name;
    std::optional<video::Format> format;
  } names[] = {{"clip.mp4", video::Format::Mp4},     {"CLIP.MP4", video::Format::Mp4},
               {"a/b.mkv", video::Format::Lossless}, {"clip.Mkv", video::Format::Lossless},
               {"clip.webm", std::nullopt},          {"clip.mp4.part", std::nullopt},
               {"folder.mp4/clip", std::nullopt},    {"clip", std::nullopt}};
  for (const auto& row : names) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(video::formatFor(row.name), row.format);
  }
  const struct {
    video::Format format;
    video::Size picture, expected;
  } sizes[] = {{video::Format::Mp4, {320, 240}, {1280, 960}},
               {video::Format::Mp4, {480, 360}, {1920, 1440}},
               {video::Format::Mp4, {640, 480}, {1280, 960}},
               {video::Format::Mp4, {481, 200}, {962, 400}},
               {video::Format::Lossless, {320, 240}, {320, 240}}};
  for (const auto& row : sizes) {
    SCOPED_TRACE(testing::Message() << row.picture.width << " x " << row.picture.height);
    const video::Size size = video::videoSize(row.format, row.picture);
    EXPECT_EQ(size.width, row.expected.width);
    EXPECT_EQ(size.height, row.expected.height);
  }
}

TEST(VideoFile, AFrameOfAnotherSizeIsRefusedAndTheVideoStillEnds) {
  support::TemporaryFolder folder;
  const std::string path = folder.path("clip.mkv").string();
  const Clip clip(2);
  std::string error;
  auto writer = video::Writer::create(path, video::Format::Lossless, {width, height},
                                      video::Pace::Offline, error);
  ASSERT_NE(writer, nullptr) << error;
  ASSERT_TRUE(writer->addFrame(clip.frame(0), clip.palettes[0], error)) << error;
  const compat::IndexedFrame smaller{clip.frames[1].data(), width - 2, height, pitch};
  EXPECT_FALSE(writer->addFrame(smaller, clip.palettes[1], error));
  EXPECT_NE(error.find("changed size from 16 x 12 to 14 x 12"), std::string::npos) << error;
  ASSERT_TRUE(writer->finish(error)) << error;
  EXPECT_EQ(video_test::decodeVideo(path).frames.size(), 1u);
}

TEST(VideoFile, OnlyNewFilesAreMadeNeverThroughALink) {
  support::TemporaryFolder folder;
  const std::string elsewhere = folder.path("elsewhere.mp4").string();
  std::ofstream(folder.path("older.mp4")) << "older";
  std::filesystem::create_symlink(elsewhere, folder.path("link.mp4"));
  ASSERT_EQ(mkfifo(folder.path("pipe.mp4").c_str(), 0644), 0);
  std::filesystem::create_directory(folder.path("folder.mp4"));
  const struct {
    const char* name;
    const char* reason;
  } rows[] = {{"older.mp4", "the file exists; not replaced"},
              {"link.mp4", "a symbolic link is in the way; not followed"},
              {"pipe.mp4", "something that is not a file is in the way"},
              {"folder.mp4", "something that is not a file is in the way"},
              {"missing/clip.mp4", "No such file or directory"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::string error;
    const auto writer = video::Writer::create(folder.path(row.name).string(), video::Format::Mp4,
                                              {width, height}, video::Pace::Offline, error);
    EXPECT_EQ(writer, nullptr);
    EXPECT_EQ(error, row.reason);
  }
  std::ifstream older(folder.path("older.mp4"));
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(older), {}), "older");
  EXPECT_FALSE(std::filesystem::exists(elsewhere));
  EXPECT_TRUE(std::filesystem::is_symlink(folder.path("link.mp4")));
}

TEST(VideoFile, AFullDiskGivesItsReasonAndLeavesNoFile) {
  // The file stops growing at 4 KB, as on a full disk, within the first frames of either
  // video; the writer removes it.
  for (video::Format format : {video::Format::Mp4, video::Format::Lossless}) {
    SCOPED_TRACE(format == video::Format::Mp4 ? "mp4" : "lossless");
    support::TemporaryFolder folder;
    const std::string path = folder.path("clip").string();
    const video_test::FileSizeLimit limit(4096);
    std::string error;
    auto writer =
        video::Writer::create(path, format, {width, height}, video::Pace::RealTime, error);
    bool written = writer != nullptr;
    const Clip clip(40);
    for (std::size_t n = 0; written && n < clip.frames.size(); ++n)
      written = writer->addFrame(clip.frame(n), clip.palettes[n], error);
    if (written) written = writer->finish(error);
    EXPECT_FALSE(written);
    EXPECT_EQ(error, "File too large");
    // Finished after all, the video answers with the same reason, and the file is gone.
    std::string again;
    EXPECT_FALSE(writer->finish(again));
    EXPECT_NE(again, "");
    EXPECT_FALSE(std::filesystem::exists(path));
    writer.reset();
    EXPECT_FALSE(std::filesystem::exists(path));
  }
}

TEST(VideoFile, AnAbandonedVideoLeavesNoFile) {
  support::TemporaryFolder folder;
  const std::string path = folder.path("clip.mp4").string();
  const Clip clip(3);
  std::string error;
  auto writer =
      video::Writer::create(path, video::Format::Mp4, {width, height}, video::Pace::Offline, error);
  ASSERT_NE(writer, nullptr) << error;
  ASSERT_TRUE(writer->addFrame(clip.frame(0), clip.palettes[0], error)) << error;
  EXPECT_TRUE(std::filesystem::exists(path));
  writer.reset();
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace

TEST(VideoFile, FramesWithoutPixelsOrWithRowsLongerThanTheirPitchAreRefused) {
  // Refused as a frame of another size is: nothing read, and the video still ends.
  support::TemporaryFolder folder;
  const std::string path = folder.path("clip.mp4").string();
  const Clip clip(2);
  std::string error;
  auto writer =
      video::Writer::create(path, video::Format::Mp4, {width, height}, video::Pace::Offline, error);
  ASSERT_NE(writer, nullptr) << error;
  ASSERT_TRUE(writer->addFrame(clip.frame(0), clip.palettes[0], error)) << error;
  const struct {
    const char* name;
    compat::IndexedFrame frame;
  } rows[] = {{"no pixels", {nullptr, width, height, pitch}},
              {"pitch shorter than a row", {clip.frames[1].data(), width, height, width - 1}},
              {"negative pitch", {clip.frames[1].data(), width, height, -pitch}}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    error.clear();
    EXPECT_FALSE(writer->addFrame(row.frame, clip.palettes[1], error));
    EXPECT_NE(error, "");
  }
  ASSERT_TRUE(writer->finish(error)) << error;
  EXPECT_EQ(video_test::decodeVideo(path).frames.size(), 1u);
}

TEST(VideoFile, PicturesTooLargeForAVideoAreRefusedBeforeAnythingIsWritten) {
  const struct {
    video::Format format;
    video::Size picture;
  } rows[] = {{video::Format::Mp4, {1 << 30, 2}},
              {video::Format::Mp4, {2, 1 << 30}},
              {video::Format::Lossless, {1 << 30, 1 << 30}},
              {video::Format::Mp4, {-4, 8}}};
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.picture.width << " x " << row.picture.height);
    support::TemporaryFolder folder;
    const std::string path = folder.path("clip.mp4").string();
    std::string error;
    auto writer =
        video::Writer::create(path, row.format, row.picture, video::Pace::RealTime, error);
    EXPECT_EQ(writer, nullptr);
    EXPECT_NE(error, "");
    EXPECT_FALSE(std::filesystem::exists(path));
  }
}

TEST(VideoFile, AnAbandonedVideoRemovesOnlyItsOwnFile) {
  // While the video was written, its name came to lead elsewhere: the file moved away and
  // another put in its place, or its folder replaced by a link to another folder. The file
  // found there now is someone else's, and stays.
  const struct {
    const char* name;
    bool folderLinked;
  } rows[] = {{"another file in its place", false}, {"its folder now a link", true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    support::TemporaryFolder folder;
    std::filesystem::create_directory(folder.path("videos"));
    std::filesystem::create_directory(folder.path("other"));
    const std::string path = folder.path("videos/clip.mp4").string();
    const Clip clip(2);
    std::string error;
    auto writer = video::Writer::create(path, video::Format::Mp4, {width, height},
                                        video::Pace::Offline, error);
    ASSERT_NE(writer, nullptr) << error;
    ASSERT_TRUE(writer->addFrame(clip.frame(0), clip.palettes[0], error)) << error;
    if (row.folderLinked) {
      std::filesystem::rename(folder.path("videos"), folder.path("moved"));
      std::filesystem::create_directory_symlink(folder.path("other"), folder.path("videos"));
    } else {
      std::filesystem::rename(path, folder.path("moved.mp4"));
    }
    std::ofstream(path) << "someone else's";
    writer.reset();
    std::ifstream kept(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "someone else's");
  }
}
