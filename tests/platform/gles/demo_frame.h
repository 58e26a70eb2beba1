// A frame of the demo itself, for the looks to be judged on what users see: the sample
// texture made by make-texture, one frame captured by rotozoom-capture, read back.
#pragma once

#include <string>

#include "tests/platform/gles/gles_test_context.h"

namespace gles_test {

// Frame `number` of the demo, as its indices and palette. False, with the reason, when the
// tools or the file fail.
bool demoFrame(int number, Picture& picture, compat::Palette& palette, std::string& error);

}  // namespace gles_test
