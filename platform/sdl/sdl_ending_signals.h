// Signals that end the process (the terminal closed, Ctrl+C, Ctrl+\, a kill) while a file is
// being written that only its end makes whole: a recording's video has its index written last,
// and a video cut off before it plays nowhere.
#pragma once

namespace sdl {

// From now on, SIGHUP, SIGINT, SIGQUIT and SIGTERM, each where nothing else has taken it (SDL
// turns SIGINT and SIGTERM into a quit event the program ends on by itself, and a program
// started with nohup ignores SIGHUP), run `finish` on a thread of its own and then end the
// process as the signal does by default (status 128 + the signal's number, SIGQUIT's core
// dump). `finish` must be safe to run while the program's own threads go on. The first call's
// `finish` is the one run; a later call takes the signals that have been given back since (SDL
// gives SIGINT and SIGTERM back when it quits, and a signal then would otherwise end the
// process at once).
void finishBeforeEndingSignals(void (*finish)());

}  // namespace sdl
