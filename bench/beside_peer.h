#pragma once

// A figure beside its peer, in one run: the benchmark's rounds, then as many rounds of the peer doing the
// same work the plain way, both in process CPU time (every thread's work counts, and the machine's other work
// counts for neither). The ratio is printed as a counter: above 1 the module's road is faster than its peer.

#include <benchmark/benchmark.h>

#include <ctime>
#include <string>

inline double processCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Runs round for each of the state's iterations and then peer as often; sets counter ratioName to the peer's
// time over the round's, and "<peerName>_per_second" to the peer's rate of itemsPerRound.
template <class Round, class Peer>
void runBesidePeer(benchmark::State& state, int64_t itemsPerRound, const std::string& peerName, Round round,
                   Peer peer) {
  double start = processCpuSeconds();
  for (auto _ : state) round();
  const double roundSeconds = processCpuSeconds() - start;
  start = processCpuSeconds();
  for (benchmark::IterationCount i = 0; i < state.iterations(); ++i) peer();
  const double peerSeconds = processCpuSeconds() - start;
  state.SetItemsProcessed(state.iterations() * itemsPerRound);
  state.counters["vs_" + peerName] = peerSeconds / roundSeconds;
  state.counters[peerName + "_per_second"] =
      static_cast<double>(state.iterations() * itemsPerRound) / peerSeconds;
}
