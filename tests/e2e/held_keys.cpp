// held-keys: the keys the X server holds down now, one name a line; status 1 when any is held.
// A test that ends a program with a key sees here whether the key's release reached the
// server: a key left held repeats into the next program started on the same display.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

#include <cstdio>

int main() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "held-keys: cannot open the display\n");
    return 2;
  }
  char keys[32];
  XQueryKeymap(display, keys);
  int held = 0;
  for (int code = 8; code < 256; ++code) {
    if ((keys[code / 8] & (1 << (code % 8))) == 0) continue;
    const KeySym symbol = XkbKeycodeToKeysym(display, static_cast<KeyCode>(code), 0, 0);
    const char* name = symbol != NoSymbol ? XKeysymToString(symbol) : nullptr;
    std::printf("%s\n", name != nullptr ? name : "?");
    ++held;
  }
  XCloseDisplay(display);
  return held > 0 ? 1 : 0;
}
