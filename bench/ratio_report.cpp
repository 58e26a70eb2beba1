#include "bench/ratio_report.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <vector>

namespace bench {
namespace {

// A console reporter that also keeps each benchmark's median (or single) time per iteration.
class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
      if (!median && !single) continue;
      const std::string name = run.run_name.str();
      // Processor time: on a shared machine the wall clock also counts other tenants.
      times_[name] = run.GetAdjustedCPUTime();
      if (std::find(order_.begin(), order_.end(), name) == order_.end()) order_.push_back(name);
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void printRatios(const std::string& baseline) const {
    std::printf("\nMedian processor time per iteration, as a ratio to %s with the same argument:\n",
                baseline.c_str());
    for (const std::string& name : order_) {
      const std::string::size_type slash = name.find('/');
      const std::string argument = slash == std::string::npos ? "" : name.substr(slash);
      auto base = times_.find(baseline + argument);
      // Benchmarks without the baseline's argument compare with its first one.
      if (base == times_.end())
        for (const std::string& candidate : order_)
          if (candidate.rfind(baseline + "/", 0) == 0) {
            base = times_.find(candidate);
            break;
          }
      if (base == times_.end() || base->second <= 0) continue;
      std::printf("  %-32s %12.1f ns  %7.3fx\n", name.c_str(), times_.at(name),
                  times_.at(name) / base->second);
    }
  }

 private:
  std::map<std::string, double> times_;
  std::vector<std::string> order_;
};

}  // namespace

int runWithRatios(int argc, char** argv, const std::string& baseline) {
  std::vector<char*> args(argv, argv + argc);
  const auto given = [&](const char* option) {
    for (int i = 1; i < argc; ++i)
      if (std::strncmp(argv[i], option, std::strlen(option)) == 0) return true;
    return false;
  };
  char repetitions[] = "--benchmark_repetitions=7";
  char aggregatesOnly[] = "--benchmark_report_aggregates_only=true";
  // Repetitions of different benchmarks taken in random order: a change in the machine's load
  // during the run then spreads over all of them instead of skewing one ratio.
  char interleaved[] = "--benchmark_enable_random_interleaving=true";
  if (!given("--benchmark_repetitions")) {
    args.push_back(repetitions);
    args.push_back(aggregatesOnly);
  }
  if (!given("--benchmark_enable_random_interleaving")) args.push_back(interleaved);
  int count = static_cast<int>(args.size());
  args.push_back(nullptr);
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printRatios(baseline);
  benchmark::Shutdown();
  return 0;
}

}  // namespace bench
