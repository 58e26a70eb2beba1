#include "platform/sdl/sdl_ending_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <thread>

namespace sdl {
namespace {

constexpr int endingSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM};

// The handler does the one thing a signal handler may: it writes the signal's number into a
// pipe. The watcher thread reads it and does the rest in ordinary code.
int signalPipe[2] = {-1, -1};

void onEndingSignal(int signal) {
  const int saved = errno;
  const unsigned char number = static_cast<unsigned char>(signal);
  const ssize_t ignored = write(signalPipe[1], &number, 1);
  (void)ignored;  // a full pipe already holds a signal to act on
  errno = saved;
}

void watch(void (*finish)()) {
  unsigned char number = 0;
  for (;;) {
    const ssize_t got = read(signalPipe[0], &number, 1);
    if (got == 1) break;
    if (got < 0 && errno == EINTR) continue;
    return;  // the pipe is gone: nothing will come
  }
  finish();
  // The signal's own ending, as if it had never been caught: its status, or its core dump.
  const int signal = number;
  struct sigaction byDefault {};
  byDefault.sa_handler = SIG_DFL;
  sigemptyset(&byDefault.sa_mask);
  sigaction(signal, &byDefault, nullptr);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, signal);
  pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
  raise(signal);
  _exit(128 + signal);  // not reached: the default action of each ends the process
}

}  // namespace

void finishBeforeEndingSignals(void (*finish)()) {
  static bool watching = false;
  if (!watching) {
    if (pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    // The watcher waits on its end; the handler never waits.
    fcntl(signalPipe[0], F_SETFL, fcntl(signalPipe[0], F_GETFL) & ~O_NONBLOCK);
    std::thread(watch, finish).detach();
    watching = true;
  }
  for (const int signal : endingSignals) {
    struct sigaction current {};
    if (sigaction(signal, nullptr, &current) != 0) continue;
    const bool taken = (current.sa_flags & SA_SIGINFO) != 0 || current.sa_handler != SIG_DFL;
    if (taken) continue;
    struct sigaction action {};
    action.sa_handler = onEndingSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
  }
}

}  // namespace sdl
