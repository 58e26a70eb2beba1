// main() for programs written with a WinMain: the instance, no previous instance, the command
// line after the program's name, and the default show command.
#include <cstdlib>
#include <string>

#include "platform/compat/user32_api.h"

int main(int argc, char** argv) {
  std::string commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) commandLine += ' ';
    commandLine += argv[i];
  }
  // Through exit rather than a return: in the browser, a main that has waited (Asyncify) and
  // then returns leaves the module running, and the page is never told that the program ended.
  std::exit(WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWDEFAULT));
}
