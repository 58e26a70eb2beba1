// The page's events as the program's input: keys from the whole page, mouse buttons and moves
// on the canvas, each queued for the screen's next look at input. The browser's own reaction
// to a key (scrolling, a menu) is kept from keys the program takes. The page takes the
// listeners off again when the program ends.
#include <emscripten/html5.h>

#include <cstring>

#include "platform/web/web_keys.h"
#include "platform/web/web_page_calls.h"
#include "platform/web/web_screen.h"

namespace web {
namespace {

bool isDigitOrPoint(const char* key) {
  return (key[0] >= '0' && key[0] <= '9' && key[1] == '\0') ||
         ((key[0] == '.' || key[0] == ',') && key[1] == '\0');
}

EM_BOOL onKey(int type, const EmscriptenKeyboardEvent* event, void* screen) {
  // The message box's dialog answers Enter and Escape itself.
  if (dialogOpen()) return EM_FALSE;
  const std::string_view code = event->code;
  // Num Lock is on when a keypad digit types a digit.
  const bool numLockOn = code.substr(0, 6) != "Numpad" || isDigitOrPoint(event->key);
  const unsigned key = virtualKeyForCode(code, numLockOn);
  if (key == 0) return EM_FALSE;
  const bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
  static_cast<WebScreen*>(screen)->queueInput(
      {down ? compat::InputKind::KeyDown : compat::InputKind::KeyUp, key, event->repeat != 0,
       event->altKey != 0, 0, 0});
  return EM_TRUE;
}

EM_BOOL onMouse(int type, const EmscriptenMouseEvent* event, void* screen) {
  using compat::InputKind;
  InputKind kind;
  if (type == EMSCRIPTEN_EVENT_MOUSEMOVE)
    kind = InputKind::MouseMove;
  else if (event->button == 0)
    kind = type == EMSCRIPTEN_EVENT_MOUSEDOWN ? InputKind::LeftButtonDown : InputKind::LeftButtonUp;
  else if (event->button == 2)
    kind =
        type == EMSCRIPTEN_EVENT_MOUSEDOWN ? InputKind::RightButtonDown : InputKind::RightButtonUp;
  else
    return EM_FALSE;
  static_cast<WebScreen*>(screen)->queueInput(
      {kind, 0, false, false, static_cast<int>(event->targetX), static_cast<int>(event->targetY)});
  return type != EMSCRIPTEN_EVENT_MOUSEMOVE;
}

}  // namespace

void listenToPage(WebScreen& screen) {
  const char* page = EMSCRIPTEN_EVENT_TARGET_WINDOW;
  emscripten_set_keydown_callback(page, &screen, EM_TRUE, onKey);
  emscripten_set_keyup_callback(page, &screen, EM_TRUE, onKey);
  emscripten_set_mousedown_callback("#canvas", &screen, EM_TRUE, onMouse);
  emscripten_set_mouseup_callback("#canvas", &screen, EM_TRUE, onMouse);
  emscripten_set_mousemove_callback("#canvas", &screen, EM_TRUE, onMouse);
  letPageRemoveListeners();
}

}  // namespace web
