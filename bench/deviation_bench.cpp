// Real-time deviation of one probe move, as the command computes it at every move of the device: the closest
// point of the CAD model, the facet there, its exact normal, the compensated contact point and the three tile
// writes. On the example parts and on generated parts of about 1,000 and 10,000 faces, beside the bare
// closest-point query and, as the peer (`vs_tessellation`), a brute-force scan of every facet of the same
// part's tessellation. The device delivers at most 360 moves a second ("Palpera/MoveEventRateLimitValue", 30
// by default): `moves_vs_360` and `queries_vs_360` say how many times over the work keeps up with that.
// Probe centres lie up to 5 mm off the part, with a fixed seed.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bench_host.h"
#include "beside_peer.h"
#include "commands/deviation/probe_deviation.h"
#include "commands/features/closest_point_on_cad.h"
#include "framework/object/iptr.h"
#include "framework/registrations/registered_classes.h"
#include "host/cad/cad_surface_model.h"
#include "host_api/module_class_ids.h"
#include "host_api/zel_initializer.h"
#include "part_queries.h"
#include "tools/palpera-parts/example_parts.h"
#include "ui/tiles/zel_hard_probe_tile.h"

namespace {

constexpr int kMoves = 64;
constexpr double kFastestMoveRate = 360;
constexpr double kRadius = 0.003;
// Arguments from this on are generated parts of that many faces; below it, example parts by index.
constexpr int kGeneratedFaces = 100;

std::shared_ptr<const BrepModel> examplePart(size_t index) {
  const std::string name = examplePartNames().at(index);
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("palpera-bench-parts-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  writeExamplePart(name, dir.string());
  std::shared_ptr<const BrepModel> model = readStepModel((dir / (name + ".step")).string()).model;
  std::filesystem::remove_all(dir);
  return model;
}

void registerSettings() {
  static const bool registered = [] {
    IPtr<IZelInitializer> adder;
    adder.createInstance(classIdOf("PalperaDataItemAdder"));
    if (adder) adder->initialise();
    return true;
  }();
  (void)registered;
}

void BM_DeviationOfAMove(benchmark::State& state) {
  attachModule();
  registerSettings();
  const int64_t argument = state.range(0);
  IPtr<CadSurfaceModel> model(new CadSurfaceModel(argument < kGeneratedFaces
                                                      ? examplePart(static_cast<size_t>(argument))
                                                      : blockGridModel(static_cast<int>(argument))));
  IPtr<IZelClosestPointOnCad> closest;
  closest.getService();
  IPtr<IZelHardProbeTile> tile;
  tile.createInstance(kHardProbeTileFacadeClassId);
  if (!closest || !closest->setCadModel(model.get()) || !tile) {
    state.SkipWithError("no closest-point object or tile");
    return;
  }
  SPtr<ICSysService> csys;
  const ProbeDeviationMeter meter(closest.get(), model.get(), ObjectPlacement(), csys.get());
  const std::vector<Vector3> centres = queriesAround(model->brep(), kMoves, 17);
  if (argument < kGeneratedFaces) state.SetLabel(examplePartNames().at(static_cast<size_t>(argument)));
  state.counters["faces"] = model->brep().faceCount();
  state.counters["facets"] = static_cast<double>(model->brep().tessellation().triangles.size());

  // The bare query first, at the same number of rounds as the moves will take.
  const int64_t rounds = 20;
  double start = processCpuSeconds();
  Vector3 answer;
  for (int64_t round = 0; round < rounds; ++round) {
    for (const Vector3& c : centres) benchmark::DoNotOptimize(closest->computeClosestPoint(c, answer));
  }
  const double queriesPerSecond = static_cast<double>(rounds * kMoves) / (processCpuSeconds() - start);

  start = processCpuSeconds();
  runBesidePeer(
      state, kMoves, "tessellation",
      [&] {
        for (const Vector3& c : centres) {
          const std::optional<ProbeDeviation> measured = meter.measure(c, kRadius, 1e-4);
          if (!measured) continue;
          double offset[3];
          (measured->contact - measured->cad).copyTo(offset);
          tile->setValue("RealTimeDeviation", measured->deviation);
          tile->setVector("RealTimeDeviation", offset);
          tile->setFlag("RealTimeDeviationStatus", measured->pass ? 1 : 0);
        }
      },
      [&] {
        for (const Vector3& c : centres)
          benchmark::DoNotOptimize(bruteForceDistance2(model->brep().tessellation(), c));
      });
  // The peer's time over the moves' is the ratio runBesidePeer gives: the moves took elapsed / (1 + ratio).
  const double moveSeconds = (processCpuSeconds() - start) / (1 + state.counters["vs_tessellation"]);
  const double movesPerSecond = static_cast<double>(state.iterations() * kMoves) / moveSeconds;
  state.counters["queries_per_second"] = queriesPerSecond;
  state.counters["queries_vs_360"] = queriesPerSecond / kFastestMoveRate;
  state.counters["moves_per_second"] = movesPerSecond;
  state.counters["moves_vs_360"] = movesPerSecond / kFastestMoveRate;
}

void exampleAndGeneratedParts(benchmark::internal::Benchmark* bench) {
  for (size_t i = 0; i < examplePartNames().size(); ++i) bench->Arg(static_cast<int64_t>(i));
  bench->Arg(1000)->Arg(10000);
}
BENCHMARK(BM_DeviationOfAMove)->Apply(exampleAndGeneratedParts)->Unit(benchmark::kMillisecond);

}  // namespace
