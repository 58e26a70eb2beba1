// For the SDL screen's tests on the dummy driver, which read the picture back through SDL's
// renderer: without GL the screen would draw on the processor there (SDL's renderer being its
// software one), so SDL's renderer is asked for unless a test asks for another path itself
// (the path choice's tests do).
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class RendererAskedFor : public ::testing::Environment {
 public:
  void SetUp() override { setenv("ROTOZOOM_RENDERER", "sdl", 0); }
};

// gtest owns the environment.
[[maybe_unused]] ::testing::Environment* const rendererAskedFor =
    ::testing::AddGlobalTestEnvironment(new RendererAskedFor);

}  // namespace
