// fatalExit and quit: teardown first, then the box, then status 1.
#include <cstdio>

#include "host/fatal_exit.h"
#include "host/texts.h"
#include "platform/headless/headless_screen.h"
#include "tests/support/engine_setup_fixture.h"

class FatalExitTest : public EngineSetupTest {};

TEST_F(FatalExitTest, ShowsTheMessageWithTheCaptionAfterTheDisplayIsGone) {
  EXPECT_EXIT(
      {
        setUpFullScreen();
        // What the screen holds while the box is up.
        compat::headlessScreen().setMessageBoxHook([] {
          std::fprintf(stderr, "[surfaces while the box shows: %d]",
                       compat::testing::liveObjects().surfaces);
        });
        std::snprintf(messageText, sizeof messageText, texts::fileNotFoundFormat, "texture.bmp");
        fatalExit(messageText);
      },
      testing::ExitedWithCode(1),
      "^エラーが発生したらしい\\(\\^\\^;: texture.bmp ファイルが見つかりません\n"
      "\\[surfaces while the box shows: 0\\]$");
}

TEST_F(FatalExitTest, QuitShowsNothing) {
  EXPECT_EXIT(
      {
        setUpWindowed();
        quit();
      },
      testing::ExitedWithCode(1), "^$");
}

TEST(FatalExit, WorksBeforeAnyWindowOrDisplayExists) {
  EXPECT_EXIT(fatalExit(texts::windowCreationFailed), testing::ExitedWithCode(1),
              "ウィンドウを作成出来ません。");
}
