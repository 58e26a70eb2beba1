// The demo's entry point. The command line is not used.
#include "demo/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR /*commandLine*/,
                   int showCommand) {
  initApplication(instance, previousInstance, showCommand);
  runFrameLoop();
}
