// What the real screen remembers between runs: whether a full-screen program was last shown
// in a window or full-screen, and the window's size and place. A small text file per program in
// the user's state folder ($XDG_STATE_HOME/rotozoom, else ~/.local/state/rotozoom), named after
// the program (rotozoom.display, engine-showcase.display), so that each program opens in its
// own last view. A missing, unreadable, corrupt or absurd file, or anything but a regular file,
// is ignored; a folder that cannot be written changes nothing else.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/screen_core/looks.h"

namespace sdl {

struct WindowArea {
  int x;
  int y;
  int width;
  int height;
  bool operator==(const WindowArea&) const = default;
};

struct DisplayState {
  bool windowed = false;
  WindowArea window{0, 0, 0, 0};
  compat::Look look = compat::defaultLook;  // a file without one, or of a look unknown here
};

// The running program's state file; empty when neither XDG_STATE_HOME nor HOME (each taken
// only when it is an absolute path) says where it goes.
std::string displayStatePath();
// The state file of the program of that name (its file name; characters other than letters,
// digits, '.', '-' and '_' become '_').
std::string displayStatePathFor(const std::string& program);

// The state in the file, if it is well-formed and its window is sensible: a size of 1 to 16384
// pixels each way, and a place where at least a corner of 64 x 64 pixels lies on one of
// `screens` (the desktop's displays).
std::optional<DisplayState> readDisplayState(const std::string& path,
                                             const std::vector<WindowArea>& screens);

// Writes the state to a new file of a unique name in the same folder, then renames it over the
// old one: a reader sees the old state or the new one, never a part, and two programs writing
// at once each write their own. False when it cannot.
bool writeDisplayState(const std::string& path, const DisplayState& state);

// The text of the file, and its reading: for the tests of each.
std::string displayStateText(const DisplayState& state);
std::optional<DisplayState> parseDisplayState(const std::string& text,
                                              const std::vector<WindowArea>& screens);

}  // namespace sdl
