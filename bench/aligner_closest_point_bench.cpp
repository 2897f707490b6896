// The closest point the host's aligner asks for at every step of Iterative Alignment's surface refinement,
// on the example parts with a free-form wall (the turned cap) and of touching solids (the welded bracket):
// the search of the B-rep's faces nearest box first (closestOnMesh), beside the projection onto every
// element of the tessellation in turn that the aligner used before (`vs_every_element`), which took the
// nearest point of each element's whole surface. Queries are points up to 5 mm off the part, with a fixed
// seed.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "basic_types/vector3.h"
#include "beside_peer.h"
#include "framework/object/iptr.h"
#include "host/cad/cad_surface_model.h"
#include "host/cad/mesh_closest_point.h"
#include "part_queries.h"
#include "tools/palpera-parts/example_parts.h"

namespace {

// Few on the free-form part: the peer takes many seconds a query there.
void closestOnPart(benchmark::State& state, const std::string& part, int queryCount) {
  IPtr<CadSurfaceModel> model(new CadSurfaceModel(examplePartModel(part)));
  const std::vector<Vector3> queries = queriesAround(model->brep(), queryCount, 7);
  state.counters["triangles"] = static_cast<double>(model->brep().tessellation().triangles.size());
  Vector3 closest, normal;
  runBesidePeer(
      state, queryCount, "every_element",
      [&] {
        for (const Vector3& q : queries) benchmark::DoNotOptimize(closestOnMesh(*model, q, closest, normal));
      },
      [&] {
        for (const Vector3& q : queries)
          benchmark::DoNotOptimize(closestOnElements(*model, q, closest, normal));
      });
}

void BM_AlignerClosestPointTurnedCap(benchmark::State& state) {
  closestOnPart(state, "turned-cap", 2);
}
void BM_AlignerClosestPointWeldedBracket(benchmark::State& state) {
  closestOnPart(state, "workpiece-welded-bracket", 16);
}
BENCHMARK(BM_AlignerClosestPointTurnedCap)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AlignerClosestPointWeldedBracket)->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace
