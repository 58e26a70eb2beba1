// A long random run of calls over a handful of DirectDraw objects, surfaces, palettes, clippers
// and device contexts, in every order a careless caller might make them: references given back
// too often, makers released before what they made, contexts used after their surface died,
// exclusive mode moved between windows. A small model of who holds what predicts every count
// and answer; under the sanitizers, a use of freed memory fails the run. The seed is printed so
// that a failing run can be repeated.
#include <algorithm>
#include <cstdio>
#include <limits>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "platform/compat/testing.h"
#include "platform/win32.h"

namespace {

constexpr int kMaxDirectDraws = 3;
constexpr int kMaxSurfaces = 6;
constexpr int kMaxAttachables = 6;

struct DirectDrawEntry {
  IDirectDraw* object = nullptr;
  int references = 0;
  bool alive = false;
  bool exclusive = false;
  int primary = -1;   // index of its primary surface
  int modeWidth = 0;  // the display mode set, if any
  int modeHeight = 0;
};

struct SurfaceEntry {
  IDirectDrawSurface* surface = nullptr;
  int maker = -1;  // index of the DirectDraw object
  int references = 0;
  bool alive = false;
  bool videoMemory = false;
  bool lost = false;
  bool primary = false;
  int width = 16;
  int height = 16;
  int back = -1;     // a flip chain's back buffer, for its primary
  int front = -1;    // and the primary, for the back buffer
  int palette = -1;  // index into the attachables
  int clipper = -1;
  HDC dc = nullptr;
};

// A palette or a clipper: both are made by one DirectDraw object and held by surfaces.
struct AttachableEntry {
  IUnknown* object = nullptr;
  bool isPalette = true;
  int owner = -1;
  int references = 0;  // the caller's and every holding surface's together
  bool alive = false;
};

class LifetimeModel {
 public:
  explicit LifetimeModel(unsigned seed) : random_(seed) {
    compat::testing::forgetExclusiveWindow();  // as exclusiveWindow_ starts
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "lifetime stress";
    RegisterClassA(&windowClass);
    for (HWND& window : windows_) {
      window = CreateWindowExA(0, "lifetime stress", "", WS_POPUP, 0, 0, 64, 48, nullptr, nullptr,
                               nullptr, nullptr);
    }
  }

  ~LifetimeModel() {
    for (HWND window : windows_) DestroyWindow(window);
  }

  void step() {
    // Some calls appear twice, to make them likelier.
    using Call = void (LifetimeModel::*)();
    static constexpr Call calls[] = {
        &LifetimeModel::createDirectDraw,
        &LifetimeModel::releaseSomeDirectDraw,
        &LifetimeModel::createSurface,
        &LifetimeModel::releaseSurface,
        &LifetimeModel::createAttachable,
        &LifetimeModel::createAttachable,
        &LifetimeModel::releaseAttachable,
        &LifetimeModel::attach,
        &LifetimeModel::attach,
        &LifetimeModel::takeDC,
        &LifetimeModel::drawOnDC,
        &LifetimeModel::giveBackDC,
        &LifetimeModel::loseOrRestore,
        &LifetimeModel::changeCooperativeLevel,
        &LifetimeModel::fill,
        &LifetimeModel::addReferences,
        &LifetimeModel::changeEntries,
        &LifetimeModel::createPrimary,
        &LifetimeModel::flip,
        &LifetimeModel::setDisplayMode,
    };
    (this->*calls[pick(static_cast<int>(std::size(calls)))])();
    checkCounts();
  }

  // Releases every reference the caller still has: everything must be gone afterwards.
  void releaseAll() {
    for (int i = 0; i < static_cast<int>(directDraws_.size()); ++i)
      while (directDraws_[i].alive) releaseDirectDraw(i);
    checkCounts();
  }

 private:
  // A coordinate near the surface or near either end of an int.
  int farCoordinate() {
    constexpr int kMost = std::numeric_limits<int>::max();
    constexpr int kLeast = std::numeric_limits<int>::min();
    const int offset = pick(40);
    switch (pick(3)) {
      case 0:
        return kMost - offset;
      case 1:
        return kLeast + offset;
      default:
        return offset - 20;
    }
  }

  int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }

  template <typename Entry>
  int pickAlive(const std::vector<Entry>& entries) {
    std::vector<int> alive;
    for (int i = 0; i < static_cast<int>(entries.size()); ++i)
      if (entries[i].alive) alive.push_back(i);
    if (alive.empty()) return -1;
    return alive[static_cast<std::size_t>(pick(static_cast<int>(alive.size())))];
  }

  template <typename Entry>
  static int countAlive(const std::vector<Entry>& entries) {
    return static_cast<int>(
        std::count_if(entries.begin(), entries.end(), [](const Entry& e) { return e.alive; }));
  }

  void checkCounts() {
    compat::testing::LiveObjects expected{countAlive(directDraws_), countAlive(surfaces_), 0, 0};
    for (const AttachableEntry& entry : attachables_)
      if (entry.alive) ++(entry.isPalette ? expected.palettes : expected.clippers);
    ASSERT_EQ(compat::testing::liveObjects(), expected);
    ASSERT_TRUE(compat::testing::surfaceGuardsIntact());
  }

  bool dcIsLive(HDC dc) const {
    for (const SurfaceEntry& surface : surfaces_)
      if (surface.alive && surface.dc == dc) return true;
    return false;
  }

  void createDirectDraw() {
    if (countAlive(directDraws_) >= kMaxDirectDraws) return;
    DirectDrawEntry entry;
    ASSERT_EQ(DirectDrawCreate(nullptr, &entry.object, nullptr), DD_OK);
    ASSERT_EQ(entry.object->SetCooperativeLevel(windows_[0], DDSCL_NORMAL), DD_OK);
    entry.references = 1;
    entry.alive = true;
    directDraws_.push_back(entry);
  }

  void releaseSomeDirectDraw() {
    const int index = pickAlive(directDraws_);
    if (index >= 0) releaseDirectDraw(index);
  }

  void releaseDirectDraw(int index) {
    DirectDrawEntry& entry = directDraws_[static_cast<std::size_t>(index)];
    ASSERT_EQ(entry.object->Release(), static_cast<ULONG>(--entry.references));
    if (entry.references > 0) return;
    entry.alive = false;
    // Its surfaces go first, giving back what they hold; then what it made passes to the first
    // other object with a surface holding it, or is freed.
    for (SurfaceEntry& surface : surfaces_)
      if (surface.alive && surface.maker == index) freeSurface(surface);
    for (int a = 0; a < static_cast<int>(attachables_.size()); ++a) {
      AttachableEntry& attachable = attachables_[static_cast<std::size_t>(a)];
      if (!attachable.alive || attachable.owner != index) continue;
      attachable.owner = heirOf(a);
      if (attachable.owner < 0) freeAttachable(a);
    }
  }

  int heirOf(int attachable) const {
    for (int d = 0; d < static_cast<int>(directDraws_.size()); ++d) {
      if (!directDraws_[static_cast<std::size_t>(d)].alive) continue;
      for (const SurfaceEntry& surface : surfaces_)
        if (surface.alive && surface.maker == d &&
            (surface.palette == attachable || surface.clipper == attachable))
          return d;
    }
    return -1;
  }

  void freeSurface(SurfaceEntry& surface) {
    surface.alive = false;
    if (surface.primary) directDraws_[static_cast<std::size_t>(surface.maker)].primary = -1;
    if (surface.front >= 0) surfaces_[static_cast<std::size_t>(surface.front)].back = -1;
    // The back buffer of a flip chain goes with its primary, whatever its reference count.
    if (surface.back >= 0) {
      SurfaceEntry& back = surfaces_[static_cast<std::size_t>(surface.back)];
      back.front = -1;
      surface.back = -1;
      freeSurface(back);
    }
    if (surface.dc != nullptr) staleDCs_.push_back(surface.dc);
    surface.dc = nullptr;
    dropReference(std::exchange(surface.palette, -1));
    dropReference(std::exchange(surface.clipper, -1));
  }

  void dropReference(int attachable) {
    if (attachable < 0) return;
    if (--attachables_[static_cast<std::size_t>(attachable)].references == 0)
      freeAttachable(attachable);
  }

  void freeAttachable(int attachable) {
    attachables_[static_cast<std::size_t>(attachable)].alive = false;
    for (SurfaceEntry& surface : surfaces_) {
      if (surface.palette == attachable) surface.palette = -1;
      if (surface.clipper == attachable) surface.clipper = -1;
    }
  }

  void createSurface() {
    const int maker = pickAlive(directDraws_);
    if (maker < 0 || countAlive(surfaces_) >= kMaxSurfaces) return;
    SurfaceEntry entry;
    entry.maker = maker;
    entry.videoMemory = pick(2) == 0;
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = 16;
    desc.dwHeight = 16;
    desc.ddsCaps.dwCaps =
        DDSCAPS_OFFSCREENPLAIN | (entry.videoMemory ? DDSCAPS_VIDEOMEMORY : DDSCAPS_SYSTEMMEMORY);
    ASSERT_EQ(directDraws_[static_cast<std::size_t>(maker)].object->CreateSurface(
                  &desc, &entry.surface, nullptr),
              DD_OK);
    entry.references = 1;
    entry.alive = true;
    surfaces_.push_back(entry);
  }

  void releaseSurface() {
    const int index = pickAlive(surfaces_);
    if (index < 0) return;
    SurfaceEntry& surface = surfaces_[static_cast<std::size_t>(index)];
    ASSERT_EQ(surface.surface->Release(), static_cast<ULONG>(--surface.references));
    if (surface.references == 0) freeSurface(surface);
  }

  void createAttachable() {
    const int maker = pickAlive(directDraws_);
    if (maker < 0 || countAlive(attachables_) >= kMaxAttachables) return;
    IDirectDraw* directDraw = directDraws_[static_cast<std::size_t>(maker)].object;
    AttachableEntry entry;
    entry.isPalette = pick(2) == 0;
    if (entry.isPalette) {
      PALETTEENTRY colours[256];
      for (int i = 0; i < 256; ++i) colours[i] = {BYTE(i), BYTE(255 - i), BYTE(i / 2), 0};
      IDirectDrawPalette* palette = nullptr;
      ASSERT_EQ(directDraw->CreatePalette(DDPCAPS_8BIT, colours, &palette, nullptr), DD_OK);
      entry.object = palette;
    } else {
      IDirectDrawClipper* clipper = nullptr;
      ASSERT_EQ(directDraw->CreateClipper(0, &clipper, nullptr), DD_OK);
      ASSERT_EQ(clipper->SetHWnd(0, windows_[static_cast<std::size_t>(pick(3))]), DD_OK);
      entry.object = clipper;
    }
    entry.owner = maker;
    entry.references = 1;
    entry.alive = true;
    attachables_.push_back(entry);
  }

  // Gives back one reference, the caller's or, once those are gone, one a surface holds.
  void releaseAttachable() {
    const int index = pickAlive(attachables_);
    if (index < 0) return;
    AttachableEntry& entry = attachables_[static_cast<std::size_t>(index)];
    ASSERT_EQ(entry.object->Release(), static_cast<ULONG>(entry.references - 1));
    dropReference(index);
  }

  void addReferences() {
    switch (pick(3)) {
      case 0: {
        const int index = pickAlive(directDraws_);
        if (index < 0) return;
        DirectDrawEntry& entry = directDraws_[static_cast<std::size_t>(index)];
        ASSERT_EQ(entry.object->AddRef(), static_cast<ULONG>(++entry.references));
        break;
      }
      case 1: {
        const int index = pickAlive(surfaces_);
        if (index < 0) return;
        SurfaceEntry& entry = surfaces_[static_cast<std::size_t>(index)];
        ASSERT_EQ(entry.surface->AddRef(), static_cast<ULONG>(++entry.references));
        break;
      }
      default: {
        const int index = pickAlive(attachables_);
        if (index < 0) return;
        AttachableEntry& entry = attachables_[static_cast<std::size_t>(index)];
        ASSERT_EQ(entry.object->AddRef(), static_cast<ULONG>(++entry.references));
      }
    }
  }

  // Sets a palette or clipper on a surface, or takes it off (a null one).
  void attach() {
    const int surfaceIndex = pickAlive(surfaces_);
    if (surfaceIndex < 0) return;
    SurfaceEntry& surface = surfaces_[static_cast<std::size_t>(surfaceIndex)];
    const bool palette = pick(2) == 0;
    int chosen = pick(3) == 0 ? -1 : pickAlive(attachables_);
    if (chosen >= 0 && attachables_[static_cast<std::size_t>(chosen)].isPalette != palette)
      chosen = -1;
    IUnknown* object = chosen < 0 ? nullptr : attachables_[static_cast<std::size_t>(chosen)].object;
    if (palette) {
      const HRESULT result = surface.surface->SetPalette(static_cast<IDirectDrawPalette*>(object));
      if (surface.lost) {
        ASSERT_EQ(result, DDERR_SURFACELOST);
        return;
      }
      ASSERT_EQ(result, DD_OK);
    } else {
      ASSERT_EQ(surface.surface->SetClipper(static_cast<IDirectDrawClipper*>(object)), DD_OK);
    }
    if (chosen >= 0) ++attachables_[static_cast<std::size_t>(chosen)].references;
    dropReference(std::exchange(palette ? surface.palette : surface.clipper, chosen));
  }

  void takeDC() {
    const int index = pickAlive(surfaces_);
    if (index < 0) return;
    SurfaceEntry& surface = surfaces_[static_cast<std::size_t>(index)];
    HDC dc = nullptr;
    const HRESULT result = surface.surface->GetDC(&dc);
    if (surface.dc != nullptr) {
      ASSERT_EQ(result, DDERR_DCALREADYCREATED);
    } else if (surface.lost) {
      ASSERT_EQ(result, DDERR_SURFACELOST);
    } else {
      ASSERT_EQ(result, DD_OK);
      surface.dc = dc;
    }
  }

  // Draws through a live context or a stale one: the stale one must refuse, unless its handle
  // has since been given to a new context.
  void drawOnDC() {
    const int index = pickAlive(surfaces_);
    if (pick(2) == 0 && index >= 0 && surfaces_[static_cast<std::size_t>(index)].dc != nullptr) {
      const SurfaceEntry& surface = surfaces_[static_cast<std::size_t>(index)];
      HDC dc = surface.dc;
      ASSERT_NE(SetPixel(dc, pick(16), pick(16), RGB(pick(256), 0, 0)), CLR_INVALID);
      ASSERT_TRUE(TextOutA(dc, pick(20) - 4, pick(20) - 4, "Ab", 2));
      // Far outside the surface, on every side: nothing drawn, nothing written out of bounds.
      const int far = farCoordinate(), farToo = farCoordinate();
      const bool inside = far >= 0 && far < surface.width && farToo >= 0 && farToo < surface.height;
      ASSERT_EQ(SetPixel(dc, far, farToo, RGB(9, 9, 9)) != CLR_INVALID, inside);
      SetBkMode(dc, pick(2) == 0 ? OPAQUE : TRANSPARENT);
      ASSERT_TRUE(TextOutA(dc, far, farToo, "Ab", 2));
      ASSERT_TRUE(Ellipse(dc, far, farToo, farCoordinate(), farCoordinate()));
      return;
    }
    if (staleDCs_.empty()) return;
    HDC stale = staleDCs_[static_cast<std::size_t>(pick(static_cast<int>(staleDCs_.size())))];
    if (dcIsLive(stale)) return;
    ASSERT_EQ(SetPixel(stale, 1, 1, RGB(1, 2, 3)), CLR_INVALID);
    ASSERT_FALSE(TextOutA(stale, 0, 0, "A", 1));
    ASSERT_EQ(SelectObject(stale, GetStockObject(BLACK_BRUSH)), nullptr);
    ASSERT_FALSE(DeleteDC(stale));
  }

  // Gives back a surface's context, or a stale or another surface's context to it.
  void giveBackDC() {
    const int index = pickAlive(surfaces_);
    if (index < 0) return;
    SurfaceEntry& surface = surfaces_[static_cast<std::size_t>(index)];
    HDC offered = surface.dc;
    if (pick(3) == 0 && !staleDCs_.empty())
      offered = staleDCs_[static_cast<std::size_t>(pick(static_cast<int>(staleDCs_.size())))];
    const HRESULT result = surface.surface->ReleaseDC(offered);
    if (surface.dc == nullptr) {
      ASSERT_EQ(result, DDERR_NODC);
    } else if (offered != surface.dc) {
      ASSERT_EQ(result, DDERR_INVALIDPARAMS);
    } else {
      ASSERT_EQ(result, DD_OK);
      staleDCs_.push_back(std::exchange(surface.dc, nullptr));
    }
  }

  void loseOrRestore() {
    const int index = pickAlive(surfaces_);
    if (index < 0) return;
    SurfaceEntry& surface = surfaces_[static_cast<std::size_t>(index)];
    if (pick(2) == 0) {
      compat::testing::loseSurface(surface.surface);
      surface.lost = true;
    } else {
      const DirectDrawEntry& maker = directDraws_[static_cast<std::size_t>(surface.maker)];
      const bool wrongMode =
          surface.primary && surface.lost && maker.modeWidth != 0 &&
          (maker.modeWidth != surface.width || maker.modeHeight != surface.height);
      ASSERT_EQ(surface.surface->Restore(), wrongMode ? DDERR_WRONGMODE : DD_OK);
      if (wrongMode) return;
      surface.lost = false;
      if (surface.back >= 0) surfaces_[static_cast<std::size_t>(surface.back)].lost = false;
    }
  }

  // Normal or exclusive mode; exclusive for a window the display's was not last taken for, by
  // any object, loses this object's display memory.
  void changeCooperativeLevel() {
    const int index = pickAlive(directDraws_);
    if (index < 0) return;
    DirectDrawEntry& entry = directDraws_[static_cast<std::size_t>(index)];
    HWND window = windows_[static_cast<std::size_t>(pick(3))];
    if (pick(2) == 0) {
      ASSERT_EQ(entry.object->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
      entry.exclusive = false;
      return;
    }
    ASSERT_EQ(entry.object->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    entry.exclusive = true;
    if (window != std::exchange(exclusiveWindow_, window)) loseDisplayMemory(index);
  }

  // The primary, its flip chain and every video-memory surface of one object.
  void loseDisplayMemory(int directDraw) {
    for (SurfaceEntry& surface : surfaces_)
      if (surface.alive && surface.maker == directDraw &&
          (surface.videoMemory || surface.primary || surface.front >= 0))
        surface.lost = true;
  }

  void setDisplayMode() {
    const int index = pickAlive(directDraws_);
    if (index < 0) return;
    DirectDrawEntry& entry = directDraws_[static_cast<std::size_t>(index)];
    const bool small = pick(2) == 0;
    ASSERT_EQ(entry.object->SetDisplayMode(small ? 320 : 640, small ? 240 : 480, 8), DD_OK);
    entry.modeWidth = small ? 320 : 640;
    entry.modeHeight = small ? 240 : 480;
    loseDisplayMemory(index);
  }

  // A plain primary, or in exclusive mode a flip chain whose back buffer the caller also holds.
  void createPrimary() {
    const int maker = pickAlive(directDraws_);
    if (maker < 0) return;
    DirectDrawEntry& entry = directDraws_[static_cast<std::size_t>(maker)];
    const bool chain = entry.exclusive && pick(2) == 0;
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | (chain ? DDSD_BACKBUFFERCOUNT : 0);
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | (chain ? DDSCAPS_COMPLEX | DDSCAPS_FLIP : 0);
    desc.dwBackBufferCount = chain ? 1 : 0;
    SurfaceEntry primary;
    const HRESULT result = entry.object->CreateSurface(&desc, &primary.surface, nullptr);
    if (entry.primary >= 0) {
      ASSERT_EQ(result, DDERR_PRIMARYSURFACEALREADYEXISTS);
      return;
    }
    ASSERT_EQ(result, DD_OK);
    primary.maker = maker;
    primary.primary = true;
    primary.references = 1;
    primary.alive = true;
    primary.width = entry.modeWidth != 0 ? entry.modeWidth : 640;
    primary.height = entry.modeHeight != 0 ? entry.modeHeight : 480;
    entry.primary = static_cast<int>(surfaces_.size());
    surfaces_.push_back(primary);
    if (!chain) return;
    SurfaceEntry back = primary;
    back.primary = false;
    DDSCAPS caps{DDSCAPS_BACKBUFFER};
    ASSERT_EQ(primary.surface->GetAttachedSurface(&caps, &back.surface), DD_OK);
    back.references = 2;  // the chain's and the caller's
    back.front = entry.primary;
    surfaces_[static_cast<std::size_t>(entry.primary)].back = static_cast<int>(surfaces_.size());
    surfaces_.push_back(back);
  }

  // Flips a primary mostly, and now and then any surface.
  void flip() {
    int index = pickAlive(surfaces_);
    const int directDraw = pickAlive(directDraws_);
    if (directDraw >= 0 && pick(4) != 0)
      index = directDraws_[static_cast<std::size_t>(directDraw)].primary;
    if (index < 0) return;
    const SurfaceEntry& surface = surfaces_[static_cast<std::size_t>(index)];
    const HRESULT result = surface.surface->Flip(nullptr, DDFLIP_WAIT);
    HRESULT expected = DD_OK;
    if (surface.back < 0) {
      expected = DDERR_NOTFLIPPABLE;
    } else {
      const SurfaceEntry& back = surfaces_[static_cast<std::size_t>(surface.back)];
      if (!directDraws_[static_cast<std::size_t>(surface.maker)].exclusive)
        expected = DDERR_NOEXCLUSIVEMODE;
      else if (surface.lost || (surface.dc == nullptr && back.lost))
        expected = DDERR_SURFACELOST;
      else if (surface.dc != nullptr || back.dc != nullptr)
        expected = DDERR_SURFACEBUSY;
    }
    ASSERT_EQ(result, expected);
  }

  void fill() {
    const int index = pickAlive(surfaces_);
    if (index < 0) return;
    SurfaceEntry& surface = surfaces_[static_cast<std::size_t>(index)];
    DDBLTFX effects{};
    effects.dwSize = sizeof effects;
    effects.dwFillColor = static_cast<DWORD>(pick(256));
    const HRESULT result =
        surface.surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &effects);
    ASSERT_EQ(result, surface.lost            ? DDERR_SURFACELOST
                      : surface.dc != nullptr ? DDERR_SURFACEBUSY
                                              : DD_OK);
  }

  void changeEntries() {
    const int index = pickAlive(attachables_);
    if (index < 0 || !attachables_[static_cast<std::size_t>(index)].isPalette) return;
    auto* palette =
        static_cast<IDirectDrawPalette*>(attachables_[static_cast<std::size_t>(index)].object);
    PALETTEENTRY colour{BYTE(pick(256)), 0, 0, 0};
    ASSERT_EQ(palette->SetEntries(0, static_cast<DWORD>(pick(256)), 1, &colour), DD_OK);
  }

  std::mt19937 random_;
  HWND windows_[3] = {};
  HWND exclusiveWindow_ = nullptr;  // the window the display's exclusive mode was last taken for
  std::vector<DirectDrawEntry> directDraws_;
  std::vector<SurfaceEntry> surfaces_;
  std::vector<AttachableEntry> attachables_;
  std::vector<HDC> staleDCs_;
};

}  // namespace

TEST(DirectDrawLifetimeStress, RandomCallsKeepEveryCountAndFreeEverything) {
  for (unsigned seed : {1u, 2u, 3u, 20261210u}) {
    std::printf("lifetime stress seed %u\n", seed);
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    LifetimeModel model(seed);
    for (int step = 0; step < 4000; ++step) {
      SCOPED_TRACE(testing::Message() << "step " << step);
      model.step();
      if (testing::Test::HasFatalFailure()) return;
    }
    model.releaseAll();
    if (testing::Test::HasFatalFailure()) return;
    EXPECT_EQ(compat::testing::liveObjects(), compat::testing::LiveObjects{});
  }
}
