// MessageBoxA: the caption and text on standard error, then the screen's modal box.
#include <cstdio>
#include <string>

#include "platform/compat/screen.h"
#include "platform/compat/text_encoding.h"
#include "platform/compat/user32_api.h"

int WINAPI MessageBoxA(HWND /*owner*/, LPCSTR text, LPCSTR caption, UINT /*type*/) {
  const std::string captionUtf8 = compat::cp932ToUtf8(caption ? caption : "");
  const std::string textUtf8 = compat::cp932ToUtf8(text ? text : "");
  // Where a Linux user looks first, and all there is where no display can show the box.
  std::fprintf(stderr, "%s: %s\n", captionUtf8.c_str(), textUtf8.c_str());
  std::fflush(stderr);
  compat::activeScreen().showMessageBox(captionUtf8, textUtf8);
  return IDOK;
}
