// An output file an interrupted run would leave unfinished: rotozoom-capture makes its video's
// file before the run, and a Ctrl+C, a closed terminal or a kill would otherwise leave it
// behind, empty or without the index that makes it play, and refuse its name on the next run.
#pragma once

#include <string>

// From now until keepOnInterrupt(), SIGINT, SIGTERM and SIGHUP (those not ignored) remove the
// file at `path`, while that name still leads to the file open as `descriptor`, and then end
// the process as the signal does.
void removeOnInterrupt(const std::string& path, int descriptor);

// The file is finished: an interruption leaves it.
void keepOnInterrupt();
