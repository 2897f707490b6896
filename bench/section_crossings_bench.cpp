// The crossing test of "Probe Sections" per sampled tip position, against 1 to 1,000 section planes, beside a
// bare loop over the same planes that only takes the two signed distances of each step and counts the sides
// that differ. The ratio shows what the window, the side test and the intersection cost above that floor;
// neither allocates per position.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "beside_peer.h"
#include "commands/measure/section_crossings.h"

namespace {

constexpr int64_t kPositions = 4096;

// Parallel planes x = 0.001 i, and a zig-zag path whose every step crosses about a tenth of them.
SectionPlaneList planesOf(int64_t count) {
  SectionPlaneList planes;
  for (int64_t i = 1; i <= count; ++i) planes.append({1, 0, 0, 0.001 * static_cast<double>(i)});
  return planes;
}

std::vector<Vector3> path(int64_t planes) {
  std::vector<Vector3> positions;
  const double reach = 0.001 * static_cast<double>(planes);
  for (int64_t i = 0; i < kPositions; ++i) {
    const double x = reach * (0.45 + (i % 2 ? 0.05 : -0.05));
    positions.push_back({x, 0.0001 * static_cast<double>(i), 0.0});
  }
  return positions;
}

void BM_SectionCrossings(benchmark::State& state) {
  const SectionPlaneList planes = planesOf(state.range(0));
  const std::vector<Vector3> positions = path(state.range(0));
  SectionCrossings crossings;
  crossings.setPlanes(planes);
  int64_t found = 0;
  runBesidePeer(
      state, kPositions, "signed_distances",
      [&] {
        crossings.restart();
        for (const Vector3& p : positions) {
          crossings.add(p, [&](int32_t plane, const Vector3& x) { found += plane + (x.x > 0); });
        }
        benchmark::DoNotOptimize(found);
      },
      [&] {
        int64_t changes = 0;
        for (size_t k = 1; k < positions.size(); ++k) {
          for (int32_t i = 1; i <= planes.count(); ++i) {
            const Plane& plane = planes.at(i);
            const bool before = plane.normal().dot(positions[k - 1]) - plane.d >= 0;
            const bool after = plane.normal().dot(positions[k]) - plane.d >= 0;
            changes += before != after;
          }
        }
        benchmark::DoNotOptimize(changes);
      });
}

BENCHMARK(BM_SectionCrossings)->Arg(1)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace
