// The user32 subset: classes, windows and their creation messages, the queue, message boxes.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "platform/compat/testing.h"
#include "platform/headless/headless_screen.h"
#include "platform/win32.h"

namespace {

struct Seen {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Seen> seen;

LRESULT WINAPI recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  seen.push_back({message, wParam, lParam});
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND makeWindow(const char* className, DWORD style = WS_POPUP) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = recordingProc;
  windowClass.lpszClassName = className;
  RegisterClassA(&windowClass);
  return CreateWindowExA(0, className, "w", style, CW_USEDEFAULT, CW_USEDEFAULT, 100, 80, nullptr,
                         nullptr, nullptr, nullptr);
}

std::vector<UINT> messagesSeen() {
  std::vector<UINT> messages;
  for (const Seen& s : seen) messages.push_back(s.message);
  return messages;
}

}  // namespace

TEST(User32, RegisteringATakenClassNameFails) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.lpszClassName = "taken";
  EXPECT_NE(RegisterClassA(&windowClass), 0);
  EXPECT_EQ(RegisterClassA(&windowClass), 0);
  windowClass.lpszClassName = "another";
  EXPECT_NE(RegisterClassA(&windowClass), 0);
  EXPECT_EQ(CreateWindowExA(0, "never registered", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                            nullptr, nullptr),
            nullptr);
}

TEST(User32, CreationMessagesReachTheProcedureBeforeCreateWindowReturns) {
  seen.clear();
  HWND window = makeWindow("creation");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(messagesSeen(), (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE}));
  // Default coordinates put a pop-up window at the desktop's corner.
  RECT rect;
  ASSERT_TRUE(GetWindowRect(window, &rect));
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right, 100);
  EXPECT_EQ(rect.bottom, 80);

  seen.clear();
  EXPECT_FALSE(ShowWindow(window, SW_SHOW));
  EXPECT_TRUE(compat::headlessScreen().lastPlacement().visible);
  EXPECT_EQ(messagesSeen(), (std::vector<UINT>{WM_SHOWWINDOW}));
  EXPECT_TRUE(ShowWindow(window, SW_SHOW));
}

TEST(User32, CloseDestroysTheWindowThroughTheDefaultProcedure) {
  HWND window = makeWindow("closing");
  seen.clear();
  EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);
  EXPECT_EQ(messagesSeen(), (std::vector<UINT>{WM_CLOSE, WM_DESTROY, WM_NCDESTROY}));
  RECT rect;
  EXPECT_FALSE(GetWindowRect(window, &rect));
  EXPECT_FALSE(ShowWindow(window, SW_SHOW));
  // Alt+F4 closes through the system menu's close command.
  HWND other = makeWindow("alt f4");
  seen.clear();
  SendMessageA(other, WM_SYSKEYDOWN, VK_F4, 0);
  EXPECT_EQ(messagesSeen(),
            (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY, WM_NCDESTROY}));
}

TEST(User32, QueueDeliversPostedMessagesInOrderAndTheQuitMessageLast) {
  HWND window = makeWindow("queue");
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
  PostMessageA(window, WM_KEYDOWN, 'X', 0);
  PostQuitMessage(3);
  PostMessageA(window, WM_KEYUP, 'X', 0);
  // Peeking without removing leaves the message first in line.
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, WM_KEYDOWN);
  ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), 1);
  EXPECT_EQ(msg.message, WM_KEYDOWN);
  seen.clear();
  EXPECT_TRUE(TranslateMessage(&msg));  // a character for the letter follows the key-up
  DispatchMessageA(&msg);
  EXPECT_EQ(messagesSeen(), (std::vector<UINT>{WM_KEYDOWN}));
  ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), 1);
  EXPECT_EQ(msg.message, WM_KEYUP);
  ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), 1);
  EXPECT_EQ(msg.message, WM_CHAR);
  EXPECT_EQ(msg.wParam, WPARAM{'x'});
  EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), 0);
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 3u);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST(User32, ScreenInputBecomesWindowMessages) {
  HWND window = makeWindow("input");
  ShowWindow(window, SW_SHOW);
  compat::HeadlessScreen& screen = compat::headlessScreen();
  using compat::InputKind;
  const struct {
    compat::InputEvent event;
    UINT message;
    WPARAM wParam;
    LPARAM lParamBits;  // bits 29 to 31: Alt held, was down, released
  } cases[] = {
      {{InputKind::KeyDown, 'A', false, false, 0, 0}, WM_KEYDOWN, 'A', 0},
      {{InputKind::KeyDown, 'A', true, false, 0, 0}, WM_KEYDOWN, 'A', 2},  // auto-repeat
      {{InputKind::KeyUp, 'A', false, false, 0, 0}, WM_KEYUP, 'A', 6},
      {{InputKind::KeyDown, 'A', false, true, 0, 0}, WM_SYSKEYDOWN, 'A', 1},
      {{InputKind::KeyUp, 'A', false, true, 0, 0}, WM_SYSKEYUP, 'A', 7},
      {{InputKind::KeyDown, VK_MENU, false, false, 0, 0}, WM_SYSKEYDOWN, VK_MENU, 0},
      {{InputKind::RightButtonDown, 0, false, false, 7, 9}, WM_RBUTTONDOWN, MK_RBUTTON, 0},
      {{InputKind::LeftButtonDown, 0, false, false, 7, 9}, WM_LBUTTONDOWN, MK_LBUTTON, 0},
      {{InputKind::CloseWindow, 0, false, false, 0, 0}, WM_CLOSE, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.message);
    screen.injectInput(c.event);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, window);
    EXPECT_EQ(msg.message, c.message);
    EXPECT_EQ(msg.wParam, c.wParam);
    if (c.message == WM_RBUTTONDOWN || c.message == WM_LBUTTONDOWN)
      EXPECT_EQ(msg.lParam, MAKELPARAM(7, 9));
    else
      EXPECT_EQ((msg.lParam >> 29) & 7, c.lParamBits);
  }

  // A move asks the window for its cursor first, synchronously, then posts the move.
  seen.clear();
  screen.injectInput({InputKind::MouseMove, 0, false, false, 3, 4});
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(messagesSeen(), (std::vector<UINT>{WM_SETCURSOR}));
  EXPECT_EQ(msg.message, WM_MOUSEMOVE);

  // The window moved on the desktop: its rectangle follows, and WM_MOVE is sent.
  seen.clear();
  screen.injectInput({InputKind::WindowMoved, 0, false, false, 50, 60});
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(messagesSeen(), (std::vector<UINT>{WM_MOVE}));
  RECT rect;
  ASSERT_TRUE(GetWindowRect(window, &rect));
  EXPECT_EQ(rect.left, 50);
  EXPECT_EQ(rect.bottom, 140);
}

// Right and bottom edges past what an int holds stop at its limit instead of wrapping round,
// and so does a far window moved by the screen.
TEST(User32, WindowEdgesFarOutStopAtTheLimitOfAnInt) {
  const int most = std::numeric_limits<int>::max();
  const int least = std::numeric_limits<int>::min();
  const struct {
    int x, y, width, height;
    RECT rect;
  } cases[] = {
      {most - 10, most - 20, 100, 200, {most - 10, most - 20, most, most}},
      {most, most, most, most, {most, most, most, most}},
      {-100, -50, most, most, {-100, -50, most - 100, most - 50}},
      {least + 1, least + 1, -1000, -1000, {least + 1, least + 1, least, least}},
      {10, 20, 30, 40, {10, 20, 40, 60}},
  };
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.lpszClassName = "far out";
  RegisterClassA(&windowClass);
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " " << c.width << "x" << c.height);
    HWND window = CreateWindowExA(0, "far out", "", WS_POPUP | WS_VISIBLE, c.x, c.y, c.width,
                                  c.height, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    RECT rect;
    ASSERT_TRUE(GetWindowRect(window, &rect));
    EXPECT_EQ(rect.left, c.rect.left);
    EXPECT_EQ(rect.top, c.rect.top);
    EXPECT_EQ(rect.right, c.rect.right);
    EXPECT_EQ(rect.bottom, c.rect.bottom);
    const compat::WindowPlacement& shown = compat::headlessScreen().lastPlacement();
    EXPECT_EQ(shown.width, std::int64_t{c.rect.right} - c.rect.left);
    EXPECT_EQ(shown.height, std::int64_t{c.rect.bottom} - c.rect.top);
    DestroyWindow(window);
  }

  // The widest window there is, moved right by the screen: its right edge stays at the limit.
  HWND wide = CreateWindowExA(0, "far out", "", WS_POPUP | WS_VISIBLE, 0, 0, most, most, nullptr,
                              nullptr, nullptr, nullptr);
  ASSERT_NE(wide, nullptr);
  compat::headlessScreen().injectInput({compat::InputKind::WindowMoved, 0, false, false, 100, 50});
  MSG msg;
  PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
  RECT rect;
  ASSERT_TRUE(GetWindowRect(wide, &rect));
  EXPECT_EQ(rect.left, 100);
  EXPECT_EQ(rect.top, 50);
  EXPECT_EQ(rect.right, most);
  EXPECT_EQ(rect.bottom, most);
  DestroyWindow(wide);
}

TEST(User32, MessageBoxWritesCaptionAndTextAsUtf8ToStandardError) {
  testing::internal::CaptureStderr();
  // "エラー" and "テスト" in code page 932.
  EXPECT_EQ(MessageBoxA(nullptr,
                        "\x83"
                        "e\x83X\x83g",
                        "\x83G\x83\x89\x81[", MB_OK),
            IDOK);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "エラー: テスト\n");
  const auto& boxes = compat::headlessScreen().messageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].captionUtf8, "エラー");
  EXPECT_EQ(boxes[0].textUtf8, "テスト");
}

TEST(User32, MetricsClockAndSmallCalls) {
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 640);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 480);
  EXPECT_EQ(GetSystemMetrics(SM_CXBORDER), 1);
  EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 19);
  RECT rect;
  EXPECT_TRUE(SetRect(&rect, 1, 2, 3, 4));
  EXPECT_EQ(rect.bottom, 4);
  EXPECT_NE(LoadCursorA(nullptr, IDC_ARROW), nullptr);
  EXPECT_NE(GetStockObject(BLACK_BRUSH), nullptr);
  EXPECT_NE(GetModuleHandleA(nullptr), nullptr);
  EXPECT_FALSE(GetWindowRect(nullptr, &rect));
  // The clock is an unsigned 32-bit count of milliseconds that moves on.
  const DWORD start = timeGetTime();
  DWORD now = start;
  while (now == start) now = timeGetTime();
  EXPECT_EQ(static_cast<DWORD>(now - start) < 1000u, true);
  compat::testing::setClock([] { return DWORD{0xFFFFFFFF}; });
  EXPECT_EQ(timeGetTime() + 1u, 0u);
  compat::testing::setClock(nullptr);
}
