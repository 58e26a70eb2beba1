// What happens when the X server goes away under a running program.
#pragma once

namespace sdl {

// From now on, losing the X display ends the process at once with status 1. Xlib's own
// handler calls exit(), whose clean-up (SDL_Quit) talks to the dead server again and hangs;
// there is nothing left to clean up on a display that is gone. SIGPIPE is ignored from then on,
// so that losing the display's socket reaches the handler. A crash while the X server's end of
// the connection is closed (the GL library reading an answer that never came) is the same loss.
void endProcessOnDisplayLoss();

}  // namespace sdl
