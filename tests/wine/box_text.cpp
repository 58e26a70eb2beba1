// box-text (a Windows program, run under Wine by the tests): waits up to five seconds for a
// message box with the caption that a file holds in UTF-8, and prints, in UTF-8, the caption
// and the texts of its static controls, one per line. Status 0 when the box was found, 1 when
// not, 2 for a bad argument. The caption comes in a file because Wine converts command lines
// with the Unix locale's character set, which may not be UTF-8 on the machine.
//
//   box-text CAPTION_FILE
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

void printUtf8(const wchar_t* text) {
  char utf8[1024];
  const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
  if (length > 0) std::printf("%s\n", utf8);
}

BOOL CALLBACK printStatic(HWND child, LPARAM) {
  wchar_t className[32], text[512];
  GetClassNameW(child, className, 32);
  if (lstrcmpiW(className, L"Static") == 0 && GetWindowTextW(child, text, 512) > 0) printUtf8(text);
  return TRUE;
}

// The file's first line, UTF-8, as UTF-16; empty when it cannot be read.
std::wstring readCaption(const char* path) {
  char utf8[1024] = {};
  FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return {};
  const size_t length = std::fread(utf8, 1, sizeof utf8 - 1, file);
  std::fclose(file);
  std::string line(utf8, length);
  line = line.substr(0, line.find_first_of("\r\n"));
  wchar_t wide[512];
  const int count = MultiByteToWideChar(CP_UTF8, 0, line.c_str(), -1, wide, 512);
  return count > 0 ? std::wstring(wide) : std::wstring();
}

}  // namespace

int main(int argc, char** argv) {
  const std::wstring caption = argc == 2 ? readCaption(argv[1]) : std::wstring();
  if (caption.empty()) {
    std::fprintf(stderr, "usage: box-text CAPTION_FILE (the caption in UTF-8)\n");
    return 2;
  }
  for (int attempt = 0; attempt < 50; ++attempt) {
    // Message boxes are dialogs, class #32770.
    if (HWND box = FindWindowW(L"#32770", caption.c_str())) {
      printUtf8(caption.c_str());
      EnumChildWindows(box, printStatic, 0);
      std::fflush(stdout);
      return 0;
    }
    Sleep(100);
  }
  return 1;
}
