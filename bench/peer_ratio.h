#pragma once

// A console report in which a benchmark measured beside a peer also shows how many times faster it ran than
// that peer with the same arguments in the same run: a counter of the peer's time over its own (above 1: the
// benchmark is faster). A peer must be registered before the benchmarks it is compared with. Runs timed in
// real (or manual) time are compared by it, the others by CPU time (the process's, when they measure it).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

struct PeerRatio {
  std::string benchmark;  // the function names, as registered
  std::string peer;
  std::string counter;
};

class PeerRatioReporter : public benchmark::ConsoleReporter {
 public:
  // Counters as name=value beside each figure; colours only on a terminal.
  explicit PeerRatioReporter(std::vector<PeerRatio> ratios)
      : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Color : OO_None), ratios_(std::move(ratios)) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    std::vector<Run> shown = runs;
    for (Run& run : shown) {
      if (run.error_occurred) continue;
      const std::string& function = run.run_name.function_name;
      // Everything after the function name: arguments, threads, time type, aggregate.
      const std::string variant = run.benchmark_name().substr(function.size());
      const double time = timedInRealTime(run) ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime();
      times_[function + variant] = time;
      for (const PeerRatio& ratio : ratios_) {
        auto peer = times_.find(ratio.peer + variant);
        if (ratio.benchmark == function && peer != times_.end() && time > 0)
          run.counters[ratio.counter] = peer->second / time;
      }
    }
    ConsoleReporter::ReportRuns(shown);
  }

 private:
  static bool timedInRealTime(const Run& run) {
    const std::string& type = run.run_name.time_type;
    return type.find("real_time") != std::string::npos || type.find("manual_time") != std::string::npos;
  }

  std::vector<PeerRatio> ratios_;
  std::map<std::string, double> times_;  // per iteration, by full benchmark name
};

// The main of a benchmark program whose figures are shown beside their peers'.
inline int runWithPeerRatios(int argc, char** argv, std::vector<PeerRatio> ratios) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  PeerRatioReporter reporter(std::move(ratios));
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
