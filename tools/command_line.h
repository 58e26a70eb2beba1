// The usual command-line habits of the tools: --help prints what the tool does and its usage
// and ends with status 0, --version prints the version, an unknown option is refused with the
// usage and status 2, and "--" ends the options.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct ToolDescription {
  const char* name;     // as the user types it
  const char* usage;    // the arguments, after the name
  const char* summary;  // what the tool does, a few lines
};

// An option of the tool's own that takes a value, given as "--name VALUE" or "--name=VALUE".
struct ValueOption {
  const char* name;                   // with its dashes: "--video"
  std::optional<std::string>* value;  // set when the option is given (the last one counts)
};

// An option of the tool's own that takes no value: "--dither".
struct FlagOption {
  const char* name;  // with its dashes
  bool* given;       // set to true when the option is given
};

// The arguments that are not options, in order; the tool's own options set their values. Ends
// the process for --help, --version, an unknown option and an option without its value.
std::vector<std::string> operandsOf(const ToolDescription& tool, int argc, char** argv,
                                    const std::vector<ValueOption>& options = {},
                                    const std::vector<FlagOption>& flags = {});

// Writes "usage: NAME USAGE" to standard error (for a bad operand) and returns 2.
int usageError(const ToolDescription& tool, const std::string& problem);
