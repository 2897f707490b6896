// Copying a creator's parameter table, as a creator does for every probing record and the edit command for
// every state, beside copying the same points as a std::vector. The argument is the number of sampled points.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "bench_host.h"
#include "beside_peer.h"
#include "framework/object/iptr.h"
#include "host/api/parameters.h"

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

void BM_ParameterTableCopy(benchmark::State& state) {
  attachModule();
  const std::vector<Vector3> points = sampledPoints(state.range(0));
  IPtr<IZelParameterTable> table = creatorTable(points);
  runBesidePeer(
      state, state.range(0), "vector_copy",
      [&] {
        IPtr<IZelParameter> copy;
        copy.takeOwnership(table->copy());
        benchmark::DoNotOptimize(copy.get());
      },
      [&] {
        std::vector<Vector3> copy(points);
        benchmark::DoNotOptimize(copy.data());
      });
}

}  // namespace

BENCHMARK(BM_ParameterTableCopy)->ArgName("points")->RangeMultiplier(10)->Range(100, 10000);
