// DirectDrawCreate and the DirectDraw object: cooperative level, display mode, and the
// creation and ownership of surfaces, palettes and clippers.
#include <algorithm>
#include <new>

#include "platform/compat/ddraw_objects.h"

namespace compat {
namespace {

// Large enough for any real display, small enough that width x height cannot overflow.
constexpr DWORD maxSurfaceSide = 16384;

std::vector<std::unique_ptr<DirectDrawObject>>& directDrawObjects() {
  // Never destroyed: a program's global released in its destructor, after this file's
  // statics would have gone, still finds its objects, as it would on Windows.
  static auto* objects = new std::vector<std::unique_ptr<DirectDrawObject>>;
  return *objects;
}

template <typename T>
std::unique_ptr<T> takeOut(std::vector<std::unique_ptr<T>>& owned, T* object) {
  auto found = std::find_if(owned.begin(), owned.end(),
                            [object](const std::unique_ptr<T>& p) { return p.get() == object; });
  if (found == owned.end()) return nullptr;
  std::unique_ptr<T> taken = std::move(*found);
  owned.erase(found);
  return taken;
}

bool validSide(DWORD side) { return side > 0 && side <= maxSurfaceSide; }

}  // namespace

HWND& lastExclusiveWindow() {
  static HWND window = nullptr;
  return window;
}

ULONG DirectDrawObject::AddRef() { return ++references_; }

ULONG DirectDrawObject::Release() {
  if (--references_ > 0) return references_;
  if (exclusive() && displayMode_) activeScreen().setExclusiveMode(false);
  // Surfaces first: they hold references on palettes and clippers.
  for (auto& surface : surfaces_) surface->detach();
  primary_ = nullptr;
  surfaces_.clear();
  passOnOrFree(&DirectDrawObject::palettes_);
  passOnOrFree(&DirectDrawObject::clippers_);
  takeOut(directDrawObjects(), this);  // frees this object
  return 0;
}

template <typename Attached>
void DirectDrawObject::passOnOrFree(
    std::vector<std::unique_ptr<Attached>> DirectDrawObject::*owned) {
  // A palette or clipper that a surface of another DirectDraw object still holds lives on
  // with that object; freeing it would leave the surface pointing at freed memory.
  for (std::unique_ptr<Attached>& attached : this->*owned) {
    for (const auto& other : directDrawObjects()) {
      if (other.get() == this || other->surfaceHolding(attached.get()) == nullptr) continue;
      attached->passTo(*other);
      ((*other).*owned).push_back(std::move(attached));
      break;
    }
  }
  (this->*owned).clear();
}

HRESULT DirectDrawObject::SetCooperativeLevel(HWND window, DWORD flags) {
  if (auto fault = takeFault(testing::DirectDrawCall::SetCooperativeLevel)) return *fault;
  const bool normal = (flags & DDSCL_NORMAL) != 0;
  const bool exclusive = (flags & DDSCL_EXCLUSIVE) != 0;
  const bool fullscreen = (flags & DDSCL_FULLSCREEN) != 0;
  // Exactly one of normal and exclusive; exclusive only with full-screen, on a window. With
  // normal, full-screen asks for nothing more.
  if (normal == exclusive || (exclusive && !fullscreen)) return DDERR_INVALIDPARAMS;
  if (exclusive && window == nullptr) return DDERR_INVALIDPARAMS;
  if ((flags & DDSCL_ALLOWMODEX) && !exclusive) return DDERR_INVALIDPARAMS;
  // Exclusive mode taken for a window the display's was not last taken for, by this object or
  // another, the first time included, takes the display from under this object's primary and
  // whatever it has in video memory.
  if (exclusive && window != lastExclusiveWindow()) loseDisplayMemory();
  if (exclusive) lastExclusiveWindow() = window;
  // Giving exclusive mode back gives the screen back to the desktop; taking it again with the
  // mode still set makes the screen full-screen in that mode again, as SetDisplayMode would.
  if (normal && this->exclusive() && displayMode_) activeScreen().setExclusiveMode(false);
  if (exclusive && !this->exclusive() && displayMode_) activeScreen().setExclusiveMode(true);
  cooperativeLevel_ = flags;
  recordCooperativeLevel(flags);
  return DD_OK;
}

HRESULT DirectDrawObject::SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel) {
  if (auto fault = takeFault(testing::DirectDrawCall::SetDisplayMode)) return *fault;
  if (!validSide(width) || !validSide(height)) return DDERR_INVALIDMODE;
  // Surfaces here are palette-indexed bytes; no other depth can be honoured.
  if (bitsPerPixel != 8) return DDERR_UNSUPPORTEDMODE;
  // A new mode takes the display's memory: the primary is lost until restored in its mode.
  loseDisplayMemory();
  displayMode_ = testing::DisplayMode{width, height, bitsPerPixel};
  recordDisplayMode(*displayMode_);
  if (exclusive()) activeScreen().setExclusiveMode(true);
  return DD_OK;
}

HRESULT DirectDrawObject::WaitForVerticalBlank(DWORD flags, HANDLE event) {
  if (auto fault = takeFault(testing::DirectDrawCall::WaitForVerticalBlank)) return *fault;
  if (event != nullptr || flags != DDWAITVB_BLOCKBEGIN) return DDERR_UNSUPPORTED;
  activeScreen().waitForVerticalBlank();
  return DD_OK;
}

HRESULT DirectDrawObject::CreateSurface(LPDDSURFACEDESC desc, LPDIRECTDRAWSURFACE* surface,
                                        IUnknown* outer) {
  if (auto fault = takeFault(testing::DirectDrawCall::CreateSurface)) return *fault;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  // The cooperative level comes before anything the caller passed, a null description included.
  if (cooperativeLevel_ == 0) return DDERR_NOCOOPERATIVELEVELSET;
  if (desc == nullptr || surface == nullptr || desc->dwSize != sizeof(DDSURFACEDESC))
    return DDERR_INVALIDPARAMS;
  if (!(desc->dwFlags & DDSD_CAPS)) return DDERR_INVALIDPARAMS;
  if ((desc->dwFlags & DDSD_PIXELFORMAT) &&
      (!(desc->ddpfPixelFormat.dwFlags & DDPF_PALETTEINDEXED8) ||
       desc->ddpfPixelFormat.dwRGBBitCount != 8))
    return DDERR_INVALIDPIXELFORMAT;
  try {
    if (desc->ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE) return createPrimary(*desc, surface);
    return createOffscreen(*desc, surface);
  } catch (const std::bad_alloc&) {
    return DDERR_OUTOFMEMORY;
  }
}

HRESULT DirectDrawObject::createPrimary(const DDSURFACEDESC& desc, LPDIRECTDRAWSURFACE* surface) {
  if (primary_ != nullptr) return DDERR_PRIMARYSURFACEALREADYEXISTS;
  // The primary is the display itself: its size is not the caller's to choose, nor its memory.
  if (desc.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) return DDERR_INVALIDPARAMS;
  if (desc.dwFlags & DDSD_LPSURFACE) return DDERR_INVALIDCAPS;
  const DWORD caps = desc.ddsCaps.dwCaps;
  const bool flipChain = (caps & DDSCAPS_FLIP) != 0;
  // The back buffer is made with the chain, never asked for; a complex primary is a chain.
  if ((caps & DDSCAPS_BACKBUFFER) || ((caps & DDSCAPS_COMPLEX) && !flipChain))
    return DDERR_INVALIDCAPS;
  if (flipChain) {
    // The caps come before the cooperative level. A chain is complex, has a back-buffer count,
    // and makes its front buffer itself.
    if (!(caps & DDSCAPS_COMPLEX) || (caps & DDSCAPS_FRONTBUFFER)) return DDERR_INVALIDCAPS;
    if (!(desc.dwFlags & DDSD_BACKBUFFERCOUNT) || desc.dwBackBufferCount == 0)
      return DDERR_INVALIDCAPS;
    if (!exclusive()) return DDERR_NOEXCLUSIVEMODE;
    if (desc.dwBackBufferCount != 1) return DDERR_UNSUPPORTED;  // one back buffer, as we flip
  }
  int width = 0, height = 0;
  // The display mode set stays, in normal mode too, until the object is released.
  if (displayMode_) {
    width = static_cast<int>(displayMode_->width);
    height = static_cast<int>(displayMode_->height);
  } else {
    const DesktopSize desktop = activeScreen().desktopSize();
    width = desktop.width;
    height = desktop.height;
  }
  if (!flipChain) {
    primary_ = makeSurface(caps, width, height);
    *surface = primary_;
    return DD_OK;
  }
  DirectDrawSurface* front = makeSurface(caps | DDSCAPS_FRONTBUFFER, width, height);
  const DWORD backCaps = (caps & ~DDSCAPS_PRIMARYSURFACE) | DDSCAPS_BACKBUFFER;
  front->attachBackBuffer(makeSurface(backCaps, width, height));
  primary_ = front;
  *surface = front;
  return DD_OK;
}

HRESULT DirectDrawObject::createOffscreen(const DDSURFACEDESC& desc, LPDIRECTDRAWSURFACE* surface) {
  const DWORD sized = DDSD_WIDTH | DDSD_HEIGHT;
  if ((desc.dwFlags & sized) != sized) return DDERR_INVALIDPARAMS;
  if (!validSide(desc.dwWidth) || !validSide(desc.dwHeight)) return DDERR_INVALIDPARAMS;
  DWORD caps = desc.ddsCaps.dwCaps;
  if (caps & (DDSCAPS_FLIP | DDSCAPS_BACKBUFFER)) return DDERR_INVALIDCAPS;
  // Memory supplied by the caller is refused, as first-generation DirectDraw does: as a bad
  // argument for system memory, as caps that cannot take it anywhere else.
  if (desc.dwFlags & DDSD_LPSURFACE)
    return (caps & DDSCAPS_SYSTEMMEMORY) ? DDERR_INVALIDPARAMS : DDERR_INVALIDCAPS;
  // Where the caller leaves the memory to us, it is what a display card would offer.
  if (!(caps & (DDSCAPS_SYSTEMMEMORY | DDSCAPS_VIDEOMEMORY))) caps |= DDSCAPS_VIDEOMEMORY;
  DirectDrawSurface* made =
      makeSurface(caps, static_cast<int>(desc.dwWidth), static_cast<int>(desc.dwHeight));
  // A key given with the description is the surface's key from the start.
  if (desc.dwFlags & DDSD_CKSRCBLT) {
    DDCOLORKEY key = desc.ddckCKSrcBlt;
    made->SetColorKey(DDCKEY_SRCBLT, &key);
  }
  *surface = made;
  return DD_OK;
}

DirectDrawSurface* DirectDrawObject::makeSurface(DWORD caps, int width, int height) {
  surfaces_.push_back(std::make_unique<DirectDrawSurface>(*this, caps, width, height));
  return surfaces_.back().get();
}

void DirectDrawObject::loseDisplayMemory() {
  if (primary_ != nullptr) primary_->loseWithChain();
  for (const auto& surface : surfaces_)
    if (surface->inVideoMemory()) surface->markLost();
}

DirectDrawSurface* DirectDrawObject::surfaceHolding(const DirectDrawPalette* palette) const {
  for (const auto& surface : surfaces_)
    if (surface->palette() == palette) return surface.get();
  return nullptr;
}

DirectDrawSurface* DirectDrawObject::surfaceHolding(const DirectDrawClipper* clipper) const {
  for (const auto& surface : surfaces_)
    if (surface->clipper() == clipper) return surface.get();
  return nullptr;
}

HRESULT DirectDrawObject::CreatePalette(DWORD flags, LPPALETTEENTRY colours,
                                        LPDIRECTDRAWPALETTE* palette, IUnknown* outer) {
  if (auto fault = takeFault(testing::DirectDrawCall::CreatePalette)) return *fault;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  if (palette == nullptr || colours == nullptr) return DDERR_INVALIDPARAMS;
  if (!(flags & DDPCAPS_8BIT)) return DDERR_UNSUPPORTED;  // only 256-entry palettes
  palettes_.push_back(std::make_unique<DirectDrawPalette>(*this, colours));
  *palette = palettes_.back().get();
  return DD_OK;
}

HRESULT DirectDrawObject::CreateClipper(DWORD flags, LPDIRECTDRAWCLIPPER* clipper,
                                        IUnknown* outer) {
  if (auto fault = takeFault(testing::DirectDrawCall::CreateClipper)) return *fault;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  if (clipper == nullptr || flags != 0) return DDERR_INVALIDPARAMS;
  clippers_.push_back(std::make_unique<DirectDrawClipper>(*this));
  *clipper = clippers_.back().get();
  return DD_OK;
}

void DirectDrawObject::destroy(DirectDrawSurface* surface) {
  std::unique_ptr<DirectDrawSurface> doomed = takeOut(surfaces_, surface);
  if (!doomed) return;
  if (doomed.get() == primary_) primary_ = nullptr;
  DirectDrawSurface* back = doomed->backBuffer();
  doomed->detach();
  // The back buffer of a flip chain goes with its primary, whatever its reference count.
  if (back != nullptr) destroy(back);
}

void DirectDrawObject::countObjects(testing::LiveObjects& counts) const {
  counts.directDraws += 1;
  counts.surfaces += static_cast<int>(surfaces_.size());
  counts.palettes += static_cast<int>(palettes_.size());
  counts.clippers += static_cast<int>(clippers_.size());
}

bool DirectDrawObject::surfaceGuardsIntact() const {
  for (const auto& surface : surfaces_)
    if (!surface->guardsIntact()) return false;
  return true;
}

void DirectDrawObject::destroy(DirectDrawPalette* palette) { takeOut(palettes_, palette); }

void DirectDrawObject::destroy(DirectDrawClipper* clipper) { takeOut(clippers_, clipper); }

void forgetEverywhere(const DirectDrawPalette* palette) {
  for (const auto& object : directDrawObjects())
    while (DirectDrawSurface* holder = object->surfaceHolding(palette)) holder->forget(palette);
}

void forgetEverywhere(const DirectDrawClipper* clipper) {
  for (const auto& object : directDrawObjects())
    while (DirectDrawSurface* holder = object->surfaceHolding(clipper)) holder->forget(clipper);
}

DirectDrawObject* objectShowing(const DirectDrawPalette* palette) {
  for (const auto& object : directDrawObjects())
    if (object->primary() != nullptr && object->primary()->palette() == palette)
      return object.get();
  return nullptr;
}

testing::LiveObjects testing::liveObjects() {
  LiveObjects counts{};
  for (const auto& object : directDrawObjects()) object->countObjects(counts);
  return counts;
}

bool testing::surfaceGuardsIntact() {
  for (const auto& object : directDrawObjects())
    if (!object->surfaceGuardsIntact()) return false;
  return true;
}

}  // namespace compat

HRESULT WINAPI DirectDrawCreate(GUID* guid, LPDIRECTDRAW* directDraw, IUnknown* outer) {
  using compat::testing::DirectDrawCall;
  if (auto fault = compat::takeFault(DirectDrawCall::DirectDrawCreate)) return *fault;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  if (directDraw == nullptr) return DDERR_INVALIDPARAMS;
  // Only the default display exists here.
  if (guid != nullptr) return DDERR_INVALIDPARAMS;
  if (!compat::activeScreen().isAvailable()) return DDERR_NODIRECTDRAWHW;
  auto& objects = compat::directDrawObjects();
  objects.push_back(std::make_unique<compat::DirectDrawObject>());
  *directDraw = objects.back().get();
  return DD_OK;
}
