// Runs the registered benchmarks and then prints each one's time as a ratio to a baseline
// benchmark with the same argument, all from the one run, so that figures from different
// machines can be compared by their ratios.
#pragma once

#include <string>

namespace bench {

// Adds repetitions (medians are what the table quotes) unless the command line sets them.
int runWithRatios(int argc, char** argv, const std::string& baseline);

}  // namespace bench
