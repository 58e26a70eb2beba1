#include "tests/support/demo_fixture.h"

#include <cstdlib>
#include <string>

#include "demo/animation.h"
#include "demo/frame_presentation.h"
#include "demo/startup.h"
#include "demo/texture_mapper.h"

void DemoTest::makeSampleTexture() {
  const std::string command = std::string(MAKE_TEXTURE_PATH) + " texture.bmp";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

void DemoTest::startDemo() { initApplication(GetModuleHandleA(nullptr), nullptr, SW_SHOWDEFAULT); }

void DemoTest::runFrame() {
  advanceAnimation();
  mapTextureBlocks();
  finishFrame();
}
