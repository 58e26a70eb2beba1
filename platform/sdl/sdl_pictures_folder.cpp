#include "platform/sdl/sdl_pictures_folder.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "platform/files/regular_file.h"

namespace sdl {
namespace {

constexpr std::size_t largestUserDirs = 64 * 1024;

std::string absoluteVariable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] == '/' ? value : "";
}

bool isFolder(const std::string& path) {
  struct stat status;
  return !path.empty() && path[0] == '/' && stat(path.c_str(), &status) == 0 &&
         S_ISDIR(status.st_mode);
}

// The file's text; empty when it is missing, not a regular file (a pipe would block) or huge.
std::string readSmallFile(const std::string& path) {
  std::FILE* file = openRegularFile(path.c_str());
  if (file == nullptr) return {};
  std::string text(largestUserDirs + 1, '\0');
  text.resize(std::fread(text.data(), 1, text.size(), file));
  std::fclose(file);
  return text.size() > largestUserDirs ? std::string() : text;
}

}  // namespace

std::optional<std::string> picturesFolderIn(const std::string& userDirs, const std::string& home) {
  std::istringstream lines(userDirs);
  std::string line;
  std::optional<std::string> found;
  while (std::getline(lines, line)) {
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#') continue;
    const std::string key = "XDG_PICTURES_DIR=";
    if (line.compare(start, key.size(), key) != 0) continue;
    // The value, quoted as the tools write it, with backslash escapes.
    std::string raw = line.substr(start + key.size());
    while (!raw.empty() && (raw.back() == ' ' || raw.back() == '\t' || raw.back() == '\r'))
      raw.pop_back();
    if (raw.size() >= 2 && raw.front() == '"' && raw.back() == '"')
      raw = raw.substr(1, raw.size() - 2);
    std::string value;
    for (std::size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] == '\\' && i + 1 < raw.size()) ++i;
      value += raw[i];
    }
    const std::string homeMark = "$HOME";
    if (value.compare(0, homeMark.size(), homeMark) == 0 &&
        (value.size() == homeMark.size() || value[homeMark.size()] == '/')) {
      if (home.empty()) continue;
      value = home + value.substr(homeMark.size());
    }
    if (value.empty() || value[0] != '/') continue;
    found = value;  // the last setting counts, as the shell that reads the file would have it
  }
  return found;
}

std::string picturesFolder() {
  const std::string home = absoluteVariable("HOME");
  const std::string fromEnvironment = absoluteVariable("XDG_PICTURES_DIR");
  if (isFolder(fromEnvironment)) return fromEnvironment;
  std::string config = absoluteVariable("XDG_CONFIG_HOME");
  if (config.empty() && !home.empty()) config = home + "/.config";
  if (!config.empty()) {
    const std::optional<std::string> configured =
        picturesFolderIn(readSmallFile(config + "/user-dirs.dirs"), home);
    if (configured && isFolder(*configured)) return *configured;
  }
  if (!home.empty() && isFolder(home + "/Pictures")) return home + "/Pictures";
  if (isFolder(home)) return home;
  return {};
}

}  // namespace sdl
