// Recording in real time, on a clock the test moves: each tick of the video is the picture
// shown then, a tick without one repeats the last, the later of two pictures on one tick wins,
// pictures paced at 60 Hz keep a tick each whatever their phase, the last picture is in the
// video however soon the stop follows it; a full queue drops pictures without waiting and
// counts them; an encoder more than a second behind leaves ticks out (the frame before held on
// over them) and finishes a stop within about a second; a full disk or a change of size ends
// the recording, with a line, keeping the file only when it plays.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "platform/media/video_recorder.h"
#include "tests/platform/media/file_size_limit.h"
#include "tests/platform/media/video_decoding.h"
#include "tests/support/bmp_files.h"

namespace {

constexpr int width = 16;
constexpr int height = 12;
constexpr std::int64_t tick = video::Recorder::tickNs;

// Picture n is all index n, and index n is red n in every palette: a decoded frame's red
// says which picture it is.
struct Pictures {
  Pictures() {
    for (int i = 0; i < 256; ++i) palette[i] = {static_cast<std::uint8_t>(i), 40, 90, 0};
  }
  compat::IndexedFrame picture(int n, int pictureWidth = width) {
    pixels.assign(pictureWidth * height, static_cast<std::uint8_t>(n));
    return {pixels.data(), pictureWidth, height, pictureWidth};
  }
  std::vector<std::uint8_t> pixels;
  compat::Palette palette{};
};

// Which picture a lossless video shows at each 60th of a second, as a player holds each
// frame until the next one's time (bgr0: red is byte 2); the last frame for one tick.
std::vector<int> picturesIn(const std::string& path) {
  const video_test::DecodedVideo decoded = video_test::decodeVideo(path);
  EXPECT_EQ(decoded.problem, "");
  std::vector<int> shown;
  for (std::size_t n = 0; n < decoded.frames.size(); ++n) {
    const long ticks = n + 1 < decoded.frames.size()
                           ? std::lround(decoded.frameTimes[n + 1] - decoded.frameTimes[n])
                           : 1;
    EXPECT_GE(ticks, 1) << "frame " << n;
    shown.insert(shown.end(), static_cast<std::size_t>(std::max(ticks, 1L)),
                 decoded.frames[n][0][2]);
  }
  return shown;
}

class RecorderTest : public ::testing::Test {
 protected:
  std::unique_ptr<video::Recorder> startRecording(int firstPicture, std::size_t queueLength = 16) {
    std::string error;
    const int descriptor = video::createVideoFile(path, error);
    EXPECT_GE(descriptor, 0) << error;
    return std::make_unique<video::Recorder>(
        descriptor, path, video::Format::Lossless, pictures.picture(firstPicture), pictures.palette,
        [this] { return now.load(); }, queueLength);
  }

  support::TemporaryFolder folder;
  const std::string path = folder.path("recording.mkv").string();
  std::atomic<std::int64_t> now{1'000'000'000};  // any epoch
  Pictures pictures;
};

TEST_F(RecorderTest, EachTickIsThePictureShownThenAndGapsRepeatTheLast) {
  const std::int64_t start = now.load();
  auto recorder = startRecording(10);
  const struct {
    double atTick;
    int picture;
  } shown[] = {{1.0, 11},
               {1.9, 12},
               {2.3, 13},  // 12 and 13 fall on tick 2: 13 wins
               {5.1, 14},  // ticks 3 and 4 repeat 13
               {6.4, 15}};
  for (const auto& row : shown) {
    now = start + static_cast<std::int64_t>(row.atTick * tick);
    recorder->offer(pictures.picture(row.picture), pictures.palette);
  }
  now = start + 9 * tick;  // stopped at tick 9: ticks 7 and 8 repeat 15
  testing::internal::CaptureStderr();
  const video::Recorder::Summary summary = recorder->stop();
  const std::string line = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(summary.kept);
  EXPECT_EQ(summary.framesWritten, 9);
  EXPECT_EQ(summary.picturesDropped, 0);
  EXPECT_EQ(line, "recording: " + path + ": 9 frames (0.1 s), 0 pictures dropped\n");
  EXPECT_EQ(picturesIn(path), (std::vector<int>{10, 11, 13, 13, 13, 14, 15, 15, 15}));
}

TEST_F(RecorderTest, PicturesPacedAt60KeepATickEachThoughTheyComeHalfATickOffAndJitter) {
  // The program's flips come 0.45 tick after a tick of the start and then every tick, a tenth
  // of a tick early or late by turns: rounded from the start, every other one would share a
  // tick with the next and leave the tick before it to a repeat.
  const std::int64_t start = now.load();
  auto recorder = startRecording(0);
  for (int n = 1; n <= 10; ++n) {
    const double late = n == 1 ? 0 : (n % 2 == 0 ? 0.1 : -0.1);
    now = start + static_cast<std::int64_t>((0.45 + (n - 1) + late) * tick);
    recorder->offer(pictures.picture(n), pictures.palette);
  }
  now = start + static_cast<std::int64_t>(10.45 * tick);
  testing::internal::CaptureStderr();
  const video::Recorder::Summary summary = recorder->stop();
  testing::internal::GetCapturedStderr();
  EXPECT_TRUE(summary.kept);
  // The first flip comes within the starting picture's tick and takes its place.
  EXPECT_EQ(picturesIn(path), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST_F(RecorderTest, AFullQueueDropsPicturesWithoutWaitingAndCountsThem) {
  // Each picture comes 500 ticks after the last, so the encoder writes 500 frames for each
  // while the pictures keep coming: a queue of two fills up.
  const std::int64_t start = now.load();
  auto recorder = startRecording(0, 2);
  constexpr int offered = 12;
  std::chrono::nanoseconds slowest{0};
  for (int n = 1; n <= offered; ++n) {
    now = start + n * 500 * tick;
    const auto before = std::chrono::steady_clock::now();
    recorder->offer(pictures.picture(n), pictures.palette);
    slowest = std::max(slowest, std::chrono::steady_clock::now() - before);
  }
  EXPECT_LT(slowest, std::chrono::milliseconds(5));
  now = start + (offered * 500 + 1) * tick;
  testing::internal::CaptureStderr();
  const video::Recorder::Summary summary = recorder->stop();
  testing::internal::GetCapturedStderr();
  ASSERT_TRUE(summary.kept);
  EXPECT_GT(summary.picturesDropped, 0);
  const std::vector<int> shown = picturesIn(path);
  EXPECT_EQ(static_cast<long>(shown.size()), summary.ticks);
  EXPECT_EQ(summary.ticks, offered * 500 + 1);  // a dropped picture's ticks repeat
  std::vector<int> distinct(shown.begin(), shown.end());
  distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
  EXPECT_EQ(static_cast<long>(distinct.size()), 1 + offered - summary.picturesDropped);
}

TEST_F(RecorderTest, AStopAsksWithoutWaitingAndTheEncoderFarBehindLeavesTicksOut) {
  // 3,000 ticks to write when the stop comes, on the last picture's tick: the encoder writes
  // the first, the last second's and the last, and holds the first frame over the rest; the
  // video still runs 3,001 ticks.
  const std::int64_t start = now.load();
  auto recorder = startRecording(30);
  now = start + 3000 * tick;
  recorder->offer(pictures.picture(31), pictures.palette);
  testing::internal::CaptureStderr();
  const auto before = std::chrono::steady_clock::now();
  recorder->requestStop();
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(5));
  recorder->offer(pictures.picture(32), pictures.palette);  // after the stop: not recorded
  for (int wait = 0; wait < 1000 && !recorder->done(); ++wait)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(recorder->done());
  const video::Recorder::Summary summary = recorder->stop();
  const std::string lines = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(summary.kept);
  EXPECT_EQ(summary.ticks, 3001);
  EXPECT_EQ(summary.framesWritten, 1 + video::Recorder::mostTicksBehind + 1);  // 62
  EXPECT_EQ(summary.ticksLeftOut, summary.ticks - summary.framesWritten);
  EXPECT_EQ(summary.picturesDropped, 0);
  EXPECT_EQ(lines, "recording: " + path +
                       ": the encoder fell over a second behind (a busy machine); leaving frames "
                       "out to keep up\nrecording: " +
                       path + ": 62 frames (50.0 s), 0 pictures dropped, 2939 frames left out " +
                       "(the encoder fell behind)\n");
  std::vector<int> expected(3000, 30);
  expected.push_back(31);
  EXPECT_EQ(picturesIn(path), expected);
  EXPECT_EQ(static_cast<long>(video_test::decodeVideo(path).frames.size()), summary.framesWritten);
}

TEST_F(RecorderTest, TheLastPictureIsInTheVideoHoweverSoonTheStopFollowsIt) {
  // The stop on the tick of the last picture shown, or with nothing shown since the start.
  const struct {
    const char* name;
    std::vector<double> shownAt;  // the ticks pictures 11, 12, ... come on
    double stopAt;
    std::vector<int> video;
  } cases[] = {
      {"at once", {}, 0.0, {10}},
      {"at once, within the starting tick", {}, 0.4, {10}},
      {"on the last picture's tick", {1, 2, 3}, 3.0, {10, 11, 12, 13}},
      {"within the last picture's tick", {1, 2.2}, 2.4, {10, 11, 12}},
      {"a picture on the starting tick, stopped then", {0.1}, 0.2, {11}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(path);
    const std::int64_t start = now.load();
    auto recorder = startRecording(10);
    int picture = 11;
    for (const double at : c.shownAt) {
      now = start + static_cast<std::int64_t>(at * tick);
      recorder->offer(pictures.picture(picture++), pictures.palette);
    }
    now = start + static_cast<std::int64_t>(c.stopAt * tick);
    testing::internal::CaptureStderr();
    const video::Recorder::Summary summary = recorder->stop();
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(summary.kept);
    EXPECT_EQ(summary.framesWritten, static_cast<long>(c.video.size()));
    EXPECT_EQ(picturesIn(path), c.video);
  }
}

TEST_F(RecorderTest, ASlowEncoderStaysWithinASecondOfTheClockAndFinishesAStopWithinOne) {
  // On the real clock, pictures at 60 Hz for three seconds to an encoder that takes 100 ms a
  // frame, six times too slow: writing every tick would leave it 2.5 s behind at the stop, and
  // 15 s of writing to finish. It leaves ticks out instead, and says so.
  std::string error;
  const int descriptor = video::createVideoFile(path, error);
  ASSERT_GE(descriptor, 0) << error;
  const auto steadyNs = [] {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  };
  testing::internal::CaptureStderr();
  // The video's clock starts within the recorder's start, which a busy machine may stretch.
  const auto starting = std::chrono::steady_clock::now();
  video::Recorder recorder(descriptor, path, video::Format::Lossless, pictures.picture(0),
                           pictures.palette, steadyNs);
  recorder.slowDownForTests(std::chrono::milliseconds(100));
  const auto started = std::chrono::steady_clock::now();
  int last = 0;
  for (auto at = started; at - started < std::chrono::seconds(3);
       at += std::chrono::nanoseconds(video::Recorder::tickNs)) {
    std::this_thread::sleep_until(at);
    ++last;  // 180 pictures at the most
    recorder.offer(pictures.picture(last), pictures.palette);
  }
  const auto stopping = std::chrono::steady_clock::now();
  recorder.requestStop();
  const auto stopped = std::chrono::steady_clock::now();
  while (!recorder.done() && std::chrono::steady_clock::now() - stopping < std::chrono::seconds(20))
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  const double finishing =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - stopping).count();
  const video::Recorder::Summary summary = recorder.stop();
  const std::string lines = testing::internal::GetCapturedStderr();
  // A second of ticks at the most, at 100 ms each, catching up by 60 ms a tick: about 1.2 s,
  // and a busy machine's delays on top.
  EXPECT_LT(finishing, 4.0) << "the stop took " << finishing << " s to finish";
  ASSERT_TRUE(summary.kept) << lines;
  const auto ticksBetween = [](auto from, auto to) {
    return std::chrono::duration<double>(to - from).count() * 60;
  };
  EXPECT_GE(static_cast<double>(summary.ticks), ticksBetween(started, stopping) - 2);
  EXPECT_LE(static_cast<double>(summary.ticks), ticksBetween(starting, stopped) + 2);
  EXPECT_GT(summary.ticksLeftOut, summary.ticks / 2);
  EXPECT_EQ(summary.framesWritten + summary.ticksLeftOut, summary.ticks);
  EXPECT_NE(lines.find(": the encoder fell over a second behind (a busy machine); leaving "
                       "frames out to keep up\n"),
            std::string::npos)
      << lines;
  EXPECT_NE(lines.find(" frames left out (the encoder fell behind)\n"), std::string::npos) << lines;
  // The video runs in real time, its pictures in the order shown, to the last one.
  const std::vector<int> shown = picturesIn(path);
  EXPECT_EQ(static_cast<long>(shown.size()), summary.ticks);
  EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));
  EXPECT_EQ(shown.back(), last);
}

TEST_F(RecorderTest, APictureOfAnotherSizeEndsTheVideoBeforeIt) {
  // A wider picture, and one without pixels (a window wholly off the desktop it shows).
  for (const bool empty : {false, true}) {
    SCOPED_TRACE(empty ? "no pixels" : "wider");
    std::filesystem::remove(path);
    const std::int64_t start = now.load();
    auto recorder = startRecording(20);
    now = start + tick;
    recorder->offer(pictures.picture(21), pictures.palette);
    now = start + 2 * tick;
    testing::internal::CaptureStderr();
    const compat::IndexedFrame other =
        empty ? compat::IndexedFrame{nullptr, 0, height, 0} : pictures.picture(22, width + 4);
    recorder->offer(other, pictures.palette);
    for (int wait = 0; wait < 500 && !recorder->ended(); ++wait)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(recorder->ended());
    const video::Recorder::Summary summary = recorder->stop();
    const std::string lines = testing::internal::GetCapturedStderr();
    EXPECT_NE(lines.find("recording: " + path + ": the picture changed size; the video ends"),
              std::string::npos)
        << lines;
    EXPECT_TRUE(summary.kept);
    EXPECT_EQ(picturesIn(path), (std::vector<int>{20, 21}));
  }
}

TEST_F(RecorderTest, AFullDiskEndsTheRecordingAndLeavesNoFile) {
  // The file stops growing at 4 KB, as on a full disk; the recording's file is removed.
  const video_test::FileSizeLimit limit(4096);
  const std::int64_t start = now.load();
  testing::internal::CaptureStderr();
  auto recorder = startRecording(1);
  for (int n = 1; n < 200 && !recorder->ended(); ++n) {
    now = start + n * 10 * tick;
    recorder->offer(pictures.picture(n), pictures.palette);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  const video::Recorder::Summary summary = recorder->stop();
  const std::string lines = testing::internal::GetCapturedStderr();
  EXPECT_FALSE(summary.kept);
  // A busy machine may also leave the encoder a second behind the pictures, which it says
  // first; the full disk's line is the last, and the only other.
  const std::string behind = "recording: " + path +
                             ": the encoder fell over a second behind (a busy machine); "
                             "leaving frames out to keep up\n";
  const std::string full = "recording: " + path + ": stopped: File too large; nothing kept\n";
  EXPECT_TRUE(lines == full || lines == behind + full) << lines;
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace

// A picture of random indices through a palette of distinct colours: too much for the codec to
// squeeze, so that a single frame is well over the writer's buffer and reaches the file at once.
struct Noise {
  Noise(int noiseWidth, int noiseHeight) : width(noiseWidth), height(noiseHeight) {
    std::uint32_t state = 12345;
    pixels.resize(static_cast<std::size_t>(width) * height);
    for (std::uint8_t& pixel : pixels) {
      state = state * 1664525u + 1013904223u;
      pixel = static_cast<std::uint8_t>(state >> 24);
    }
    for (int i = 0; i < 256; ++i)
      palette[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i * 37),
                    static_cast<std::uint8_t>(i * 91), 0};
  }
  compat::IndexedFrame frame() const { return {pixels.data(), width, height, width}; }
  int width, height;
  std::vector<std::uint8_t> pixels;
  compat::Palette palette{};
};

TEST_F(RecorderTest, AWriteFailingAtTheChangeOfSizeGivesOneLineWithItsReason) {
  // The change of size writes the held picture's last tick, a frame larger than the limit:
  // that write fails, and the recording's one line and its ending give the reason.
  const video_test::FileSizeLimit limit(16 * 1024);
  std::string error;
  const int descriptor = video::createVideoFile(path, error);
  ASSERT_GE(descriptor, 0) << error;
  const Noise noise(320, 240);
  testing::internal::CaptureStderr();
  video::Recorder recorder(descriptor, path, video::Format::Mp4, noise.frame(), noise.palette,
                           [this] { return now.load(); });
  // The encoder gives out each frame's data with the next frame: the second tick's write is
  // the one that fails.
  now += tick;
  recorder.offer(noise.frame(), noise.palette);
  recorder.offer(pictures.picture(1), pictures.palette);  // 16 x 12, on the same tick
  for (int wait = 0; wait < 500 && !recorder.ended(); ++wait)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  const video::Recorder::Summary summary = recorder.stop();
  const std::string lines = testing::internal::GetCapturedStderr();
  EXPECT_FALSE(summary.kept);
  EXPECT_EQ(summary.ending, "File too large");
  EXPECT_EQ(lines, "recording: " + path + ": stopped: File too large; nothing kept\n");
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(RecorderTest, AStartingPictureWithoutPixelsRecordsNothing) {
  // A window wholly off its desktop shows no pixels, whatever its size: nothing to record, and
  // no file left.
  std::string error;
  const int descriptor = video::createVideoFile(path, error);
  ASSERT_GE(descriptor, 0) << error;
  testing::internal::CaptureStderr();
  video::Recorder recorder(descriptor, path, video::Format::Mp4,
                           compat::IndexedFrame{nullptr, width, height, width}, pictures.palette,
                           [this] { return now.load(); });
  now += 5 * tick;
  const video::Recorder::Summary summary = recorder.stop();
  const std::string lines = testing::internal::GetCapturedStderr();
  EXPECT_FALSE(summary.kept);
  EXPECT_EQ(lines, "recording: " + path + ": stopped: the picture has no size; nothing kept\n");
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(RecorderTest, PicturesAndStopsFromSeveralThreadsAtOnce) {
  // Two threads show pictures, then two stop the recording together: one of them waits for the
  // other's stop, and both get the same summary of a finished file.
  const std::int64_t start = now.load();
  auto recorder = startRecording(0);
  std::atomic<int> shown{0};
  const auto show = [&](int first) {
    Pictures own;
    for (int n = 0; n < 30; ++n) {
      now = start + (shown++ + 1) * tick;
      recorder->offer(own.picture(first + n % 2), own.palette);
    }
  };
  std::thread a(show, 1), b(show, 3);
  a.join();
  b.join();
  testing::internal::CaptureStderr();
  video::Recorder::Summary summaries[2];
  std::thread stopA([&] { summaries[0] = recorder->stop(); });
  std::thread stopB([&] { summaries[1] = recorder->stop(); });
  stopA.join();
  stopB.join();
  const std::string lines = testing::internal::GetCapturedStderr();
  for (const video::Recorder::Summary& summary : summaries) {
    EXPECT_TRUE(summary.kept);
    EXPECT_EQ(summary.framesWritten, summaries[0].framesWritten);
    EXPECT_EQ(summary.ticks, summaries[0].ticks);
  }
  EXPECT_GE(summaries[0].ticks, 60);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 1) << lines;
  EXPECT_EQ(static_cast<long>(picturesIn(path).size()), summaries[0].ticks);
}
