// What tests may see and steer inside the platform: failures on demand, lost surfaces, and the
// settings a program asked for. The portable layers never include this header.
#pragma once

#include <functional>
#include <optional>

#include "platform/compat/ddraw_api.h"
#include "platform/compat/win32_types.h"

namespace compat::testing {

enum class DirectDrawCall {
  DirectDrawCreate,
  SetCooperativeLevel,
  SetDisplayMode,
  CreateSurface,
  GetAttachedSurface,
  CreateClipper,
  SetHWnd,
  SetClipper,
  CreatePalette,
  SetPalette,
  SetEntries,
  SetColorKey,
  Lock,
  Unlock,
  Flip,
  Blt,
  BltFast,
  Restore,
  WaitForVerticalBlank,
};

// The call's next invocation after `skip` successful ones returns `result` and does nothing.
void failCall(DirectDrawCall call, HRESULT result, int skip = 0);
// Forgets every failure that has not fired yet.
void clearFailures();

// Forgets the window the display's exclusive mode was last taken for, which outlives every
// DirectDraw object: each test then starts as a program that has not taken it yet.
void forgetExclusiveWindow();

// Marks a surface lost, as when another program takes the display; Restore brings it back.
void loseSurface(IDirectDrawSurface* surface);

struct DisplayMode {
  DWORD width;
  DWORD height;
  DWORD bitsPerPixel;
};

// What the most recent successful SetCooperativeLevel and SetDisplayMode asked for.
std::optional<DWORD> lastCooperativeLevel();
std::optional<DisplayMode> lastDisplayMode();

// Objects alive in every DirectDraw object together, to check what a teardown released.
struct LiveObjects {
  int directDraws;
  int surfaces;
  int palettes;
  int clippers;
  bool operator==(const LiveObjects&) const = default;
};
LiveObjects liveObjects();

// Every live surface's guard bytes (around its memory, and in each row's padding past the
// width) are untouched: nothing has written outside a surface.
bool surfaceGuardsIntact();

// Replaces the millisecond clock behind timeGetTime; an empty function restores the real one.
void setClock(std::function<DWORD()> clock);

// A window handle for tests that need one before any window is created.
HWND testWindow();

}  // namespace compat::testing
