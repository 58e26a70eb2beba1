// A presenter started on the test context, and the steps every look test takes: show a picture
// with its palette on a drawable of some size, in a look, and read back what is on it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/gles/gles_presenter.h"
#include "tests/platform/gles/gles_test_context.h"

namespace gles_test {

class LookTest : public ::testing::Test {
 protected:
  // Starts the presenter on the first call; later calls move the context to a new drawable.
  void drawOn(int width, int height) {
    std::string error;
    ASSERT_TRUE(context_.drawOn(width, height, error)) << error;
    if (!presenter_.started()) {
      ASSERT_TRUE(presenter_.start(context_.functions()));
    }
    width_ = width;
    height_ = height;
  }
  void show(const Picture& picture, const compat::Palette& palette) {
    ASSERT_TRUE(
        presenter_.setPicture(picture.pixels.data(), picture.width, picture.height, picture.pitch));
    presenter_.setPalette(palette);
  }
  Rgba drawn(compat::Look look) {
    presenter_.draw(width_, height_, look);
    return context_.readBack();
  }

  // Declared first, so that the presenter is released while the context is still there.
  GlContext context_;
  gles::GlesPresenter presenter_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace gles_test
