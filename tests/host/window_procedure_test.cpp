// createMainWindow and mainWindowProc: the window, the key state, and the quit triggers.
#include <cstdio>
#include <cstdlib>

#include "host/message_pump.h"
#include "host/timed_waits.h"
#include "platform/headless/headless_screen.h"
#include "tests/support/engine_setup_fixture.h"

namespace {

LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return mainWindowProc(mainWindow, message, wParam, lParam);
}

// Reports at exit what a death test's child cannot report any other way.
void reportStateAtExit() {
  std::atexit([] {
    std::fprintf(stderr, "[escape %d any %d surfaces %d]", keyDown[VK_ESCAPE], anyKeyDown,
                 compat::testing::liveObjects().surfaces);
  });
}

}  // namespace

TEST(MainWindow, IsAPopUpSizedForTheClientAreaAtTheDesktopCorner) {
  // Windowed mode while the window is created: its WM_MOVE arrives before mainWindow is set.
  displayEngine.fullscreen = 0;
  windowOrigin = {9, 9};
  ASSERT_EQ(createMainWindow(GetModuleHandleA(nullptr), nullptr, SW_SHOW), 1);
  EXPECT_EQ(windowOrigin.x, 0);
  EXPECT_EQ(windowOrigin.y, 0);
  ASSERT_NE(mainWindow, nullptr);
  RECT rect;
  ASSERT_TRUE(GetWindowRect(mainWindow, &rect));
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right - rect.left, 2 * 1 + 324);
  EXPECT_EQ(rect.bottom - rect.top, 2 * 1 + 19 + 244);
  const compat::WindowPlacement& shown = compat::headlessScreen().lastPlacement();
  EXPECT_TRUE(shown.visible);
  EXPECT_EQ(shown.titleUtf8, "ぽこるん");
  // The class name is taken now: a second registration fails, unless a previous instance
  // is named, which skips it.
  EXPECT_EQ(createMainWindow(GetModuleHandleA(nullptr), nullptr, SW_SHOW), 0);
  EXPECT_EQ(createMainWindow(GetModuleHandleA(nullptr), GetModuleHandleA(nullptr), SW_SHOW), 1);
}

class WindowProcedureTest : public EngineSetupTest {};

TEST_F(WindowProcedureTest, KeysUpdateTheKeyStateTable) {
  const UINT down = WM_KEYDOWN, up = WM_KEYUP;
  const struct {
    UINT message;
    WPARAM key;
    uint8_t a, b, any;  // keyDown['A'], keyDown['B'], anyKeyDown afterwards
  } steps[] = {
      {down, 'A', 1, 0, 1},        {down, 'B', 1, 1, 1},
      {up, 'A', 0, 1, 0},    // B still held, yet nothing is "any key down"
      {down, 'B', 0, 1, 1},  // auto-repeat
      {down, 'B', 0, 1, 1},        {WM_SYSKEYDOWN, 'A', 0, 1, 1},  // system keys change nothing
      {WM_SYSKEYUP, 'B', 0, 1, 1}, {up, 'B', 0, 0, 0},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(testing::Message() << std::hex << step.message << " " << char(step.key));
    const LRESULT result = send(step.message, step.key);
    const bool handled = step.message == down || step.message == up;
    EXPECT_EQ(result, handled ? 1 : 0);
    EXPECT_EQ(keyDown['A'], step.a);
    EXPECT_EQ(keyDown['B'], step.b);
    EXPECT_EQ(anyKeyDown, step.any);
  }
}

TEST_F(WindowProcedureTest, ReleasingControlEnablesWaits) {
  send(WM_KEYDOWN, VK_CONTROL);
  waitEnabled = 0;
  EXPECT_EQ(send(WM_KEYUP, VK_CONTROL), 1);
  EXPECT_EQ(waitEnabled, 1);
  EXPECT_EQ(keyDown[VK_CONTROL], 0);
  EXPECT_EQ(anyKeyDown, 0);
  // Any other key-up leaves waitEnabled alone.
  waitEnabled = 0;
  send(WM_KEYUP, VK_SHIFT);
  EXPECT_EQ(waitEnabled, 0);
  waitEnabled = 1;
  // clearKeyStates forgets held keys but not anyKeyDown.
  send(WM_KEYDOWN, 'Q');
  clearKeyStates();
  EXPECT_EQ(keyDown['Q'], 0);
  EXPECT_EQ(anyKeyDown, 1);
}

TEST_F(WindowProcedureTest, CursorIsHiddenOverTheWindow) {
  SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  ASSERT_TRUE(compat::headlessScreen().cursorVisible());
  EXPECT_EQ(send(WM_SETCURSOR, reinterpret_cast<WPARAM>(mainWindow), MAKELPARAM(HTCLIENT, 0)), 1);
  EXPECT_FALSE(compat::headlessScreen().cursorVisible());
}

TEST_F(WindowProcedureTest, QuitTriggersEndTheProgramWithStatusOneAndNoBox) {
  const struct {
    const char* name;
    UINT message;
    WPARAM wParam;
  } triggers[] = {
      {"Escape", WM_KEYDOWN, VK_ESCAPE},
      {"Pause", WM_KEYDOWN, VK_PAUSE},
      {"right button", WM_RBUTTONDOWN, MK_RBUTTON},
      {"close", WM_CLOSE, 0},
  };
  for (const auto& trigger : triggers) {
    SCOPED_TRACE(trigger.name);
    // The key is never recorded, and the display is torn down on the way out.
    EXPECT_EXIT(
        {
          setUpFullScreen();
          reportStateAtExit();
          send(trigger.message, trigger.wParam);
        },
        testing::ExitedWithCode(1), "^\\[escape 0 any 0 surfaces 0\\]$");
  }
}

TEST_F(WindowProcedureTest, InputFromTheScreenReachesTheProcedureThroughTheQueue) {
  compat::HeadlessScreen& screen = compat::headlessScreen();
  screen.injectInput({compat::InputKind::KeyDown, 'A', false, false, 0, 0});
  screen.injectInput({compat::InputKind::KeyDown, VK_F5, false, false, 0, 0});
  screen.injectInput({compat::InputKind::KeyUp, VK_F5, false, false, 0, 0});
  ASSERT_EQ(pumpMessages(), 1);
  EXPECT_EQ(keyDown['A'], 1);
  EXPECT_EQ(keyDown[VK_F5], 0);
  EXPECT_EQ(anyKeyDown, 0);
  // With Alt held a key is a system key and the procedure leaves it alone.
  screen.injectInput({compat::InputKind::KeyDown, 'B', false, true, 0, 0});
  ASSERT_EQ(pumpMessages(), 1);
  EXPECT_EQ(keyDown['B'], 0);

  EXPECT_EXIT(
      {
        screen.injectInput({compat::InputKind::RightButtonDown, 0, false, false, 10, 10});
        pumpMessages();
      },
      testing::ExitedWithCode(1), "^$");
  EXPECT_EXIT(
      {
        screen.injectInput({compat::InputKind::CloseWindow, 0, false, false, 0, 0});
        pumpMessages();
      },
      testing::ExitedWithCode(1), "^$");
}

TEST_F(WindowProcedureTest, DestroyPostsTheQuitMessageThatEndsTheWaitWithoutTeardown) {
  EXPECT_EQ(send(WM_DESTROY), 1);
  EXPECT_EQ(pumpMessages(), 0);
  EXPECT_EQ(pumpMessages(), 1);  // taken once

  EXPECT_EXIT(
      {
        setUpFullScreen();
        reportStateAtExit();
        send(WM_DESTROY);
        waitSinceFrameStart(0);
      },
      testing::ExitedWithCode(1), "^\\[escape 0 any 0 surfaces 6\\]$");
}
