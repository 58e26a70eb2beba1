// What the real screen remembers between runs: whether a full-screen program was last shown
// in a window or full-screen, and the window's size and place. A small text file in the user's
// state folder ($XDG_STATE_HOME/rotozoom, else ~/.local/state/rotozoom). A missing, unreadable,
// corrupt or absurd file is ignored; a folder that cannot be written changes nothing else.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace sdl {

struct WindowArea {
  int x;
  int y;
  int width;
  int height;
};

struct DisplayState {
  bool windowed = false;
  WindowArea window{0, 0, 0, 0};
};

// The state file's path; empty when neither XDG_STATE_HOME nor HOME says where it goes.
std::string displayStatePath();

// The state in the file, if it is well-formed and its window is sensible: a size of 1 to 16384
// pixels each way, and a place where at least a corner of 64 x 64 pixels lies on one of
// `screens` (the desktop's displays).
std::optional<DisplayState> readDisplayState(const std::string& path,
                                             const std::vector<WindowArea>& screens);

// Writes the state (to a new file, then renamed over the old one). False when it cannot.
bool writeDisplayState(const std::string& path, const DisplayState& state);

// The text of the file, and its reading: for the tests of each.
std::string displayStateText(const DisplayState& state);
std::optional<DisplayState> parseDisplayState(const std::string& text,
                                              const std::vector<WindowArea>& screens);

}  // namespace sdl
