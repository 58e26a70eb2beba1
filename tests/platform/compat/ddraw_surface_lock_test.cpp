// Lock and Unlock: the address and pitch they hand out, and the states they refuse.
#include "tests/support/direct_draw_fixture.h"

namespace {

DDSURFACEDESC lockRecord() {
  DDSURFACEDESC desc{};
  desc.dwSize = sizeof desc;
  return desc;
}

}  // namespace

TEST_F(DirectDrawTest, PitchIsTheWidthRoundedUpToAMultipleOfFour) {
  const struct {
    int width;
    LONG pitch;
  } cases[] = {{1, 4}, {3, 4}, {4, 4}, {5, 8}, {127, 128}, {128, 128}, {320, 320}, {321, 324}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.width);
    IDirectDrawSurface* surface = offscreen(c.width, 3);
    DDSURFACEDESC desc = lockRecord();
    ASSERT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_EQ(desc.lPitch, c.pitch);
    EXPECT_EQ(desc.dwWidth, static_cast<DWORD>(c.width));
    EXPECT_EQ(desc.dwHeight, 3u);
    EXPECT_NE(desc.lpSurface, nullptr);
    EXPECT_EQ(desc.ddpfPixelFormat.dwRGBBitCount, 8u);
    EXPECT_TRUE(desc.ddpfPixelFormat.dwFlags & DDPF_PALETTEINDEXED8);
    // The whole locked area is ours to write, padding included.
    auto* bits = static_cast<uint8_t*>(desc.lpSurface);
    for (LONG i = 0; i < desc.lPitch * 3; ++i) bits[i] = static_cast<uint8_t>(i);
    ASSERT_EQ(surface->Unlock(desc.lpSurface), DD_OK);
    surface->Release();
  }
}

TEST_F(DirectDrawTest, ASurfaceHoldsOneLockAtATime) {
  IDirectDrawSurface* surface = patterned();
  IDirectDrawSurface* other = patterned();
  DDSURFACEDESC first = lockRecord(), second = lockRecord(), third = lockRecord();
  ASSERT_EQ(surface->Lock(nullptr, &first, DDLOCK_WAIT, nullptr), DD_OK);
  EXPECT_EQ(surface->Lock(nullptr, &second, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
  EXPECT_EQ(second.lpSurface, nullptr);
  // Another surface locks meanwhile, and the two unlock in either order.
  ASSERT_EQ(other->Lock(nullptr, &third, DDLOCK_WAIT, nullptr), DD_OK);
  EXPECT_EQ(surface->Unlock(first.lpSurface), DD_OK);
  EXPECT_EQ(other->Unlock(third.lpSurface), DD_OK);
  EXPECT_EQ(surface->Unlock(first.lpSurface), DDERR_NOTLOCKED);
  EXPECT_EQ(surface->Unlock(nullptr), DDERR_NOTLOCKED);
  // Unlocked, it locks again.
  ASSERT_EQ(surface->Lock(nullptr, &second, DDLOCK_WAIT, nullptr), DD_OK);
  EXPECT_EQ(second.lpSurface, first.lpSurface);
  EXPECT_EQ(surface->Unlock(second.lpSurface), DD_OK);
  surface->Release();
  other->Release();
}

TEST_F(DirectDrawTest, LockRefusesARecordOfTheWrongSize) {
  IDirectDrawSurface* surface = patterned();
  // 108 is the record's size on 32-bit Windows; here, as on 64-bit Windows, it is larger.
  for (DWORD size : {DWORD{0}, DWORD{108}, DWORD{sizeof(DDSURFACEDESC) + 4}}) {
    if (size == sizeof(DDSURFACEDESC)) continue;
    SCOPED_TRACE(size);
    DDSURFACEDESC desc{};
    desc.dwSize = size;
    EXPECT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(desc.lpSurface, nullptr);
  }
  EXPECT_EQ(surface->Lock(nullptr, nullptr, DDLOCK_WAIT, nullptr), DDERR_INVALIDPARAMS);
  // Nothing was locked by the refused calls.
  EXPECT_EQ(surface->Unlock(nullptr), DDERR_NOTLOCKED);
  surface->Release();
}

TEST_F(DirectDrawTest, LockOfARectangleAddressesItsTopLeftPixel) {
  IDirectDrawSurface* surface = patterned();
  RECT area{3, 5, 9, 11};
  DDSURFACEDESC desc = lockRecord();
  ASSERT_EQ(surface->Lock(&area, &desc, DDLOCK_WAIT, nullptr), DD_OK);
  const auto* bits = static_cast<const uint8_t*>(desc.lpSurface);
  EXPECT_EQ(bits[0], support::patternAt(3, 5));
  EXPECT_EQ(bits[desc.lPitch + 2], support::patternAt(5, 6));
  ASSERT_EQ(surface->Unlock(desc.lpSurface), DD_OK);

  RECT outside{10, 10, 17, 12};
  EXPECT_EQ(surface->Lock(&outside, &desc, DDLOCK_WAIT, nullptr), DDERR_INVALIDPARAMS);
  EXPECT_EQ(desc.lpSurface, nullptr);
  surface->Release();
}
