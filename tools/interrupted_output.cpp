#include "tools/interrupted_output.h"

#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

namespace {

// What the handler needs, set before it is installed: it may use only what is safe in a
// signal handler (lstat, unlink, raise), so nothing is allocated or freed there. The path is
// never destroyed, so that a signal during the exit's clean-up still finds it.
std::string& removedPath = *new std::string;
dev_t removedDevice = 0;
ino_t removedInode = 0;
volatile std::sig_atomic_t armed = 0;

void onInterrupt(int signal) {
  struct stat status;
  if (armed != 0 && lstat(removedPath.c_str(), &status) == 0 && status.st_dev == removedDevice &&
      status.st_ino == removedInode)
    unlink(removedPath.c_str());
  // The handler was installed for one delivery: raised again, the signal ends the process with
  // its own status once the handler returns.
  raise(signal);
}

}  // namespace

void removeOnInterrupt(const std::string& path, int descriptor) {
  struct stat status;
  if (fstat(descriptor, &status) != 0) return;
  removedPath = path;
  removedDevice = status.st_dev;
  removedInode = status.st_ino;
  armed = 1;
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction previous {};
    if (sigaction(signal, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
  }
}

void keepOnInterrupt() { armed = 0; }
