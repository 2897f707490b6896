// Copying a creator's parameter table, as a creator does for every probing record and the edit command for
// every state, beside copying the same points as a std::vector. The argument is the number of sampled points.
//
// The table copy and its peer take turns, call by call, so that both meet the heap in the same state: each
// one's block of points lands where the other's was just freed. How fast the C library copies a block depends
// on where it lands against its source, which depends on what the process allocated before; taking turns
// gives both copies the same placement, whatever came before (run alone or after a smaller size). Each call
// is timed on the steady clock, less the clock's own cost, and the medians are compared, so that a call cut
// short by the scheduler on a busy machine counts for neither.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

#include "bench_host.h"
#include "framework/object/iptr.h"
#include "host_api/parameters.h"

namespace {

std::vector<Vector3> sampledPoints(int64_t count) {
  std::vector<Vector3> points;
  for (int64_t i = 0; i < count; ++i) points.push_back({0.001 * static_cast<double>(i), 0.25, -0.5});
  return points;
}

// The table a circle collector fills: its points, stop point, probe radius and work plane.
IPtr<IZelParameterTable> creatorTable(const std::vector<Vector3>& points) {
  ZelCountedArray<Vector3> list;
  for (const Vector3& p : points) list.append(p);
  IPtr<IZelVectorsValue> sampled;
  IPtr<IZelVectorValue> stop;
  IPtr<IZelDoubleValue> radius;
  IPtr<IZelEmbeddedFeatureParameter> workPlane;
  IPtr<IZelParameterTable> table;
  for (int32_t found : {sampled.getService(), stop.getService(), radius.getService(), workPlane.getService(),
                        table.getService()}) {
    if (found != 1) std::abort();
  }
  sampled->setValue(list);
  stop->setValue({0, 0, 0.01});
  radius->setValue(0.001);
  table->setParameter(ZelString(u"<SampledPoints>"), sampled.get());
  table->setParameter(ZelString(u"<StopPoint>"), stop.get());
  table->setParameter(ZelString(u"<ProbeRadius>"), radius.get());
  table->setParameter(ZelString(u"<WorkPlane>"), workPlane.get());
  return table;
}

using Clock = std::chrono::steady_clock;

template <class Call>
double secondsOf(Call call) {
  const Clock::time_point start = Clock::now();
  call();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
  auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

// What timing a call adds to it: the median time of timing nothing.
double clockCost() {
  std::vector<double> empty(1000);
  for (double& seconds : empty) seconds = secondsOf([] {});
  return median(std::move(empty));
}

void BM_ParameterTableCopy(benchmark::State& state) {
  attachModule();
  const std::vector<Vector3> points = sampledPoints(state.range(0));
  IPtr<IZelParameterTable> table = creatorTable(points);
  const double clock = clockCost();
  std::vector<double> copies, peers;
  for (auto _ : state) {
    const double copy = secondsOf([&] {
      IPtr<IZelParameter> copied;
      copied.takeOwnership(table->copy());
      benchmark::DoNotOptimize(copied.get());
    });
    const double peer = secondsOf([&] {
      std::vector<Vector3> copied(points);
      benchmark::DoNotOptimize(copied.data());
    });
    state.SetIterationTime(copy);
    copies.push_back(copy - clock);
    peers.push_back(peer - clock);
  }
  const double copy = median(std::move(copies)), peer = median(std::move(peers));
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.counters["vs_vector_copy"] = peer / copy;
  state.counters["vector_copy_per_second"] = static_cast<double>(state.range(0)) / peer;
}

}  // namespace

BENCHMARK(BM_ParameterTableCopy)->ArgName("points")->RangeMultiplier(10)->Range(100, 10000)->UseManualTime();
