#include "host/fatal_exit.h"

#include <cstdlib>

#include "host/display_hooks.h"
#include "host/shared_data.h"
#include "host/texts.h"

void fatalExit(const char* text) {
  // The display goes first, so that the box shows on the desktop, not behind a dead screen.
  tearDownDisplay();
  if (text != nullptr) MessageBoxA(mainWindow, text, texts::errorCaption, MB_OK);
  std::exit(1);
}

void quit() { fatalExit(nullptr); }
