// The DirectDraw conformance program: the shared helpers, and main, which runs every group.
#include <cstdio>

#include "tests/platform/compat/ddraw_conformance.h"

namespace conformance {
namespace {

int failures = 0;
int cases = 0;

std::string hex(HRESULT result) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08x", static_cast<unsigned>(result));
  return text;
}

LRESULT WINAPI quietProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void check(const std::string& name, bool holds, const std::string& detail) {
  ++cases;
  if (holds) {
    std::printf("ok: %s\n", name.c_str());
  } else {
    ++failures;
    std::printf("FAILED: %s %s\n", name.c_str(), detail.c_str());
  }
}

void expect(const std::string& name, HRESULT actual, HRESULT expected) {
  check(name, actual == expected, "(" + hex(actual) + ", expected " + hex(expected) + ")");
}

HWND makeWindow() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = quietProcedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "conformance";
  RegisterClassA(&windowClass);
  return CreateWindowExA(0, "conformance", "conformance", WS_POPUP | WS_VISIBLE, 0, 0, 64, 64,
                         nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

DDSURFACEDESC description() {
  DDSURFACEDESC desc{};
  desc.dwSize = sizeof desc;
  return desc;
}

IDirectDrawSurface* offscreen(IDirectDraw* directDraw, int width, int height,
                              const DDCOLORKEY* sourceKey) {
  DDSURFACEDESC desc = description();
  desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
  desc.dwWidth = static_cast<DWORD>(width);
  desc.dwHeight = static_cast<DWORD>(height);
  desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
  desc.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
  desc.ddpfPixelFormat.dwFlags = DDPF_RGB | DDPF_PALETTEINDEXED8;
  desc.ddpfPixelFormat.dwRGBBitCount = 8;
  if (sourceKey != nullptr) {
    desc.dwFlags |= DDSD_CKSRCBLT;
    desc.ddckCKSrcBlt = *sourceKey;
  }
  IDirectDrawSurface* surface = nullptr;
  if (directDraw->CreateSurface(&desc, &surface, nullptr) != DD_OK) return nullptr;
  return surface;
}

void fillArea(IDirectDrawSurface* surface, RECT* area, BYTE index) {
  DDBLTFX fx{};
  fx.dwSize = sizeof fx;
  fx.dwFillColor = index;
  surface->Blt(area, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
}

void fill(IDirectDrawSurface* surface, BYTE index) { fillArea(surface, nullptr, index); }

BYTE pixelAt(IDirectDrawSurface* surface, int x, int y) {
  DDSURFACEDESC desc = description();
  if (surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) != DD_OK) return 0xEE;
  const BYTE value = static_cast<const BYTE*>(desc.lpSurface)[y * desc.lPitch + x];
  surface->Unlock(desc.lpSurface);
  return value;
}

int report() {
  std::printf("%d cases, %d failed\n", cases, failures);
  return failures == 0 ? 0 : 1;
}

}  // namespace conformance

int main() {
  using namespace conformance;
  HWND window = makeWindow();
  IDirectDraw* directDraw = nullptr;
  if (window == nullptr || DirectDrawCreate(nullptr, &directDraw, nullptr) != DD_OK) {
    std::printf("FAILED: no window or no DirectDraw\n");
    return 1;
  }
  expect("SetCooperativeLevel normal", directDraw->SetCooperativeLevel(window, DDSCL_NORMAL),
         DD_OK);
  locks(directDraw);
  blits(directDraw);
  attachments(directDraw, window);
  ownPalette(directDraw);
  keys(directDraw);
  callerMemory(directDraw);
  windowedContexts(directDraw);
  contextsEndWithSurface(directDraw);
  normalFlipChains(directDraw);
  flipChain(directDraw, window);
  clippedBlits(directDraw);
  directDraw->Release();
  noCooperativeLevel();
  stolenReferences();
  sharedObjects();
  fullScreenContexts();
  lostSurfaces();
  exclusiveWindowOfTheDisplay();
  DestroyWindow(window);
  return report();
}
