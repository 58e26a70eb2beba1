// Kept apart: X11's header defines macros (None, Bool, Status) that clash with other code.
#include "platform/sdl/sdl_display_loss.h"

#include <X11/Xlib.h>
#include <unistd.h>

#include <csignal>

#include "platform/sdl/sdl_recording.h"

namespace sdl {
namespace {

int onDisplayLost(Display*) {
  static const char message[] = "screen: the display went away\n";
  const ssize_t ignored = write(STDERR_FILENO, message, sizeof message - 1);
  (void)ignored;
  finishRecordingBeforeExit();  // needs no display: the video goes to its file
  _exit(1);
}

}  // namespace

void endProcessOnDisplayLoss() {
  // A write to the X server's closed socket would otherwise end the process by SIGPIPE, silently
  // and before Xlib could see the loss and call the handler.
  signal(SIGPIPE, SIG_IGN);
  XSetIOErrorHandler(onDisplayLost);
}

}  // namespace sdl
