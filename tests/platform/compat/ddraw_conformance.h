// DirectDraw's answers for what the platform layer implements, as tables of cases with the
// result DirectDraw gives (the way its documentation and Wine's conformance tests put it).
// Plain programs that print each case and count the failures, so that the same sources run
// against our layer on Linux (conformance.ddraw) and against the real ddraw.dll under Wine
// (wine.ddraw_conformance): each expectation is confirmed by the real thing. The groups sit
// beside the unit tests of the same calls: ddraw_surface_lock_conformance.cpp beside
// ddraw_surface_lock_test.cpp, and so on.
#pragma once

#include <string>

#include "platform/win32.h"

namespace conformance {

// A case: holds, or is printed with the detail and counted as failed.
void check(const std::string& name, bool holds, const std::string& detail = "");
// A case whose result is an HRESULT.
void expect(const std::string& name, HRESULT actual, HRESULT expected);

HWND makeWindow();
DDSURFACEDESC description();
// An 8-bit system-memory surface, with a source key from its description if given.
IDirectDrawSurface* offscreen(IDirectDraw* directDraw, int width, int height,
                              const DDCOLORKEY* sourceKey = nullptr);
void fill(IDirectDrawSurface* surface, BYTE index);
// Fills a rectangle of the surface (the whole surface when null).
void fillArea(IDirectDrawSurface* surface, RECT* area, BYTE index);
BYTE pixelAt(IDirectDrawSurface* surface, int x, int y);

// The groups, each in the file beside the unit tests of its calls.
// Those given a DirectDraw object run on the program's own, in the normal cooperative level
// unless they say otherwise; the rest make their own objects and windows.
void locks(IDirectDraw* directDraw);
void blits(IDirectDraw* directDraw);
void keys(IDirectDraw* directDraw);
void attachments(IDirectDraw* directDraw, HWND window);
void ownPalette(IDirectDraw* directDraw);
void callerMemory(IDirectDraw* directDraw);
void windowedContexts(IDirectDraw* directDraw);
void contextsEndWithSurface(IDirectDraw* directDraw);
void normalFlipChains(IDirectDraw* directDraw);
void flipChain(IDirectDraw* directDraw, HWND window);
void clippedBlits(IDirectDraw* directDraw);  // after flipChain, in its 8-bit mode
void noCooperativeLevel();
void stolenReferences();
void sharedObjects();
void fullScreenContexts();
void lostSurfaces();
void exclusiveWindowOfTheDisplay();

// Prints the count of cases and failures; the program's status: 0 when every case held.
int report();

}  // namespace conformance
