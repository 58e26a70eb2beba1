#include "tools/replaced_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "tools/interrupted_output.h"

namespace {

// The name to replace: through symbolic links to what they name, so that links stay links
// (a link to a file not there yet leads to where the file is made, as opening it would).
std::string targetOf(std::string path) {
  for (int depth = 0; depth < 40; ++depth) {  // as deep as the kernel follows links
    struct stat status;
    if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
    std::string link(static_cast<std::size_t>(status.st_size) + 1, '\0');
    const ssize_t length = readlink(path.c_str(), link.data(), link.size());
    if (length < 0 || static_cast<std::size_t>(length) >= link.size()) return path;
    link.resize(static_cast<std::size_t>(length));
    const std::size_t slash = path.rfind('/');
    path = link.starts_with('/') || slash == std::string::npos ? link
                                                               : path.substr(0, slash + 1) + link;
  }
  return path;
}

bool writeAll(int descriptor, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = write(descriptor, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      if (written == 0) errno = ENOSPC;
      return false;
    }
    done += static_cast<std::size_t>(written);
  }
  return true;
}

// While it lives, a write beyond the file-size limit fails with EFBIG instead of ending the
// process with SIGXFSZ, which would leave the hidden file behind.
class FileSizeSignalIgnored {
 public:
  FileSizeSignalIgnored() : previous_(std::signal(SIGXFSZ, SIG_IGN)) {}
  ~FileSizeSignalIgnored() {
    if (previous_ != SIG_ERR) std::signal(SIGXFSZ, previous_);
  }
  FileSizeSignalIgnored(const FileSizeSignalIgnored&) = delete;
  FileSizeSignalIgnored& operator=(const FileSizeSignalIgnored&) = delete;

 private:
  void (*previous_)(int);
};

}  // namespace

std::string replaceFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  const std::string target = targetOf(path);
  const mode_t mask = umask(0);
  umask(mask);
  mode_t mode = 0666 & ~mask;
  struct stat status;
  if (stat(target.c_str(), &status) == 0) {
    if (S_ISDIR(status.st_mode)) return std::strerror(EISDIR);
    if (S_ISFIFO(status.st_mode)) return "a named pipe, not a file";
    if (!S_ISREG(status.st_mode)) return "not a regular file";
    mode = status.st_mode & 07777;
  } else if (errno != ENOENT) {
    return std::strerror(errno);  // a loop of links, a folder on the way that is none, ...
  }
  const std::size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  // Made by mkostemp's exclusive creation: nothing planted under a name we would pick is
  // followed or shared, and two runs never write the same hidden file.
  std::string partial = folder + "." + base + ".XXXXXX";
  const int descriptor = mkostemp(partial.data(), O_CLOEXEC);
  if (descriptor < 0) return std::string("cannot write: ") + std::strerror(errno);
  removeOnInterrupt(partial, descriptor);
  bool done;
  {
    const FileSizeSignalIgnored ignored;
    done = writeAll(descriptor, bytes) && fchmod(descriptor, mode) == 0 && fsync(descriptor) == 0;
  }
  int error = errno;
  if (close(descriptor) != 0 && done) {
    done = false;
    error = errno;
  }
  if (done && std::rename(partial.c_str(), target.c_str()) != 0) {
    done = false;
    error = errno;
  }
  if (!done) unlink(partial.c_str());
  keepOnInterrupt();
  return done ? "" : std::string("cannot write: ") + std::strerror(error);
}

bool sameFile(const std::string& first, const std::string& second) {
  struct stat one, other;
  return stat(first.c_str(), &one) == 0 && stat(second.c_str(), &other) == 0 &&
         one.st_dev == other.st_dev && one.st_ino == other.st_ino;
}
