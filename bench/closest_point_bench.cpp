// The closest point on a CAD model, as real-time deviation asks for it once per device move: the module's
// closest-point object over the host's B-rep search, for parts of about 1,000 and 10,000 faces, beside a
// brute-force search of the same part's tessellation (`vs_tessellation`, beside_peer.h), which only
// approximates the answer. Queries are points up to 5 mm off the part, with a fixed seed.

#include <benchmark/benchmark.h>

#include <vector>

#include "basic_types/vector3.h"
#include "bench_host.h"
#include "beside_peer.h"
#include "commands/features/closest_point_on_cad.h"
#include "framework/object/iptr.h"
#include "host/cad/cad_surface_model.h"
#include "part_queries.h"
#include "tools/palpera-parts/example_parts.h"

namespace {

constexpr int kQueries = 64;

void BM_ClosestPointOnCad(benchmark::State& state) {
  attachModule();
  IPtr<CadSurfaceModel> model(new CadSurfaceModel(blockGridModel(static_cast<int>(state.range(0)))));
  IPtr<IZelClosestPointOnCad> closest;
  closest.getService();
  if (!closest || !closest->setCadModel(model.get())) {
    state.SkipWithError("no closest-point object");
    return;
  }
  const std::vector<Vector3> queries = queriesAround(model->brep(), kQueries, 11);
  state.counters["faces"] = model->brep().faceCount();
  state.counters["triangles"] = static_cast<double>(model->brep().tessellation().triangles.size());
  runBesidePeer(
      state, kQueries, "tessellation",
      [&] {
        Vector3 answer;
        for (const Vector3& q : queries) benchmark::DoNotOptimize(closest->computeClosestPoint(q, answer));
      },
      [&] {
        for (const Vector3& q : queries)
          benchmark::DoNotOptimize(bruteForceDistance2(model->brep().tessellation(), q));
      });
}
BENCHMARK(BM_ClosestPointOnCad)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
