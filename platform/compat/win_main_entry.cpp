// main() for programs written with a WinMain: the instance, no previous instance, the command
// line after the program's name, and the default show command.
#include <string>

#include "platform/compat/user32_api.h"

int main(int argc, char** argv) {
  std::string commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) commandLine += ' ';
    commandLine += argv[i];
  }
  return WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWDEFAULT);
}
