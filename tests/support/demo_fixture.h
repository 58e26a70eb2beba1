// The demo started as it starts itself, on the headless screen, in a temporary folder that
// holds the sample texture.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "tests/support/bmp_files.h"

class DemoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(folder_.path(""));
  }
  void TearDown() override { std::filesystem::current_path(previous_); }

  // Writes the sample texture as texture.bmp, with the tool users run.
  void makeSampleTexture();
  // The demo's start-up, as WinMain runs it.
  void startDemo();
  // One pass of the frame loop.
  void runFrame();

  support::TemporaryFolder folder_;
  std::filesystem::path previous_;
};
