#include "host/display_hooks.h"

namespace {

struct RegisteredHook {
  DisplayHook hook = nullptr;
  void* context = nullptr;

  void run() const {
    if (hook != nullptr) hook(context);
  }
};

// Constant-initialised, so they hold before any object registers during start-up.
RegisteredHook teardownHook;
RegisteredHook windowMovedHook;

}  // namespace

void registerDisplayTeardown(DisplayHook teardown, void* context) {
  teardownHook = {teardown, context};
}

void registerWindowMoved(DisplayHook windowMoved, void* context) {
  windowMovedHook = {windowMoved, context};
}

void tearDownDisplay() { teardownHook.run(); }

void tellDisplayWindowMoved() { windowMovedHook.run(); }
