// The host's sphere fitter as a feature creator drives it (the points copied into a point array, a region of
// them, the fitter made from its registry path and fitted, the feature read) beside the bare least-squares
// call on the same points (`vs_library`, beside_peer.h), for 100 and 10,000 points. Points carry probe-like
// noise so that the fit iterates as on measured data.

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "bench_host.h"
#include "beside_peer.h"
#include "framework/object/host_lookup.h"
#include "framework/object/query_part.h"
#include "host/fitting/geometry/sphere_fit.h"
#include "host_api/feature_fitter.h"
#include "host_api/feature_kinds.h"
#include "host_api/registry_paths.h"
#include "tests/support/point_region.h"

namespace {

// count noisy points over a sphere of radius 20 about (120, -40, 75), with a fixed seed.
std::vector<Eigen::Vector3d> spherePoints(int64_t count) {
  std::mt19937_64 rng(7);
  std::normal_distribution<double> noise(0.0, 0.001);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::vector<Eigen::Vector3d> points;
  for (int64_t i = 0; i < count; ++i) {
    double azimuth = 6.283185307179586 * unit(rng), polar = std::acos(1.0 - 2.0 * unit(rng));
    Eigen::Vector3d direction(std::sin(polar) * std::cos(azimuth), std::sin(polar) * std::sin(azimuth),
                              std::cos(polar));
    points.push_back(Eigen::Vector3d(120, -40, 75) + (20.0 + noise(rng)) * direction);
  }
  return points;
}

double fitThroughHost(const std::vector<Vector3>& points) {
  IPtr<IZelRegionHandler> region = pointRegion(points);
  RegPtr<IZelFeatureFitter> fitter(ZelCString((std::string(kBestFitFitterPath) + "IZelSphere").c_str()));
  fitter->setPointSet(queryPart<IZelPointSetInterface>(region.get()));
  IPtr<IZelFeature> fitted;
  fitted.takeOwnership(fitter->fit());
  auto* sphere = queryPart<IZelSphere>(fitted.get());
  return sphere ? sphere->radius() : 0.0;
}

void BM_SphereFitter(benchmark::State& state) {
  attachModule();
  const std::vector<Eigen::Vector3d> points = spherePoints(state.range(0));
  std::vector<Vector3> probed;
  for (const Eigen::Vector3d& p : points) probed.push_back({p.x(), p.y(), p.z()});
  runBesidePeer(
      state, state.range(0), "library", [&] { benchmark::DoNotOptimize(fitThroughHost(probed)); },
      [&] { benchmark::DoNotOptimize(fitting::fitSphere(points)->radius); });
}
BENCHMARK(BM_SphereFitter)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
