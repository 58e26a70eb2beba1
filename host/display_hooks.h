// The two things the host does to the display without knowing it: tear it down before the
// program ends, and tell it when the main window moves. The display engine registers both
// when it comes into being, as a C program registers its video shutdown with the system's
// at-exit list, so the host depends on nothing above it. Until then both do nothing.
#pragma once

using DisplayHook = void (*)(void* context);

// Called by the display engine; `context` is handed back to the hook on each call.
void registerDisplayTeardown(DisplayHook teardown, void* context);
void registerWindowMoved(DisplayHook windowMoved, void* context);

// Called by fatalExit before any message box, and by the window procedure on WM_MOVE.
void tearDownDisplay();
void tellDisplayWindowMoved();
