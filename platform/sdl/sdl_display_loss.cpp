// Kept apart: X11's header defines macros (None, Bool, Status) that clash with other code.
#include "platform/sdl/sdl_display_loss.h"

#include <X11/Xlib.h>
#include <unistd.h>

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

void endProcessOnDisplayLoss() { XSetIOErrorHandler(onDisplayLost); }

}  // namespace sdl
