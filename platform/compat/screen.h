// The seam between the Win32 implementation (pure C++) and whatever shows its pictures.
// compat calls these when DirectDraw presents a frame, changes the visible palette or waits
// for the vertical blank, and when user32 needs input or shows a message box. One screen is
// linked into each program: the SDL one for real use, the headless one for tests and the
// frame-capture tool. Nothing here uses Win32 types, so the SDL side need not include them.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace compat {

struct PaletteColour {
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;
  std::uint8_t flags;
};
using Palette = std::array<PaletteColour, 256>;

// An 8-bit picture in someone else's memory, valid for the duration of the call.
struct IndexedFrame {
  const std::uint8_t* pixels;
  int width;
  int height;
  int pitch;
};

struct DesktopSize {
  int width;
  int height;
};

// Where the application window sits and how it is shown.
struct WindowPlacement {
  int x;
  int y;
  int width;
  int height;
  bool visible;
  std::string_view titleUtf8;
};

enum class InputKind {
  KeyDown,  // virtualKey set; repeat when the key was already down
  KeyUp,
  LeftButtonDown,
  LeftButtonUp,
  RightButtonDown,
  RightButtonUp,
  MouseMove,    // x, y in window coordinates
  CloseWindow,  // the user asked to close the window
  WindowMoved,  // x, y: the window's new position on the desktop
};

struct InputEvent {
  InputKind kind;
  std::uint32_t virtualKey;  // Windows virtual-key code for the key events
  bool repeat;
  bool altHeld;
  int x;
  int y;
};

class Screen {
 public:
  virtual ~Screen() = default;

  // Asked by DirectDrawCreate: false when nothing can be shown, so start-up fails visibly
  // instead of running on an invisible screen.
  virtual bool isAvailable() = 0;

  // Called on every Flip: the frame is the visible primary surface, the palette the one
  // attached to it. Returns once the frame is shown, at the display mode's pace.
  virtual void presentFrame(const IndexedFrame& frame, const Palette& palette) = 0;

  // Called after each other write to the visible primary (Blt, BltFast, Unlock, ReleaseDC).
  // Returns without waiting for the display; the write shows at the next tick at the latest.
  virtual void showWrite(const IndexedFrame& frame, const Palette& palette) = 0;

  // Called when the palette attached to the primary surface changes: the change shows at once,
  // without a new frame, as on a palette display.
  virtual void updatePalette(const Palette& palette) = 0;

  // Returns when the next vertical blank begins (at once where there is no display).
  virtual void waitForVerticalBlank() = 0;

  // Called by ShowWindow, and when the window moves or changes its title.
  virtual void placeWindow(const WindowPlacement& placement) = 0;

  // Called by SetDisplayMode under exclusive full-screen (true) and when the DirectDraw object
  // that owned the display is released (false). Exclusive: frames fill the screen, scaled up
  // with their aspect kept. Otherwise frames are the desktop and the window shows its part.
  virtual void setExclusiveMode(bool exclusive) = 0;

  // Called by SetCursor: whether the pointer shows over the window.
  virtual void setCursorVisible(bool visible) = 0;

  // Called by the message functions: appends the input that arrived since the last call.
  virtual void pollInput(std::vector<InputEvent>& events) = 0;

  // Called by MessageBoxA after it has written caption and text to standard error; returns
  // when the user has closed the box (at once where no box can be shown).
  virtual void showMessageBox(std::string_view captionUtf8, std::string_view textUtf8) = 0;

  // The size of the desktop that a windowed primary surface stands for.
  virtual DesktopSize desktopSize() = 0;
};

// The screen linked into this program.
Screen& activeScreen();

}  // namespace compat
