// The real screen: an SDL2 window that shows the primary surface, input turned into the
// messages compat posts, and message boxes. Full-screen exclusive mode becomes a borderless
// desktop full-screen window (no real mode change) showing the picture scaled up with nearest
// sampling and its aspect kept; windowed mode shows the window's part of the desktop that the
// primary surface stands for.
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

#include "platform/compat/screen.h"
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
  void mapPalette();
  bool ensureTexture(int width, int height);
  // Converts the kept 8-bit picture through the lookup into the texture, and presents it.
  void showPicture();

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
};

}  // namespace sdl
