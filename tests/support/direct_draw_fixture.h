// A DirectDraw object for each test, released at the end so that every test also checks that
// teardown frees what it created; each test starts as a program that has not yet taken the
// display's exclusive mode.
#pragma once

#include <gtest/gtest.h>

#include "platform/compat/testing.h"
#include "platform/win32.h"
#include "tests/support/surface_access.h"

class DirectDrawTest : public ::testing::Test {
 protected:
  // Starts in the normal cooperative level; full-screen tests switch to exclusive.
  void SetUp() override {
    compat::testing::forgetExclusiveWindow();
    ASSERT_EQ(DirectDrawCreate(nullptr, &directDraw_, nullptr), DD_OK);
    useWindowedMode();
  }

  void TearDown() override {
    if (directDraw_ != nullptr) {
      EXPECT_EQ(directDraw_->Release(), 0u);
    }
    compat::testing::clearFailures();
    EXPECT_EQ(compat::testing::liveObjects(), compat::testing::LiveObjects{});
  }

  void useWindowedMode() {
    ASSERT_EQ(directDraw_->SetCooperativeLevel(compat::testing::testWindow(), DDSCL_NORMAL), DD_OK);
  }

  // Exclusive full-screen at width x height, 8 bits per pixel.
  void useFullScreen(DWORD width = 320, DWORD height = 240) {
    ASSERT_EQ(directDraw_->SetCooperativeLevel(compat::testing::testWindow(),
                                               DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN),
              DD_OK);
    ASSERT_EQ(directDraw_->SetDisplayMode(width, height, 8), DD_OK);
  }

  IDirectDrawSurface* offscreen(int width, int height) {
    return support::createOffscreen(directDraw_, width, height);
  }

  // The object's primary surface alone, no back buffer: null where it cannot be made.
  IDirectDrawSurface* singlePrimary() {
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    IDirectDrawSurface* primary = nullptr;
    return directDraw_->CreateSurface(&desc, &primary, nullptr) == DD_OK ? primary : nullptr;
  }

  // A 16 x 16 surface holding each index once.
  IDirectDrawSurface* patterned(int seed = 0) {
    IDirectDrawSurface* surface = offscreen(16, 16);
    support::writeSurface(surface, [seed](int x, int y) { return support::patternAt(x, y, seed); });
    return surface;
  }

  IDirectDraw* directDraw_ = nullptr;
};
