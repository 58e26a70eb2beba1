#include "tools/command_line.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tools/version.h"

namespace {

// When the argument is one of the tool's own options, stores its value (taking the next
// argument for "--name VALUE") and returns true.
bool takeValueOption(const ToolDescription& tool, const std::vector<ValueOption>& options, int argc,
                     char** argv, int& i) {
  const char* argument = argv[i];
  for (const ValueOption& option : options) {
    const std::size_t length = std::strlen(option.name);
    if (std::strncmp(argument, option.name, length) != 0) continue;
    if (argument[length] == '=') {
      *option.value = argument + length + 1;
      return true;
    }
    if (argument[length] != '\0') continue;
    if (i + 1 >= argc)
      std::exit(usageError(tool, std::string("option '") + option.name + "' needs a value"));
    *option.value = argv[++i];
    return true;
  }
  return false;
}

bool takeFlagOption(const std::vector<FlagOption>& flags, const char* argument) {
  for (const FlagOption& flag : flags)
    if (std::strcmp(argument, flag.name) == 0) return *flag.given = true;
  return false;
}

}  // namespace

std::vector<std::string> operandsOf(const ToolDescription& tool, int argc, char** argv,
                                    const std::vector<ValueOption>& options,
                                    const std::vector<FlagOption>& flags) {
  std::vector<std::string> operands;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const char* argument = argv[i];
    const bool option = !optionsEnded && argument[0] == '-' && argument[1] != '\0';
    if (!option) {
      operands.emplace_back(argument);
    } else if (takeValueOption(tool, options, argc, argv, i) || takeFlagOption(flags, argument)) {
      continue;
    } else if (std::strcmp(argument, "--") == 0) {
      optionsEnded = true;
    } else if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) {
      std::printf("usage: %s %s\n\n%s\n", tool.name, tool.usage, tool.summary);
      std::exit(0);
    } else if (std::strcmp(argument, "--version") == 0) {
      std::printf("%s (rotozoom) %s\n", tool.name, rotozoomVersion);
      std::exit(0);
    } else {
      std::exit(usageError(tool, std::string("unknown option '") + argument + "'"));
    }
  }
  return operands;
}

int usageError(const ToolDescription& tool, const std::string& problem) {
  std::fprintf(stderr, "%s: %s\nusage: %s %s\nTry '%s --help' for more.\n", tool.name,
               problem.c_str(), tool.name, tool.usage, tool.name);
  return 2;
}
