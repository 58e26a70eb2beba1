// The demo's own start-up path up to the display: the main window, then setupDisplay.
#pragma once

#include <gtest/gtest.h>

#include "display/display_engine.h"
#include "host/main_window.h"
#include "host/shared_data.h"
#include "platform/compat/testing.h"

class EngineSetupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (mainWindow == nullptr) {
      ASSERT_EQ(createMainWindow(GetModuleHandleA(nullptr), nullptr, SW_SHOW), 1);
    }
  }

  void TearDown() override {
    displayEngine.shutdownDisplay();
    compat::testing::clearFailures();
  }

  // The demo's full-screen 320 x 240 x 8 display, or a windowed one, with `slots` slots.
  void setUpFullScreen(int32_t slots = 6) {
    ASSERT_EQ(displayEngine.setupDisplay(mainWindow, 320, 240, 1, 8, slots), 1);
  }
  void setUpWindowed(int32_t slots = 6) {
    ASSERT_EQ(displayEngine.setupDisplay(mainWindow, 320, 240, 0, 8, slots), 1);
  }
};
