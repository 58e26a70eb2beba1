// What the rest of the SDL screen needs of the recording beyond the screen's own members
// (sdl_recording.cpp): a way to finish it on the paths that end the process without std::exit.
#pragma once

namespace sdl {

// Finishes the recording in progress, if any, so that its file plays to the last frame
// written (or is removed when it cannot be finished). For the display-loss path, which ends
// the process at once with _exit; std::exit finishes it by itself.
void finishRecordingBeforeExit();

}  // namespace sdl
