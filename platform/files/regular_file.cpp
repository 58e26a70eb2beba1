#include "platform/files/regular_file.h"

#include <sys/stat.h>

#ifdef _WIN32

// Windows keeps pipes and devices out of a folder's names, so a plain open cannot block; the
// check after it turns a folder or a device name away.
std::FILE* openRegularFile(const char* name) {
  if (name == nullptr) return nullptr;
  std::FILE* file = std::fopen(name, "rb");
  if (file == nullptr) return nullptr;
  struct _stat64 status;
  if (_fstat64(_fileno(file), &status) != 0 || (status.st_mode & _S_IFMT) != _S_IFREG) {
    std::fclose(file);
    return nullptr;
  }
  return file;
}

#else

#include <fcntl.h>
#include <unistd.h>

// Opened without blocking (a pipe with no writer would block a plain open), checked on the
// descriptor itself so that nothing can be swapped in between, then made blocking again for
// ordinary buffered reads.
std::FILE* openRegularFile(const char* name) {
  if (name == nullptr) return nullptr;
  const int descriptor = open(name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (descriptor < 0) return nullptr;
  struct stat status;
  const int flags = fcntl(descriptor, F_GETFL);
  if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || flags < 0 ||
      fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    close(descriptor);
    return nullptr;
  }
  std::FILE* file = fdopen(descriptor, "rb");
  if (file == nullptr) close(descriptor);
  return file;
}

#endif
