// Alt+R on the SDL screen (dummy driver): in a program's exclusive mode it is the screen's own,
// never the program's, and records the pictures shown into a new rotozoom-DATE-TIME.mp4 in the
// current folder until pressed again, its mark shown and taken away at once even on a still
// picture; in a window of the desktop the program gets it as its own key, as it does every
// other Alt combination.
#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "platform/compat/screen.h"
#include "platform/screen_core/notice_font.h"
#include "tests/platform/media/video_decoding.h"
#include "tests/support/bmp_files.h"

namespace {

constexpr int width = 64, height = 48;

// Alt+R's press and release as SDL events, and what the program gets of them.
std::vector<compat::InputEvent> pressAltR(compat::Screen& screen) {
  SDL_Event event{};
  event.key.keysym.scancode = SDL_SCANCODE_R;
  event.key.keysym.sym = SDLK_r;
  event.key.keysym.mod = KMOD_LALT;
  for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    EXPECT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
  }
  std::vector<compat::InputEvent> events;
  screen.pollInput(events);
  return events;
}

// The white pixels the window shows: the notices' ink, over a picture that has none.
long inkShown() {
  for (Uint32 id = 1; id < 16; ++id) {
    SDL_Window* window = SDL_GetWindowFromID(id);
    SDL_Renderer* renderer = window != nullptr ? SDL_GetRenderer(window) : nullptr;
    if (renderer == nullptr) continue;
    int width = 0, height = 0;
    if (SDL_GetRendererOutputSize(renderer, &width, &height) != 0) return -1;
    std::vector<Uint32> pixels(static_cast<std::size_t>(width) * height, 0);
    if (SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(),
                             width * 4) != 0)
      return -1;
    return std::count_if(pixels.begin(), pixels.end(),
                         [](Uint32 pixel) { return (pixel & 0xFFFFFF) == 0xFFFFFF; });
  }
  return -1;
}

// The ink of the notice's text in the notice font, before the picture's scale.
long inkOf(const std::string& text) {
  const compat::NoticeImage notice = compat::renderNotice(text);
  return std::count_if(notice.alpha.begin(), notice.alpha.end(),
                       [](std::uint8_t alpha) { return alpha != 0; });
}

std::vector<std::filesystem::path> videosIn(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> videos;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.path().extension() == ".mp4") videos.push_back(entry.path());
  return videos;
}

// The current folder a temporary one, and the state and pictures folders inside it.
class RecordingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(folder.path(""));
    setenv("XDG_STATE_HOME", folder.path("state").c_str(), 1);
    setenv("HOME", folder.path("").c_str(), 1);
    ASSERT_TRUE(screen.isAvailable());
  }
  void TearDown() override { std::filesystem::current_path(previous_); }

  // Picture n: index n everywhere, through a palette where index n is red 6n.
  void present(int n) {
    std::vector<std::uint8_t> pixels(width * height, static_cast<std::uint8_t>(n));
    screen.presentFrame({pixels.data(), width, height, width}, palette());
  }
  static compat::Palette palette() {
    compat::Palette colours{};
    for (int i = 0; i < 256; ++i) colours[i] = {static_cast<std::uint8_t>(6 * i), 30, 200, 0};
    return colours;
  }
  static int lumaOf(int n) {
    const compat::PaletteColour c = palette()[n];
    return static_cast<int>(16 + 219 * (0.2126 * c.red + 0.7152 * c.green + 0.0722 * c.blue) / 255 +
                            0.5);
  }

  support::TemporaryFolder folder;
  compat::Screen& screen = compat::activeScreen();
  std::filesystem::path previous_;
};

TEST_F(RecordingTest, AltRInFullScreenRecordsTheShownPicturesAndTheProgramNeverSeesIt) {
  screen.placeWindow({0, 0, width, height, true, "recording"});
  screen.setExclusiveMode(true);
  present(10);
  testing::internal::CaptureStderr();
  // From before the key: on a busy machine its handling may take ticks the video counts.
  const auto started = std::chrono::steady_clock::now();
  EXPECT_TRUE(pressAltR(screen).empty()) << "the program got Alt+R";
  const std::vector<std::filesystem::path> videos = videosIn(folder.path(""));
  ASSERT_EQ(videos.size(), 1u);
  EXPECT_EQ(videos[0].filename().string().rfind("rotozoom-", 0), 0u) << videos[0];
  for (int n = 11; n <= 40; ++n) present(n);  // half a second at the display's 60 Hz
  EXPECT_TRUE(pressAltR(screen).empty()) << "the program got Alt+R";
  // On a busy machine flips come late, and the video, in real time, repeats pictures for them.
  const double recordedTicks =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count() * 60;
  // The file is finished on the encoder's thread; the screen says so with the next pictures.
  std::string lines;
  for (int n = 41; n < 400 && lines.find(" frames (") == std::string::npos; ++n) {
    present(40);
    if (n % 30 == 0) {
      lines += testing::internal::GetCapturedStderr();
      if (lines.find(" frames (") == std::string::npos) testing::internal::CaptureStderr();
    }
  }
  ASSERT_NE(lines.find(" frames ("), std::string::npos) << lines;
  EXPECT_NE(lines.find("recording: " + videos[0].filename().string() + " (Alt+R stops)"),
            std::string::npos)
      << lines;

  const video_test::DecodedVideo decoded = video_test::decodeVideo(videos[0].string());
  ASSERT_EQ(decoded.problem, "");
  EXPECT_EQ(decoded.width, width * 4);
  EXPECT_EQ(decoded.height, height * 4);
  // Pictures 10 to 40, one a tick, give 31 ticks, or 30 where picture 11 comes within the
  // starting picture's tick and takes its place; the ticks the keys took may add one at the
  // end, and late flips one each. (An encoder kept from running for over a second by a busy
  // machine leaves frames out, the one before held on over them: the ticks count them.) The
  // frames are the pictures in order: the luma rises with red (a level or two of the codec's
  // noise aside).
  ASSERT_FALSE(decoded.frames.empty());
  const double ticks = decoded.frameTimes.back() - decoded.frameTimes.front() + 1;
  ASSERT_GE(ticks, 30);
  EXPECT_LE(ticks, std::max(32.0, recordedTicks + 3));
  EXPECT_NEAR(decoded.frames.front()[0][0], (lumaOf(10) + lumaOf(11)) / 2, 2);
  EXPECT_NEAR(decoded.frames.back()[0][0], lumaOf(40), 2);
  for (std::size_t n = 1; n < decoded.frames.size(); ++n)
    EXPECT_GE(decoded.frames[n][0][0] + 2, decoded.frames[n - 1][0][0]) << "frame " << n;
}

TEST_F(RecordingTest, TheMarkShowsAndGoesAtOnceOnAStillPicture) {
  // A program that shows one picture and waits: Alt+R's mark and notice show without its next
  // frame, and Alt+R again takes the mark away at once. Green picture pixels, white ink.
  constexpr int pictureWidth = 320, pictureHeight = 240;
  screen.placeWindow({0, 0, pictureWidth, pictureHeight, true, "mark"});
  screen.setExclusiveMode(true);
  std::vector<std::uint8_t> pixels(pictureWidth * pictureHeight, 1);
  compat::Palette green{};
  green[1] = {0, 160, 0, 0};
  screen.presentFrame({pixels.data(), pictureWidth, pictureHeight, pictureWidth}, green);
  ASSERT_EQ(inkShown(), 0);
  // Still: no picture for well over two ticks before each key.
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  testing::internal::CaptureStderr();
  EXPECT_TRUE(pressAltR(screen).empty());
  const std::vector<std::filesystem::path> videos = videosIn(folder.path(""));
  ASSERT_EQ(videos.size(), 1u);
  const std::string name = videos[0].filename().string();
  // The ink of "recording NAME" over "REC", scaled as the picture is (each of its pixels a
  // whole square of the window's).
  const long started = inkShown();
  const long startedText = inkOf("recording " + name + "\nREC");
  ASSERT_GT(startedText, 0);
  const long scale = started / startedText;
  EXPECT_GE(scale, 1) << "nothing of the notice and mark is shown: " << started << " pixels";
  EXPECT_EQ(started, scale * startedText);

  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_TRUE(pressAltR(screen).empty());
  // The notice may still show (for three seconds) or have gone, or say the file is saved, but
  // without the mark under it.
  const long stopped = inkShown();
  testing::internal::GetCapturedStderr();
  EXPECT_NE(stopped, started) << "the mark stayed";
  EXPECT_TRUE(stopped == 0 || stopped == scale * inkOf("recording " + name) ||
              stopped == scale * inkOf("saved " + name))
      << stopped << " pixels of ink, " << scale * inkOf("recording " + name)
      << " for the notice alone";
}

TEST_F(RecordingTest, AltRInAWindowOfTheDesktopIsTheProgramsOwn) {
  screen.setExclusiveMode(false);
  screen.placeWindow({0, 0, width, height, true, "recording"});
  present(10);
  const std::vector<compat::InputEvent> events = pressAltR(screen);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, compat::InputKind::KeyDown);
  EXPECT_EQ(events[0].virtualKey, static_cast<std::uint32_t>('R'));
  EXPECT_TRUE(events[0].altHeld);
  EXPECT_EQ(events[1].kind, compat::InputKind::KeyUp);
  EXPECT_TRUE(videosIn(folder.path("")).empty());
}

}  // namespace

std::size_t entriesIn(const char* folder) {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
  return count;
}

// Every video in the folder plays to the end; their number.
std::size_t expectEveryVideoPlays(const std::filesystem::path& folder) {
  const std::vector<std::filesystem::path> videos = videosIn(folder);
  for (const auto& video : videos) {
    SCOPED_TRACE(video.string());
    const video_test::DecodedVideo decoded = video_test::decodeVideo(video.string());
    EXPECT_EQ(decoded.problem, "");
    EXPECT_GE(decoded.frames.size(), 1u);
  }
  return videos.size();
}

TEST_F(RecordingTest, ManyRecordingsInARowEachPlayAndLeaveNoThreadOrFileOpen) {
  // Alt+R pressed again and again, a picture or two between: each press starts or stops a
  // recording while the ones before are still being finished.
  screen.placeWindow({0, 0, width, height, true, "recording"});
  screen.setExclusiveMode(true);
  present(1);
  testing::internal::CaptureStderr();
  // The first recording starts the watcher of the signals that end the process, which stays.
  const std::size_t threadsBefore = entriesIn("/proc/self/task");
  EXPECT_TRUE(pressAltR(screen).empty());
  present(2);
  EXPECT_TRUE(pressAltR(screen).empty());
  for (int n = 0; n < 1000 && entriesIn("/proc/self/task") > threadsBefore + 1; ++n) {
    present(2);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::string lines = testing::internal::GetCapturedStderr();
  const std::size_t threads = entriesIn("/proc/self/task");
  const std::size_t files = entriesIn("/proc/self/fd");
  constexpr int presses = 24;  // an even number: the last stops
  testing::internal::CaptureStderr();
  for (int n = 0; n < presses; ++n) {
    EXPECT_TRUE(pressAltR(screen).empty());
    for (int picture = 0; picture <= n % 3; ++picture) present(2 + n);
  }
  for (int n = 0; n < 1000 && entriesIn("/proc/self/task") > threads; ++n) {
    present(100);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  lines += testing::internal::GetCapturedStderr();
  EXPECT_EQ(entriesIn("/proc/self/task"), threads);
  EXPECT_EQ(entriesIn("/proc/self/fd"), files);
  EXPECT_EQ(expectEveryVideoPlays(folder.path("")), 1 + presses / 2u) << lines;
}

TEST_F(RecordingTest, TheProgramEndingWhileRecordingsAreBeingFinishedFinishesThemAll) {
  // Several recordings stopped and still being finished, and one running, when the program
  // ends: each plays to its end afterwards.
  screen.placeWindow({0, 0, width, height, true, "recording"});
  screen.setExclusiveMode(true);
  constexpr int presses = 9;  // an odd number: the last is still recording
  EXPECT_EXIT(
      {
        present(1);
        for (int n = 0; n < presses; ++n) {
          pressAltR(screen);
          for (int picture = 0; picture < 5; ++picture) present(2 + n);
        }
        std::exit(1);
      },
      testing::ExitedWithCode(1), "");
  EXPECT_EQ(expectEveryVideoPlays(folder.path("")), (presses + 1) / 2u);
}

TEST_F(RecordingTest, ASignalThatEndsTheProgramFinishesTheRecordingFirst) {
  // The terminal closes (SIGHUP) while recording and the program goes on drawing: the video is
  // finished, and the program then ends as SIGHUP ends it.
  screen.placeWindow({0, 0, width, height, true, "recording"});
  screen.setExclusiveMode(true);
  EXPECT_EXIT(
      {
        present(1);
        pressAltR(screen);
        for (int n = 2; n < 20; ++n) present(n);
        raise(SIGHUP);
        for (int n = 0; n < 3000; ++n) present(20);  // 50 s: ended long before
        std::exit(3);
      },
      testing::KilledBySignal(SIGHUP), "recording: rotozoom-.*: [0-9]+ frames \\(");
  EXPECT_EQ(expectEveryVideoPlays(folder.path("")), 1u);
}

std::atomic<int> ownHandlerCalls{0};

TEST_F(RecordingTest, ASignalTheProgramIgnoresOrHandlesItselfLeavesItRunning) {
  // Started with nohup (SIGHUP ignored), or with its own handler for SIGQUIT: the signal while
  // recording changes nothing, and the program records on and ends as it means to.
  const struct {
    const char* name;
    int signal;
    void (*handler)(int);
    int calls;
  } cases[] = {
      {"nohup", SIGHUP, SIG_IGN, 0},
      {"the program's own handler", SIGQUIT, [](int) { ++ownHandlerCalls; }, 1},
  };
  screen.placeWindow({0, 0, width, height, true, "recording"});
  screen.setExclusiveMode(true);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (const auto& video : videosIn(folder.path(""))) std::filesystem::remove(video);
    EXPECT_EXIT(
        {
          std::signal(c.signal, c.handler);
          present(1);
          pressAltR(screen);
          for (int n = 2; n < 10; ++n) present(n);
          raise(c.signal);
          for (int n = 10; n < 20; ++n) present(n);
          pressAltR(screen);
          std::exit(ownHandlerCalls == c.calls ? 3 : 4);
        },
        testing::ExitedWithCode(3), "");
    EXPECT_EQ(expectEveryVideoPlays(folder.path("")), 1u);
  }
}

TEST_F(RecordingTest, ASignalAsTheRecordingsFileAppearsLeavesItFinished) {
  // SIGHUP the moment the first Alt+R's file is made, before its recording has begun: the
  // video is finished all the same, never left empty.
  screen.placeWindow({0, 0, width, height, true, "recording"});
  screen.setExclusiveMode(true);
  EXPECT_EXIT(
      {
        const int watch = inotify_init1(IN_CLOEXEC);
        if (watch < 0 || inotify_add_watch(watch, ".", IN_CREATE) < 0) std::exit(4);
        std::thread([watch] {
          alignas(inotify_event) char events[4096];
          for (;;) {
            const ssize_t got = read(watch, events, sizeof events);
            for (ssize_t at = 0; at < got;) {
              const auto* event = reinterpret_cast<const inotify_event*>(events + at);
              if (event->len > 0 && std::filesystem::path(event->name).extension() == ".mp4")
                kill(getpid(), SIGHUP);
              at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
            if (got <= 0) std::exit(5);
          }
        }).detach();
        present(1);
        pressAltR(screen);
        for (int n = 0; n < 3000; ++n) present(2);  // 50 s: ended long before
        std::exit(3);
      },
      testing::KilledBySignal(SIGHUP), "");
  EXPECT_EQ(expectEveryVideoPlays(folder.path("")), 1u);
}

TEST_F(RecordingTest, AltRWhileASignalFinishesTheRecordingStartsNoOther) {
  // SIGHUP while recording, with an encoder slowed to a second a frame, and Alt+R pressed while
  // the file is finished: the program's thread waits, and no recording starts in the moment
  // before the process ends, which would leave its file cut off.
  screen.placeWindow({0, 0, width, height, true, "recording"});
  screen.setExclusiveMode(true);
  EXPECT_EXIT(
      {
        setenv("ROTOZOOM_TEST_SLOW_ENCODER", "1000", 1);
        present(1);
        pressAltR(screen);
        for (int n = 2; n < 6; ++n) present(n);
        raise(SIGHUP);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        pressAltR(screen);
        for (int n = 0; n < 3000; ++n) present(7);  // 50 s: ended long before
        std::exit(3);
      },
      testing::KilledBySignal(SIGHUP), "");
  EXPECT_EQ(expectEveryVideoPlays(folder.path("")), 1u);
}

// How a process ended: by SIGTERM, or with status 0.
bool endedByTermOrNormally(int status) {
  return (WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) ||
         (WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_F(RecordingTest, ASignalWhileTheFileIsFinishedAtTheExitWaitsForIt) {
  // The program ends while recording on a machine too busy for the encoder (each frame takes
  // 2 s): the window goes at once, taking SDL's handling of SIGINT and SIGTERM with it, and the
  // file is finished after. A SIGTERM then (the session ending; Ctrl+C is the same) leaves the
  // video finished; the program ends by it, or on its own when it came too late to matter.
  screen.placeWindow({0, 0, width, height, true, "recording"});
  screen.setExclusiveMode(true);
  struct sigaction sdlTakes {};
  ASSERT_EQ(sigaction(SIGTERM, nullptr, &sdlTakes), 0);
  ASSERT_NE(sdlTakes.sa_handler, SIG_DFL) << "SDL has not taken SIGTERM";
  ASSERT_NE(sdlTakes.sa_handler, SIG_IGN) << "SIGTERM is ignored here";
  EXPECT_EXIT(
      {
        setenv("ROTOZOOM_TEST_SLOW_ENCODER", "2000", 1);
        present(1);
        pressAltR(screen);
        for (int n = 2; n < 6; ++n) present(n);
        std::thread([sdl = sdlTakes.sa_handler] {
          const auto handler = [] {
            struct sigaction now {};
            sigaction(SIGTERM, nullptr, &now);
            return now.sa_handler;
          };
          // The window is gone when SDL's handler is; the signal comes as soon as something
          // else has SIGTERM, or half a second later, well within the 2 s the file takes.
          while (handler() == sdl) std::this_thread::sleep_for(std::chrono::milliseconds(1));
          for (int wait = 0; wait < 500 && handler() == SIG_DFL; ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
          kill(getpid(), SIGTERM);
        }).detach();
        std::exit(0);
      },
      endedByTermOrNormally, "");
  EXPECT_EQ(expectEveryVideoPlays(folder.path("")), 1u);
}

TEST_F(RecordingTest, ARecordingThatEndsOnItsOwnSaysWhyAndNotThatItWasStopped) {
  // The program changes its display mode: the video ends before the first picture of the new
  // size, and the lines say so, with nothing of a stop the user never asked for.
  screen.placeWindow({0, 0, width, height, true, "recording"});
  screen.setExclusiveMode(true);
  present(10);
  testing::internal::CaptureStderr();
  EXPECT_TRUE(pressAltR(screen).empty());
  for (int n = 11; n <= 20; ++n) present(n);
  std::vector<std::uint8_t> wider(2 * width * height, 21);
  std::string lines;
  for (int n = 0; n < 300 && lines.find(" frames (") == std::string::npos; ++n) {
    screen.presentFrame({wider.data(), 2 * width, height, 2 * width}, palette());
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (n % 20 == 19) {
      lines += testing::internal::GetCapturedStderr();
      testing::internal::CaptureStderr();
    }
  }
  lines += testing::internal::GetCapturedStderr();
  EXPECT_NE(lines.find(": the picture changed size; the video ends before it\n"), std::string::npos)
      << lines;
  EXPECT_NE(lines.find(" frames ("), std::string::npos) << lines;
  EXPECT_EQ(lines.find("stopped"), std::string::npos) << lines;
  EXPECT_EQ(expectEveryVideoPlays(folder.path("")), 1u);
}
