#include "host/message_pump.h"

#include "platform/win32.h"

int32_t pumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
    if (GetMessageA(&msg, nullptr, 0, 0) == 0) return 0;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 1;
}
