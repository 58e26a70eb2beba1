// A picture that stands still, for the page test of the looks (web_test.js): a full-screen
// 320 x 240 mode in 256 colours. The top 160 rows are a pattern in which every pixel's colour
// is known and differs from its neighbours' in every channel; the bottom 80 rows are four flat
// bands (grey, white, red, blue), 80 pixels wide each. The test computes the same colours. It
// draws once, says "ready" on standard output (the page's console) and shows the picture until
// Escape.
#include <cstdio>

#include "platform/win32.h"

namespace {

constexpr int width = 320;
constexpr int height = 240;
constexpr int patternRows = 160;
constexpr int bandWidth = 80;
constexpr int patternColours = 252;  // the four bands' colours follow

PALETTEENTRY paletteEntry(int index) {
  constexpr BYTE bands[4][3] = {{96, 96, 96}, {255, 255, 255}, {255, 0, 0}, {0, 0, 255}};
  if (index >= patternColours) {
    const BYTE* band = bands[index - patternColours];
    return {band[0], band[1], band[2], 0};
  }
  return {static_cast<BYTE>(index * 73), static_cast<BYTE>(index * 151 + 64),
          static_cast<BYTE>(index * 29 + 128), 0};
}

BYTE pixelAt(int x, int y) {
  if (y >= patternRows) return static_cast<BYTE>(patternColours + x / bandWidth);
  return static_cast<BYTE>((x * 5 + y * 11) % patternColours);
}

LRESULT WINAPI endOnEscape(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
    PostQuitMessage(1);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool drawPicture(LPDIRECTDRAWSURFACE surface) {
  DDSURFACEDESC desc{};
  desc.dwSize = sizeof desc;
  if (surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) != DD_OK) return false;
  auto* rows = static_cast<BYTE*>(desc.lpSurface);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) rows[y * desc.lPitch + x] = pixelAt(x, y);
  return surface->Unlock(nullptr) == DD_OK;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = endOnEscape;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = "still";
  if (RegisterClassA(&windowClass) == 0) return 1;
  HWND window = CreateWindowExA(0, "still", "still", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                                nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  LPDIRECTDRAW directDraw = nullptr;
  if (DirectDrawCreate(nullptr, &directDraw, nullptr) != DD_OK ||
      directDraw->SetCooperativeLevel(
          window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN | DDSCL_ALLOWMODEX) != DD_OK ||
      directDraw->SetDisplayMode(width, height, 8) != DD_OK)
    return 1;
  DDSURFACEDESC primaryDesc{};
  primaryDesc.dwSize = sizeof primaryDesc;
  primaryDesc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
  primaryDesc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
  primaryDesc.dwBackBufferCount = 1;
  LPDIRECTDRAWSURFACE primary = nullptr;
  LPDIRECTDRAWSURFACE back = nullptr;
  DDSCAPS backCaps{DDSCAPS_BACKBUFFER};
  if (directDraw->CreateSurface(&primaryDesc, &primary, nullptr) != DD_OK ||
      primary->GetAttachedSurface(&backCaps, &back) != DD_OK)
    return 1;
  PALETTEENTRY entries[256];
  for (int i = 0; i < 256; ++i) entries[i] = paletteEntry(i);
  LPDIRECTDRAWPALETTE palette = nullptr;
  if (directDraw->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr) != DD_OK ||
      primary->SetPalette(palette) != DD_OK || !drawPicture(back) ||
      primary->Flip(nullptr, DDFLIP_WAIT) != DD_OK)
    return 1;
  std::printf("ready\n");
  // Each blank gives the page its turn; the screen draws the picture again when the page's view
  // of it changes.
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
      DispatchMessageA(&msg);
    }
    directDraw->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
  }
}
