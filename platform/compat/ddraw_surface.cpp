// Surfaces: memory, locking, colour keys, palette and clipper attachment, the flip chain and
// lost memory. The blits are in ddraw_blit.cpp.
#include <utility>

#include "platform/compat/ddraw_objects.h"

namespace compat {
namespace {

int pitchFor(int width) { return (width + 3) & ~3; }

constexpr Palette blackPalette{};

}  // namespace

bool rectInverted(const RECT& rect) { return rect.left > rect.right || rect.top > rect.bottom; }

bool rectInside(const RECT& rect, int width, int height) {
  return !rectInverted(rect) && rect.left >= 0 && rect.top >= 0 && rect.right <= width &&
         rect.bottom <= height;
}

DirectDrawSurface::DirectDrawSurface(DirectDrawObject& owner, DWORD caps, int width, int height)
    : owner_(owner),
      caps_(caps),
      width_(width),
      height_(height),
      pitch_(pitchFor(width)),
      // New surface memory holds no defined picture; a visible pattern keeps anyone from
      // relying on a zero that real DirectDraw does not promise.
      pixels_(width, height, pitchFor(width), 0xCD) {}

DirectDrawSurface::~DirectDrawSurface() {
  if (dc_ != nullptr) destroyDeviceContext(dc_);
}

ULONG DirectDrawSurface::AddRef() { return ++references_; }

ULONG DirectDrawSurface::Release() {
  if (--references_ > 0) return references_;
  owner_.destroy(this);  // frees this surface
  return 0;
}

void DirectDrawSurface::attachBackBuffer(DirectDrawSurface* back) {
  backBuffer_ = back;
  back->frontBuffer_ = this;
}

void DirectDrawSurface::loseWithChain() {
  lost_ = true;
  if (backBuffer_ != nullptr) backBuffer_->lost_ = true;
  if (frontBuffer_ != nullptr) frontBuffer_->lost_ = true;
}

void DirectDrawSurface::detach() {
  if (DirectDrawPalette* palette = std::exchange(palette_, nullptr)) palette->Release();
  if (DirectDrawClipper* clipper = std::exchange(clipper_, nullptr)) clipper->Release();
  if (DirectDrawSurface* front = std::exchange(frontBuffer_, nullptr)) front->backBuffer_ = nullptr;
  if (DirectDrawSurface* back = std::exchange(backBuffer_, nullptr)) back->frontBuffer_ = nullptr;
}

void DirectDrawSurface::forget(const DirectDrawPalette* palette) {
  if (palette_ == palette) palette_ = nullptr;
}

void DirectDrawSurface::forget(const DirectDrawClipper* clipper) {
  if (clipper_ == clipper) clipper_ = nullptr;
}

std::optional<HRESULT> DirectDrawSurface::unavailable() const {
  if (lost_) return DDERR_SURFACELOST;
  if (locked_ || dc_ != nullptr) return DDERR_SURFACEBUSY;
  return std::nullopt;
}

Palette DirectDrawSurface::gdiColours() const {
  // A surface's own palette is its colours exactly; the screen's palette (its own on the
  // primary, or the primary's for a surface without one) has the system's twenty colours in
  // windowed mode.
  if (palette_ != nullptr && owner_.primary() != this) return palette_->colours();
  const DirectDrawPalette* palette = palette_;
  if (palette == nullptr && owner_.primary() != nullptr) palette = owner_.primary()->palette();
  return screenColours(palette ? palette->colours() : blackPalette, owner_.exclusive());
}

Canvas DirectDrawSurface::canvas(const Palette& colours) {
  Canvas canvas;
  canvas.pixels = pixels_.data();
  canvas.width = width_;
  canvas.height = height_;
  canvas.pitch = pitch_;
  canvas.palette = colours;
  return canvas;
}

HRESULT DirectDrawSurface::GetDC(HDC* dc) {
  if (dc == nullptr) return DDERR_INVALIDPARAMS;
  if (dc_ != nullptr) return DDERR_DCALREADYCREATED;
  // A lock does not keep a DC away, as it does on DirectDraw.
  if (lost_) return DDERR_SURFACELOST;
  // The context keeps the colours of this moment: a palette changed or set while it is out
  // reaches only the next one, as on DirectDraw.
  dc_ = createDeviceContext(this, gdiColours());
  *dc = dc_;
  return DD_OK;
}

HRESULT DirectDrawSurface::ReleaseDC(HDC dc) {
  if (dc_ == nullptr) return DDERR_NODC;
  if (dc != dc_) return DDERR_INVALIDPARAMS;
  destroyDeviceContext(dc_);
  dc_ = nullptr;
  presentIfVisible();
  return DD_OK;
}

void DirectDrawSurface::presentIfVisible(Presentation presentation) {
  if (!isPrimary() || owner_.primary() != this) return;
  const IndexedFrame frame{pixels_.data(), width_, height_, pitch_};
  const Palette colours =
      screenColours(palette_ ? palette_->colours() : blackPalette, owner_.exclusive());
  // Only flips keep the display's pace; DirectDraw shows other writes without waiting.
  if (presentation == Presentation::flip)
    activeScreen().presentFrame(frame, colours);
  else
    activeScreen().showWrite(frame, colours);
}

void DirectDrawSurface::fillDescription(DDSURFACEDESC& desc) const {
  const DWORD size = desc.dwSize;
  desc = DDSURFACEDESC{};
  desc.dwSize = size;
  desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT;
  desc.dwWidth = static_cast<DWORD>(width_);
  desc.dwHeight = static_cast<DWORD>(height_);
  desc.lPitch = pitch_;
  desc.ddsCaps.dwCaps = caps_;
  desc.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
  desc.ddpfPixelFormat.dwFlags = DDPF_RGB | DDPF_PALETTEINDEXED8;
  desc.ddpfPixelFormat.dwRGBBitCount = 8;
  if (backBuffer_ != nullptr) {
    desc.dwFlags |= DDSD_BACKBUFFERCOUNT;
    desc.dwBackBufferCount = 1;
  }
  if (sourceKey_) {
    desc.dwFlags |= DDSD_CKSRCBLT;
    desc.ddckCKSrcBlt = *sourceKey_;
  }
}

HRESULT DirectDrawSurface::GetSurfaceDesc(LPDDSURFACEDESC desc) {
  if (desc == nullptr || desc->dwSize != sizeof(DDSURFACEDESC)) return DDERR_INVALIDPARAMS;
  fillDescription(*desc);
  return DD_OK;
}

HRESULT DirectDrawSurface::Lock(LPRECT rect, LPDDSURFACEDESC desc, DWORD /*flags*/, HANDLE event) {
  if (auto fault = takeFault(testing::DirectDrawCall::Lock)) return *fault;
  // The second generation's description (DDSURFACEDESC2) is 16 bytes longer; its first fields
  // are these, and only they are filled.
  if (desc == nullptr || event != nullptr ||
      (desc->dwSize != sizeof(DDSURFACEDESC) && desc->dwSize != sizeof(DDSURFACEDESC) + 16))
    return DDERR_INVALIDPARAMS;
  if (auto reason = unavailable()) return *reason;
  if (rect != nullptr && !rectInside(*rect, width_, height_)) {
    desc->lpSurface = nullptr;
    return DDERR_INVALIDPARAMS;
  }
  fillDescription(*desc);
  std::uint8_t* first = pixels_.data();
  if (rect != nullptr) first = row(rect->top) + rect->left;
  desc->lpSurface = first;
  lockedAddress_ = first;
  locked_ = true;
  return DD_OK;
}

HRESULT DirectDrawSurface::Unlock(LPVOID address) {
  if (auto fault = takeFault(testing::DirectDrawCall::Unlock)) return *fault;
  if (!locked_) return DDERR_NOTLOCKED;
  // Stricter than needed for one lock per surface, so that handing back some other address
  // (a swapped surfaceBits entry, say) shows up as the mistake it is.
  if (address != nullptr && address != lockedAddress_) return DDERR_INVALIDPARAMS;
  locked_ = false;
  presentIfVisible();
  return DD_OK;
}

HRESULT DirectDrawSurface::IsLost() { return lost_ ? DDERR_SURFACELOST : DD_OK; }

HRESULT DirectDrawSurface::Restore() {
  if (auto fault = takeFault(testing::DirectDrawCall::Restore)) return *fault;
  // The display's memory comes back only in the mode it was made for.
  const std::optional<testing::DisplayMode> mode = owner_.displayMode();
  if (isPrimary() && lost_ && mode &&
      (mode->width != static_cast<DWORD>(width_) || mode->height != static_cast<DWORD>(height_)))
    return DDERR_WRONGMODE;
  // Restored memory holds no defined picture; ours keeps whatever was there.
  lost_ = false;
  if (backBuffer_ != nullptr) backBuffer_->lost_ = false;
  return DD_OK;
}

HRESULT DirectDrawSurface::SetColorKey(DWORD flags, LPDDCOLORKEY key) {
  if (auto fault = takeFault(testing::DirectDrawCall::SetColorKey)) return *fault;
  std::optional<DDCOLORKEY>* slot = nullptr;
  if (flags & DDCKEY_SRCBLT) slot = &sourceKey_;
  if (flags & DDCKEY_DESTBLT) slot = slot ? nullptr : &destKey_;
  if (slot == nullptr) return DDERR_INVALIDPARAMS;  // exactly one kind of key per call
  if (key == nullptr) {
    slot->reset();
    return DD_OK;
  }
  // Keys are single colours, the low value's: ranges are a display card's feature, and
  // DirectDraw refuses them for these surfaces, keeping the key it had. A range of one colour
  // is that colour.
  if ((flags & DDCKEY_COLORSPACE) && key->dwColorSpaceHighValue != key->dwColorSpaceLowValue)
    return DDERR_NOCOLORKEYHW;
  DDCOLORKEY single = *key;
  single.dwColorSpaceHighValue = single.dwColorSpaceLowValue;
  *slot = single;
  return DD_OK;
}

HRESULT DirectDrawSurface::SetPalette(LPDIRECTDRAWPALETTE palette) {
  if (auto fault = takeFault(testing::DirectDrawCall::SetPalette)) return *fault;
  if (lost_) return DDERR_SURFACELOST;
  auto* attached = static_cast<DirectDrawPalette*>(palette);
  if (attached != nullptr) attached->AddRef();
  if (DirectDrawPalette* previous = std::exchange(palette_, attached)) previous->Release();
  if (owner_.primary() == this)
    activeScreen().updatePalette(
        screenColours(palette_ ? palette_->colours() : blackPalette, owner_.exclusive()));
  return DD_OK;
}

HRESULT DirectDrawSurface::SetClipper(LPDIRECTDRAWCLIPPER clipper) {
  if (auto fault = takeFault(testing::DirectDrawCall::SetClipper)) return *fault;
  auto* attached = static_cast<DirectDrawClipper*>(clipper);
  if (attached != nullptr) attached->AddRef();
  if (DirectDrawClipper* previous = std::exchange(clipper_, attached)) previous->Release();
  return DD_OK;
}

HRESULT DirectDrawSurface::GetAttachedSurface(LPDDSCAPS caps, LPDIRECTDRAWSURFACE* attached) {
  if (auto fault = takeFault(testing::DirectDrawCall::GetAttachedSurface)) return *fault;
  if (caps == nullptr || attached == nullptr) return DDERR_INVALIDPARAMS;
  if (lost_) return DDERR_SURFACELOST;
  // The flip chain is a ring: after the back buffer comes the front buffer again.
  DirectDrawSurface* next = backBuffer_ != nullptr ? backBuffer_ : frontBuffer_;
  if (next == nullptr || (next->caps_ & caps->dwCaps) != caps->dwCaps) return DDERR_NOTFOUND;
  next->AddRef();
  *attached = next;
  return DD_OK;
}

HRESULT DirectDrawSurface::Flip(LPDIRECTDRAWSURFACE targetOverride, DWORD /*flags*/) {
  if (auto fault = takeFault(testing::DirectDrawCall::Flip)) return *fault;
  if (backBuffer_ == nullptr) return DDERR_NOTFLIPPABLE;
  // Only the chain's back buffer can be flipped to.
  if (targetOverride != nullptr && targetOverride != backBuffer_) return DDERR_NOTFLIPPABLE;
  if (!owner_.exclusive()) return DDERR_NOEXCLUSIVEMODE;
  if (auto reason = unavailable()) return *reason;
  if (auto reason = backBuffer_->unavailable()) return *reason;
  pixels_.swap(backBuffer_->pixels_);
  presentIfVisible(Presentation::flip);
  return DD_OK;
}

}  // namespace compat
