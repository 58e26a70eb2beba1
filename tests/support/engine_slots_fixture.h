// The engine's surface table filled by hand with 320 x 240 system-memory surfaces, for tests
// of the pixel routines that need no display set-up.
#pragma once

#include <gtest/gtest.h>

#include "display/display_engine.h"
#include "platform/compat/testing.h"
#include "tests/support/surface_access.h"

class EngineSlotsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(DirectDrawCreate(nullptr, &directDraw, nullptr), DD_OK);
    ASSERT_EQ(directDraw->SetCooperativeLevel(compat::testing::testWindow(), DDSCL_NORMAL), DD_OK);
    for (int slot : {2, 3}) putSurface(slot, 320, 240);
  }

  void TearDown() override {
    directDraw->Release();  // frees every surface it made
    for (LPDIRECTDRAWSURFACE& surface : surfaces) surface = nullptr;
    compat::testing::clearFailures();
  }

  // Replaces the slot's surface with a new one of the given size.
  void putSurface(int slot, int width, int height) {
    if (surfaces[slot] != nullptr) surfaces[slot]->Release();
    surfaces[slot] = support::createOffscreen(directDraw, width, height);
    ASSERT_NE(surfaces[slot], nullptr);
  }

  IDirectDraw* directDraw = nullptr;
};
