// Kept apart: X11's header defines macros (None, Bool, Status) that clash with other code.
#include "platform/sdl/sdl_display_loss.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "platform/sdl/sdl_recording.h"

namespace sdl {
namespace {

int onDisplayLost(Display*) {
  static const char message[] = "screen: the display went away\n";
  const ssize_t ignored = write(STDERR_FILENO, message, sizeof message - 1);
  (void)ignored;
  finishRecordingBeforeExit();  // needs no display: the video goes to its file
  _exit(1);
}

int displaySocket = -1;  // SDL's connection to the X server
struct sigaction crashBefore {};

// Whether the X server's end of the connection is closed: only the system's own calls, as a
// signal handler may make.
bool displayConnectionEnded() {
  if (displaySocket < 0) return false;
  pollfd watched{displaySocket, POLLIN, 0};
  if (poll(&watched, 1, 0) != 1) return false;
  if ((watched.revents & (POLLHUP | POLLERR)) != 0) return true;
  char byte = 0;
  const ssize_t read = recv(displaySocket, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
  return read == 0 || (read < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR);
}

// Libraries that talk to the X server through XCB (the GL library does) may read an answer
// that never came from a server gone away, and crash, before Xlib has seen the loss: that is
// the display going away too. Any other crash goes on as it would have.
void onCrash(int signal, siginfo_t* info, void*) {
  const int savedErrno = errno;
  if (displayConnectionEnded()) onDisplayLost(nullptr);
  errno = savedErrno;
  sigaction(signal, &crashBefore, nullptr);
  if (info->si_code <= 0) raise(signal);  // sent, not a fault that comes back on return
}

// The socket of SDL's X connection, seen through a hidden window made for the purpose: SDL
// names its connection only for a window.
int sdlDisplaySocket() {
  SDL_Window* probe = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_HIDDEN);
  if (probe == nullptr) return -1;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  int socket = -1;
  if (SDL_GetWindowWMInfo(probe, &info) == SDL_TRUE && info.subsystem == SDL_SYSWM_X11)
    socket = ConnectionNumber(info.info.x11.display);
  SDL_DestroyWindow(probe);
  return socket;
}

}  // namespace

void endProcessOnDisplayLoss() {
  // A write to the X server's closed socket would otherwise end the process by SIGPIPE, silently
  // and before Xlib could see the loss and call the handler.
  signal(SIGPIPE, SIG_IGN);
  XSetIOErrorHandler(onDisplayLost);
  displaySocket = sdlDisplaySocket();
  struct sigaction crash {};
  crash.sa_sigaction = onCrash;
  crash.sa_flags = SA_SIGINFO;
  sigemptyset(&crash.sa_mask);
  sigaction(SIGSEGV, &crash, &crashBefore);
}

}  // namespace sdl
