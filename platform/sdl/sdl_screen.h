// The real screen: an SDL2 window that shows the primary surface, input turned into the
// messages compat posts, and message boxes. Full-screen exclusive mode becomes a borderless
// desktop full-screen window (no real mode change) showing the picture scaled up with nearest
// sampling, by whole factors, its aspect kept; windowed mode shows the window's part of the
// desktop that the primary surface stands for.
//
// What a user of today's desktop expects of a layer that shows a full-screen 8-bit program,
// which the program itself never sees (for it the display stays its exclusive mode):
// - Alt+Enter shows the picture in a resizable window, and full-screen again (sdl_view.cpp);
//   the choice and the window's size and place are remembered for the next start;
// - flips and vertical-blank waits keep the display mode's 60 Hz whatever the monitor's rate;
// - Print Screen saves the shown frame as an indexed PNG;
// - the window asks for the display's real pixels on high-density screens.
//
// The shown part of each frame is kept as 8 bits (a palette-only change re-presents it), and
// goes in one pass through a 256-entry lookup (the palette mapped to the window's own pixel
// format) into a streaming texture, which the renderer scales and presents, synchronised to
// the vertical blank where the system offers it. No RGB surface stands in between.
#pragma once

#include <SDL.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/compat/frame_pacer.h"
#include "platform/compat/screen.h"
#include "platform/sdl/sdl_display_state.h"
#include "platform/sdl/sdl_frame_conversion.h"

namespace sdl {

class SdlScreen final : public compat::Screen {
 public:
  bool isAvailable() override;
  void presentFrame(const compat::IndexedFrame& frame, const compat::Palette& palette) override;
  void updatePalette(const compat::Palette& palette) override;
  void waitForVerticalBlank() override;
  void placeWindow(const compat::WindowPlacement& placement) override;
  void setExclusiveMode(bool exclusive) override;
  void setCursorVisible(bool visible) override;
  void pollInput(std::vector<compat::InputEvent>& events) override;
  void showMessageBox(std::string_view captionUtf8, std::string_view textUtf8) override;
  compat::DesktopSize desktopSize() override;

 private:
  // Starts SDL's video once; false where there is no display to show anything on.
  bool startVideo();
  void createWindow();
  void applyPlacement();
  // The view of a full-screen program (sdl_view.cpp): full-screen or in a window.
  void showFullScreen();
  void showInWindow();
  void toggleView();
  void rememberView();
  std::vector<WindowArea> screens() const;
  // The largest whole multiple of the picture that fits comfortably on the desktop, centred.
  WindowArea defaultWindow() const;
  // Whole-number scaling wherever the window holds the picture at least once.
  void updateScaling();
  // Key presses the screen keeps for itself (Alt+Enter, Print Screen); true when taken.
  bool takeKey(const SDL_KeyboardEvent& key, std::vector<compat::InputEvent>& events);
  void mapPalette();
  bool ensureTexture(int width, int height);
  // Converts the kept 8-bit picture through the lookup into the texture, and presents it.
  void showPicture();
  // The monitor's refresh period when presenting waits for it, for the pacer.
  void measureMonitor();

  bool videoTried_ = false;
  bool videoReady_ = false;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  Uint32 textureFormat_ = SDL_PIXELFORMAT_ARGB8888;
  int textureWidth_ = 0;
  int textureHeight_ = 0;

  compat::WindowPlacement placement_{};
  std::string title_;
  bool exclusive_ = false;
  bool cursorVisible_ = true;

  // What is on the screen: the shown area of the last frame, packed, and its colours.
  std::vector<std::uint8_t> picture_;
  int pictureWidth_ = 0;
  int pictureHeight_ = 0;
  compat::Palette palette_{};
  ColourLookup lookup_{};
  bool paletteChanged_ = false;  // a palette change waits to be shown

  compat::FramePacer pacer_;
  bool viewInWindow_ = false;          // a full-screen program shown in a window (Alt+Enter)
  bool viewRestored_ = false;          // the remembered view has been read
  WindowArea viewWindow_{0, 0, 0, 0};  // that window's place and size
};

}  // namespace sdl
