// The engine's lockSurface and unlockSurface.
#include "tests/support/engine_slots_fixture.h"

using compat::testing::DirectDrawCall;

TEST_F(EngineSlotsTest, LockRecordsAddressAndPitchOfTheSlot) {
  displayEngine.lockSurface(2);
  ASSERT_NE(surfaceBits[2], nullptr);
  EXPECT_GE(surfacePitch[2], 320);
  EXPECT_EQ(displayEngine.surfaceDesc[2].dwSize, sizeof(DDSURFACEDESC));
  EXPECT_EQ(displayEngine.surfaceDesc[2].lpSurface, surfaceBits[2]);
  // A second slot locks meanwhile; the two unlock in either order.
  displayEngine.lockSurface(3);
  ASSERT_NE(surfaceBits[3], nullptr);
  EXPECT_NE(surfaceBits[3], surfaceBits[2]);
  EXPECT_EQ(displayEngine.unlockSurface(2), DD_OK);
  EXPECT_EQ(displayEngine.unlockSurface(3), DD_OK);
  EXPECT_EQ(displayEngine.unlockSurface(3), DDERR_NOTLOCKED);
}

TEST_F(EngineSlotsTest, UnlockHandsBackTheLocksOwnAddress) {
  displayEngine.lockSurface(2);
  uint8_t* locked = surfaceBits[2];
  // As a page flip exchanges recorded addresses between slots.
  surfaceBits[2] = surfaceBits[3];
  EXPECT_EQ(displayEngine.unlockSurface(2), DD_OK);
  surfaceBits[2] = locked;
}

TEST_F(EngineSlotsTest, FailedLockLeavesANullAddressAndZeroPitch) {
  displayEngine.lockSurface(2);
  displayEngine.unlockSurface(2);
  ASSERT_NE(surfaceBits[2], nullptr);
  compat::testing::failCall(DirectDrawCall::Lock, DDERR_SURFACEBUSY);
  displayEngine.lockSurface(2);
  EXPECT_EQ(surfaceBits[2], nullptr);
  EXPECT_EQ(surfacePitch[2], 0);
}

TEST_F(EngineSlotsTest, ALockOfASlotWithoutASurfaceLeavesNoAddress) {
  displayEngine.lockSurface(2);
  displayEngine.unlockSurface(2);
  ASSERT_NE(surfaceBits[2], nullptr);
  // The slot's surface goes, as at shutdown; the address of its last lock must not outlive it.
  surfaces[2]->Release();
  surfaces[2] = nullptr;
  displayEngine.lockSurface(2);
  EXPECT_EQ(surfaceBits[2], nullptr);
  EXPECT_EQ(surfacePitch[2], 0);
  EXPECT_EQ(displayEngine.surfaceDesc[2].lpSurface, nullptr);
}
