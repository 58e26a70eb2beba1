// The usual command-line habits of the tools: --help prints what the tool does and its usage
// and ends with status 0, --version prints the version, an unknown option is refused with the
// usage and status 2, and "--" ends the options.
#pragma once

#include <string>
#include <vector>

struct ToolDescription {
  const char* name;     // as the user types it
  const char* usage;    // the arguments, after the name
  const char* summary;  // what the tool does, a few lines
};

// The arguments that are not options, in order. Ends the process for --help, --version and an
// unknown option.
std::vector<std::string> operandsOf(const ToolDescription& tool, int argc, char** argv);

// Writes "usage: NAME USAGE" to standard error (for a bad operand) and returns 2.
int usageError(const ToolDescription& tool, const std::string& problem);
