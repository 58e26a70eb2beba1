#include "platform/sdl/sdl_display_state.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "platform/files/regular_file.h"

namespace sdl {
namespace {

constexpr int largestSide = 16384;
constexpr int visibleCorner = 64;
constexpr std::size_t largestFile = 4096;
constexpr char header[] = "rotozoom display 1";

bool onSomeScreen(const WindowArea& window, const std::vector<WindowArea>& screens) {
  for (const WindowArea& screen : screens) {
    const long long left = std::max<long long>(window.x, screen.x);
    const long long top = std::max<long long>(window.y, screen.y);
    const long long right = std::min<long long>(static_cast<long long>(window.x) + window.width,
                                                static_cast<long long>(screen.x) + screen.width);
    const long long bottom = std::min<long long>(static_cast<long long>(window.y) + window.height,
                                                 static_cast<long long>(screen.y) + screen.height);
    if (right - left >= std::min(visibleCorner, window.width) &&
        bottom - top >= std::min(visibleCorner, window.height))
      return true;
  }
  return false;
}

// Makes the folder and its parents; true when it exists afterwards.
bool makeFolders(const std::string& folder) {
  for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) return true;
  }
}

// The running program's file name, from the kernel's link to it; the name it was started by
// where that link cannot be read.
std::string runningProgramName() {
  char target[4096];
  const ssize_t length = readlink("/proc/self/exe", target, sizeof target - 1);
  std::string path = length > 0 ? std::string(target, static_cast<std::size_t>(length))
                                : std::string(program_invocation_name);
  // A program whose file was replaced while it runs (rebuilt, or upgraded by the package
  // manager) is linked as "PATH (deleted)": it is still the program of that name.
  const std::string replaced = " (deleted)";
  if (length > 0 && path.size() > replaced.size() && path.ends_with(replaced))
    path.resize(path.size() - replaced.size());
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool writeAll(int descriptor, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t written = write(descriptor, text.data() + done, text.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace

std::string displayStatePathFor(const std::string& program) {
  std::string name;
  for (const char c : program) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '.' || c == '-' || c == '_';
    name += plain ? c : '_';
  }
  // Never a hidden name, nor one of the folder's own entries.
  if (name.empty() || name[0] == '.') name.insert(0, "program");
  name += ".display";
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state != nullptr && state[0] == '/') return std::string(state) + "/rotozoom/" + name;
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/')
    return std::string(home) + "/.local/state/rotozoom/" + name;
  return {};
}

std::string displayStatePath() { return displayStatePathFor(runningProgramName()); }

std::string displayStateText(const DisplayState& state) {
  std::ostringstream text;
  text << header << "\n"
       << "mode " << (state.windowed ? "window" : "fullscreen") << "\n"
       << "window " << state.window.x << " " << state.window.y << " " << state.window.width << " "
       << state.window.height << "\n"
       << "look " << compat::lookName(state.look) << "\n";
  return text.str();
}

std::optional<DisplayState> parseDisplayState(const std::string& text,
                                              const std::vector<WindowArea>& screens) {
  std::istringstream lines(text);
  std::string line;
  if (!std::getline(lines, line) || line != header) return std::nullopt;
  DisplayState state;
  bool haveMode = false, haveWindow = false;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string key, rest;
    words >> key;
    if (key == "mode") {
      std::string mode;
      if (!(words >> mode) || (mode != "window" && mode != "fullscreen")) return std::nullopt;
      state.windowed = mode == "window";
      haveMode = true;
    } else if (key == "window") {
      WindowArea& w = state.window;
      if (!(words >> w.x >> w.y >> w.width >> w.height)) return std::nullopt;
      haveWindow = true;
    } else if (key == "look") {
      // A look this build does not know (a newer one's) leaves the default.
      std::string name;
      if (!(words >> name)) return std::nullopt;
      state.look = compat::parseLook(name).value_or(compat::defaultLook);
    } else if (!key.empty()) {
      return std::nullopt;
    }
    if (words >> rest) return std::nullopt;  // trailing words
  }
  const WindowArea& w = state.window;
  if (!haveMode || !haveWindow || w.width < 1 || w.height < 1 || w.width > largestSide ||
      w.height > largestSide || !onSomeScreen(w, screens))
    return std::nullopt;
  return state;
}

std::optional<DisplayState> readDisplayState(const std::string& path,
                                             const std::vector<WindowArea>& screens) {
  if (path.empty()) return std::nullopt;
  // A named pipe or a device of that name would block the start for ever: regular files only.
  std::FILE* file = openRegularFile(path.c_str());
  if (file == nullptr) return std::nullopt;
  std::string text(largestFile + 1, '\0');
  text.resize(std::fread(text.data(), 1, text.size(), file));
  std::fclose(file);
  if (text.size() > largestFile) return std::nullopt;
  return parseDisplayState(text, screens);
}

bool writeDisplayState(const std::string& path, const DisplayState& state) {
  const std::size_t slash = path.rfind('/');
  if (path.empty() || slash == std::string::npos || !makeFolders(path.substr(0, slash)))
    return false;
  // Hidden, and made by mkostemp's exclusive creation: nothing planted under a name we would
  // pick is followed or shared, not even a symbolic link.
  std::string partial = path.substr(0, slash + 1) + "." + path.substr(slash + 1) + ".XXXXXX";
  const int descriptor = mkostemp(partial.data(), O_CLOEXEC | O_NOFOLLOW);
  if (descriptor < 0) return false;
  const bool written = writeAll(descriptor, displayStateText(state));
  if (close(descriptor) != 0 || !written || std::rename(partial.c_str(), path.c_str()) != 0) {
    unlink(partial.c_str());
    return false;
  }
  return true;
}

}  // namespace sdl
