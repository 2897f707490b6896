// A feature creator's createFeature (reading its table, the fit through the host, the probe-radius
// compensation and the probing record with the compensated points) beside the host fit alone on the same
// points (`vs_host_fit`, beside_peer.h): the creator's own work should be small beside the fit. Plane,
// circle, sphere, cylinder and cone, for 100 and 1,000 probe-tip centres with 10 µm of noise. The cylinder
// and cone creators also fit a circle to each end ring for the start they hand the fit, which the bare fit
// goes without.
//
// Then a sphere collector taking 10 and 100 points, asked for its user instructions after each point as the
// probing utility asks (the pictures it shows), beside the same collector taking the same points unasked
// (`vs_points_alone`): what showing the instructions adds to a point.

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "bench_host.h"
#include "beside_peer.h"
#include "devices/contracts/plugin_data_receivers.h"
#include "features/collectors/zel_feature_collector.h"
#include "features/creators/creator_parameter_keys.h"
#include "features/creators/zel_hard_probe_feature_creator.h"
#include "features/point_list.h"
#include "framework/object/host_lookup.h"
#include "framework/object/query_part.h"
#include "framework/registrations/registered_classes.h"
#include "host_api/feature_fitter.h"
#include "host_api/feature_kinds.h"
#include "host_api/registry_paths.h"
#include "tests/support/point_region.h"

namespace {

constexpr double kProbeRadius = 0.001;

enum class Kind { kPlane, kCircle, kSphere, kCylinder, kCone };

struct Shape {
  const char* creator;
  const char* fitterType;
  bool inWorkPlane;
};

Shape shapeOf(Kind kind) {
  switch (kind) {
    case Kind::kPlane:
      return {"HardProbePlaneCreator", "IZelPlane", false};
    case Kind::kCircle:
      return {"HardProbeCircleCreator", "IZelArc", true};
    case Kind::kCylinder:
      return {"HardProbeCylinderCreator", "IZelCylinder", false};
    case Kind::kCone:
      return {"HardProbeConeCreator", "IZelCone", false};
    case Kind::kSphere:
      break;
  }
  return {"HardProbeSphereCreator", "IZelSphere", false};
}

// count probe-tip centres on a face, a hole of radius 10 mm, a ball of radius 20 mm, a bore of radius 10 mm
// or a conical hole of half-angle atan(.5) with a fixed seed; the bore and the cone probed ring after ring,
// five rings 4 mm apart.
PointList tips(Kind kind, int64_t count) {
  std::mt19937_64 rng(11);
  std::normal_distribution<double> noise(0.0, 10e-6);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  PointList points;
  for (int64_t i = 0; i < count; ++i) {
    const double a = 6.283185307179586 * unit(rng), b = std::acos(1.0 - 2.0 * unit(rng));
    Vector3 p;
    if (kind == Kind::kPlane) p = {0.1 * unit(rng), 0.1 * unit(rng), kProbeRadius};
    if (kind == Kind::kCircle) p = Vector3{std::cos(a), std::sin(a), 0} * (0.01 - kProbeRadius);
    if (kind == Kind::kSphere)
      p = Vector3{std::sin(b) * std::cos(a), std::sin(b) * std::sin(a), std::cos(b)} * (0.02 + kProbeRadius);
    const double height = 0.004 * static_cast<double>(5 * i / count);
    if (kind == Kind::kCylinder)
      p = Vector3{std::cos(a) * (0.01 - kProbeRadius), std::sin(a) * (0.01 - kProbeRadius), height};
    if (kind == Kind::kCone) {
      // The tip stands off the surface radius .008 + .5 h along its normal (cos, −sin of the half-angle).
      const double across = 0.008 + 0.5 * height - kProbeRadius * 0.8944271909999159;
      p = Vector3{std::cos(a) * across, std::sin(a) * across, height + kProbeRadius * 0.4472135954999579};
    }
    points.push_back(p + Vector3{noise(rng), noise(rng), noise(rng)});
  }
  return points;
}

template <class T>
IPtr<T> made() {
  IPtr<T> value;
  value.getService();
  return value;
}

IPtr<IZelPlane> groundPlane() {
  IPtr<IZelPlane> plane = made<IZelPlane>();
  plane->setPlane({0, 0, 0}, {0, 0, 1}, {}, 0, 0);
  return plane;
}

// A creator with its table filled as a collector fills it when the operator stops.
IPtr<IZelHardProbeFeatureCreator> filledCreator(const Shape& shape, const PointList& points) {
  IPtr<IZelHardProbeFeatureCreator> creator;
  creator.createInstance(classIdOf(shape.creator));
  IPtr<IZelVectorsValue> sampled = made<IZelVectorsValue>();
  setPoints(*sampled, points);
  IPtr<IZelVectorValue> stop = made<IZelVectorValue>();
  stop->setValue({0, 0, 0.005});
  IPtr<IZelDoubleValue> radius = made<IZelDoubleValue>();
  radius->setValue(kProbeRadius);
  creator->setParameter(ZelString(kSampledPointsKey), sampled.get());
  creator->setParameter(ZelString(kStopPointKey), stop.get());
  creator->setParameter(ZelString(kProbeRadiusKey), radius.get());
  IPtr<IZelParameter> workPlane;
  workPlane.takeOwnership(queryPart<IZelFeature>(groundPlane().get())->parameterForm());
  creator->setParameter(ZelString(kWorkPlaneKey), workPlane.get());
  return creator;
}

bool createFeature(IZelHardProbeFeatureCreator& creator) {
  IPtr<IZelFeature> feature;
  feature.takeOwnership(creator.createFeature());
  return static_cast<bool>(feature);
}

// The host's fitter on a region of the same points, in the work plane where the creator fits in one.
bool hostFit(const Shape& shape, const PointList& points) {
  IPtr<IZelRegionHandler> region = pointRegion(points);
  RegPtr<IZelFeatureFitter> fitter(ZelCString((std::string(kBestFitFitterPath) + shape.fitterType).c_str()));
  fitter->setPointSet(queryPart<IZelPointSetInterface>(region.get()));
  if (shape.inWorkPlane) {
    IPtr<IZelVectorsValue> plane = made<IZelVectorsValue>();
    setPoints(*plane, {{0, 0, 0}, {0, 0, 1}});
    fitter->setParameter(ZelString(u"<WorkPlane>"), plane.get());
  }
  IPtr<IZelFeature> fitted;
  fitted.takeOwnership(fitter->fit());
  return static_cast<bool>(fitted);
}

void BM_CreateFeature(benchmark::State& state, Kind kind) {
  attachModule();
  const Shape shape = shapeOf(kind);
  const PointList points = tips(kind, state.range(0));
  IPtr<IZelHardProbeFeatureCreator> creator = filledCreator(shape, points);
  if (!createFeature(*creator) || !hostFit(shape, points)) {
    state.SkipWithError("no feature from the points");
    return;
  }
  runBesidePeer(
      state, state.range(0), "host_fit", [&] { benchmark::DoNotOptimize(createFeature(*creator)); },
      [&] { benchmark::DoNotOptimize(hostFit(shape, points)); });
}
BENCHMARK_CAPTURE(BM_CreateFeature, plane, Kind::kPlane)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_CreateFeature, circle, Kind::kCircle)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_CreateFeature, sphere, Kind::kSphere)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_CreateFeature, cylinder, Kind::kCylinder)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_CreateFeature, cone, Kind::kCone)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

// The collector takes the points as from the device, asking for the instructions after each when asked to;
// then it forgets them for the next round.
void collect(IZelFeatureCollector& collector, const PointList& points, bool askInstructions) {
  auto* receiver = queryPart<IZelHardProbeDataReceiver>(&collector);
  auto* source = queryPart<IZelUserInstructionSource>(&collector);
  for (const Vector3& point : points) {
    receiver->onPointSampled(point);
    if (!askInstructions) continue;
    IPtr<IZelUserInstructions> instructions;
    source->userInstructions(instructions, true);
    benchmark::DoNotOptimize(instructions->image(0));
  }
  collector.reset();
}

void BM_CollectPointsWithInstructions(benchmark::State& state) {
  attachModule();
  const PointList points = tips(Kind::kSphere, state.range(0));
  IPtr<IZelFeatureCollector> collector;
  collector.createInstance(classIdOf("SphereCollector"));
  IPtr<IZelUserInstructions> shown;
  queryPart<IZelUserInstructionSource>(collector.get())->userInstructions(shown, true);
  if (!shown || shown->imageCount() != 3) {
    state.SkipWithError("the collector shows no pictures");
    return;
  }
  runBesidePeer(
      state, state.range(0), "points_alone", [&] { collect(*collector, points, true); },
      [&] { collect(*collector, points, false); });
}
BENCHMARK(BM_CollectPointsWithInstructions)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

}  // namespace
