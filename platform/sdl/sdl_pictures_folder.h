// Where a user keeps pictures, for screenshots that cannot go to the current folder (a program
// started from the desktop's menu runs in a system folder no user can write). The XDG user
// directories' rule: XDG_PICTURES_DIR from the environment, else from user-dirs.dirs in the
// configuration folder ($XDG_CONFIG_HOME, else ~/.config).
#pragma once

#include <optional>
#include <string>

namespace sdl {

// The pictures folder: XDG_PICTURES_DIR from the environment or from user-dirs.dirs, else
// ~/Pictures, else the home folder; each taken only when it is an existing folder given by an
// absolute path. Empty when there is none.
std::string picturesFolder();

// XDG_PICTURES_DIR's value in the text of a user-dirs.dirs file, "$HOME" at its start replaced
// by `home`; nothing when the file does not set it to "$HOME/..." or an absolute path.
std::optional<std::string> picturesFolderIn(const std::string& userDirs, const std::string& home);

}  // namespace sdl
