// The DirectDraw objects behind the interfaces of ddraw_api.h. Every object belongs to one
// DirectDraw object, the one that created it; Release to zero hands it back to that owner, and
// the owner's own last Release frees whatever is still alive, as DirectDraw does. A palette or
// clipper still attached to a surface of another DirectDraw object then passes to that object
// instead, so that no surface is left holding freed memory.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/compat/ddraw_api.h"
#include "platform/compat/gdi_objects.h"
#include "platform/compat/guarded_pixels.h"
#include "platform/compat/screen.h"
#include "platform/compat/testing.h"

namespace compat {

class DirectDrawObject;

// A failure a test asked for, taken at the start of the named call.
std::optional<HRESULT> takeFault(testing::DirectDrawCall call);

// The colours a palette shows on the screen: in windowed mode entries 0..9 and 246..255 hold
// the system's twenty static colours, whatever the palette says.
Palette screenColours(const Palette& palette, bool exclusive);

// True when (left, top, right, bottom) is not inverted and lies inside a width x height area.
bool rectInside(const RECT& rect, int width, int height);
bool rectInverted(const RECT& rect);

class DirectDrawPalette final : public IDirectDrawPalette {
 public:
  DirectDrawPalette(DirectDrawObject& owner, const PALETTEENTRY* entries);
  // Frees this palette: every surface still holding it forgets it (a caller that released the
  // surface's reference as its own leaves nothing dangling).
  ~DirectDrawPalette();

  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetEntries(DWORD flags, DWORD base, DWORD count,
                                       LPPALETTEENTRY entries) override;
  HRESULT STDMETHODCALLTYPE SetEntries(DWORD flags, DWORD first, DWORD count,
                                       LPPALETTEENTRY entries) override;

  const Palette& colours() const { return colours_; }
  void passTo(DirectDrawObject& owner) { owner_ = &owner; }

 private:
  DirectDrawObject* owner_;
  ULONG references_ = 1;
  Palette colours_{};
};

class DirectDrawClipper final : public IDirectDrawClipper {
 public:
  explicit DirectDrawClipper(DirectDrawObject& owner) : owner_(&owner) {}
  // Frees this clipper: every surface still holding it forgets it.
  ~DirectDrawClipper();

  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetHWnd(HWND* window) override;
  HRESULT STDMETHODCALLTYPE SetHWnd(DWORD flags, HWND window) override;

  HWND window() const { return window_; }
  void passTo(DirectDrawObject& owner) { owner_ = &owner; }

 private:
  DirectDrawObject* owner_;
  ULONG references_ = 1;
  HWND window_ = nullptr;
};

// An 8-bit surface. Its pixels live in a vector whose row pitch is the width rounded up to a
// multiple of 4; a flip exchanges the vectors of the front and back buffers, so both objects
// keep their identity while the memory behind them swaps.
class DirectDrawSurface final : public IDirectDrawSurface {
 public:
  DirectDrawSurface(DirectDrawObject& owner, DWORD caps, int width, int height);
  // Ends the device context GetDC handed out, if it is still out: later GDI calls on that
  // handle fail as on a deleted context.
  ~DirectDrawSurface();

  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE Blt(LPRECT destRect, LPDIRECTDRAWSURFACE source, LPRECT sourceRect,
                                DWORD flags, LPDDBLTFX effects) override;
  HRESULT STDMETHODCALLTYPE BltFast(DWORD x, DWORD y, LPDIRECTDRAWSURFACE source, LPRECT sourceRect,
                                    DWORD trans) override;
  HRESULT STDMETHODCALLTYPE Flip(LPDIRECTDRAWSURFACE targetOverride, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE GetAttachedSurface(LPDDSCAPS caps,
                                               LPDIRECTDRAWSURFACE* attached) override;
  HRESULT STDMETHODCALLTYPE GetDC(HDC* dc) override;
  HRESULT STDMETHODCALLTYPE ReleaseDC(HDC dc) override;
  HRESULT STDMETHODCALLTYPE GetSurfaceDesc(LPDDSURFACEDESC desc) override;
  HRESULT STDMETHODCALLTYPE IsLost() override;
  HRESULT STDMETHODCALLTYPE Lock(LPRECT rect, LPDDSURFACEDESC desc, DWORD flags,
                                 HANDLE event) override;
  HRESULT STDMETHODCALLTYPE Restore() override;
  HRESULT STDMETHODCALLTYPE SetClipper(LPDIRECTDRAWCLIPPER clipper) override;
  HRESULT STDMETHODCALLTYPE SetColorKey(DWORD flags, LPDDCOLORKEY key) override;
  HRESULT STDMETHODCALLTYPE SetPalette(LPDIRECTDRAWPALETTE palette) override;
  HRESULT STDMETHODCALLTYPE Unlock(LPVOID address) override;

  int width() const { return width_; }
  int height() const { return height_; }
  int pitch() const { return pitch_; }
  std::uint8_t* row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * pitch_; }
  bool guardsIntact() const { return pixels_.guardsIntact(); }
  DWORD caps() const { return caps_; }
  bool isPrimary() const { return (caps_ & DDSCAPS_PRIMARYSURFACE) != 0; }
  bool inVideoMemory() const { return (caps_ & DDSCAPS_VIDEOMEMORY) != 0; }
  DirectDrawPalette* palette() const { return palette_; }
  DirectDrawClipper* clipper() const { return clipper_; }
  DirectDrawSurface* backBuffer() const { return backBuffer_; }
  // Drops the pointer without a Release: the object is being freed.
  void forget(const DirectDrawPalette* palette);
  void forget(const DirectDrawClipper* clipper);

  // Joins this primary and its back buffer into a flip chain.
  void attachBackBuffer(DirectDrawSurface* back);
  // Drops the references this surface holds on its palette, clipper and back buffer.
  void detach();
  void markLost() { lost_ = true; }
  // Loses this surface and the rest of its flip chain, as a change of the display does.
  void loseWithChain();
  // Shows this surface if it is the visible primary, after something wrote to it: a flip at
  // the display's pace, any other write without waiting.
  enum class Presentation { flip, write };
  void presentIfVisible(Presentation presentation = Presentation::write);
  // The colours GDI matches into on this surface now: its own palette, or else the primary's
  // as the screen shows it. A device context takes them once, when GetDC hands it out.
  Palette gdiColours() const;
  // What GDI draws on: this surface's memory, in the colours its device context was given.
  Canvas canvas(const Palette& colours);

 private:
  // Why the surface cannot be drawn on or read now, if it cannot.
  std::optional<HRESULT> unavailable() const;
  void fillDescription(DDSURFACEDESC& desc) const;

  DirectDrawObject& owner_;
  ULONG references_ = 1;
  DWORD caps_;
  int width_;
  int height_;
  int pitch_;
  GuardedPixels pixels_;
  bool locked_ = false;
  HDC dc_ = nullptr;  // the device context GetDC handed out, until ReleaseDC
  void* lockedAddress_ = nullptr;
  bool lost_ = false;
  std::optional<DDCOLORKEY> sourceKey_;
  std::optional<DDCOLORKEY> destKey_;
  DirectDrawPalette* palette_ = nullptr;
  DirectDrawClipper* clipper_ = nullptr;
  DirectDrawSurface* backBuffer_ = nullptr;   // on the primary of a flip chain
  DirectDrawSurface* frontBuffer_ = nullptr;  // on the back buffer of a flip chain
};

class DirectDrawObject final : public IDirectDraw {
 public:
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE CreateClipper(DWORD flags, LPDIRECTDRAWCLIPPER* clipper,
                                          IUnknown* outer) override;
  HRESULT STDMETHODCALLTYPE CreatePalette(DWORD flags, LPPALETTEENTRY colours,
                                          LPDIRECTDRAWPALETTE* palette, IUnknown* outer) override;
  HRESULT STDMETHODCALLTYPE CreateSurface(LPDDSURFACEDESC desc, LPDIRECTDRAWSURFACE* surface,
                                          IUnknown* outer) override;
  HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel) override;
  HRESULT STDMETHODCALLTYPE WaitForVerticalBlank(DWORD flags, HANDLE event) override;

  bool exclusive() const { return (cooperativeLevel_ & DDSCL_EXCLUSIVE) != 0; }
  DirectDrawSurface* primary() const { return primary_; }
  // A surface of this object that holds the palette or clipper, if any does.
  DirectDrawSurface* surfaceHolding(const DirectDrawPalette* palette) const;
  DirectDrawSurface* surfaceHolding(const DirectDrawClipper* clipper) const;
  // The size of the display mode set, if one is (it stays until the object is released).
  std::optional<testing::DisplayMode> displayMode() const { return displayMode_; }
  void countObjects(testing::LiveObjects& counts) const;
  bool surfaceGuardsIntact() const;

  // Called when an object's reference count reaches zero.
  void destroy(DirectDrawSurface* surface);
  void destroy(DirectDrawPalette* palette);
  void destroy(DirectDrawClipper* clipper);

 private:
  HRESULT createPrimary(const DDSURFACEDESC& desc, LPDIRECTDRAWSURFACE* surface);
  HRESULT createOffscreen(const DDSURFACEDESC& desc, LPDIRECTDRAWSURFACE* surface);
  DirectDrawSurface* makeSurface(DWORD caps, int width, int height);
  // Frees this object's palettes or clippers, but passes to another DirectDraw object those a
  // surface of that object still holds.
  template <typename Attached>
  void passOnOrFree(std::vector<std::unique_ptr<Attached>> DirectDrawObject::*owned);
  // Loses what lives in the display's memory: the primary with its chain, and every surface in
  // video memory. System-memory surfaces keep their contents.
  void loseDisplayMemory();

  ULONG references_ = 1;
  DWORD cooperativeLevel_ = 0;
  std::optional<testing::DisplayMode> displayMode_;
  DirectDrawSurface* primary_ = nullptr;
  std::vector<std::unique_ptr<DirectDrawSurface>> surfaces_;
  std::vector<std::unique_ptr<DirectDrawPalette>> palettes_;
  std::vector<std::unique_ptr<DirectDrawClipper>> clippers_;
};

// Makes every surface of every DirectDraw object drop its pointer to an object being freed.
void forgetEverywhere(const DirectDrawPalette* palette);
void forgetEverywhere(const DirectDrawClipper* clipper);
// The DirectDraw object whose primary shows the palette, if one does.
DirectDrawObject* objectShowing(const DirectDrawPalette* palette);

// The display has one exclusive owner at a time: the window exclusive mode was last taken for,
// by any DirectDraw object of the program, released ones included; null before the first.
HWND& lastExclusiveWindow();

// Records what the tests can ask for through testing.h.
void recordCooperativeLevel(DWORD flags);
void recordDisplayMode(const testing::DisplayMode& mode);

}  // namespace compat
