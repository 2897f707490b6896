#include "features/creators/hard_probe_parallel_planes_creators.h"

#include <string>

#include "basic_types/bit_vector.h"
#include "features/compensated_points.h"
#include "features/creators/hard_probe_point_creators.h"
#include "features/creators/probe_geometry.h"
#include "framework/object/host_lookup.h"
#include "framework/registrations/class_registration.h"
#include "host_api/registry_paths.h"

namespace {

const ClassRegistration<HardProbeParallelPlanesPlaneCreator> primaryPlane(
    registeredClass("HardProbeParallelPlanesPlaneCreator"));
const ClassRegistration<HardProbeParallelPlanesCreator> parallelPlanes(
    registeredClass("HardProbeParallelPlanesCreator"));

// The initial size of a group's bit vector; it grows to the point count.
constexpr int32_t kGroupBits = 10;

enum Solidity : int32_t { kMaterial = 1, kGap = 2 };

// The children's compensated points one after the other, each child's marked in its own selection group by
// their positions from 1; a child without a probing record adds nothing.
struct Groups {
  PointList points;
  PointList primary;
  PointList secondary;
  BitVector primaryBits{kGroupBits};
  BitVector secondaryBits{kGroupBits};
};

void appendGroup(Groups& groups, IZelFeature* child, PointList& own, BitVector& bits) {
  own = getCompensatedPoints(child).value_or(PointList{});
  for (const Vector3& p : own) {
    groups.points.push_back(p);
    bits.set(static_cast<int32_t>(groups.points.size()));
  }
}

// The fitter's two planes through the groups, or none.
IPtr<IZelFeature> fitGroups(Groups& groups) {
  RegPtr<IZelFeatureFitter> fitter{
      ZelCString((std::string(kBestFitFitterPath) + "IZelParallelPlanes").c_str())};
  if (!fitter) return {};
  SPtr<IZelBitVectorArray> selection;
  IPtr<IZelRegionHandler> region = makePointRegion(groups.points);
  auto* pointSet = queryPart<IZelPointSetInterface>(region.get());
  if (!selection || !pointSet) return {};
  selection->append(groups.primaryBits);
  selection->append(groups.secondaryBits);
  fitter->setPointSet(pointSet);
  fitter->setParameter(ZelString(u"<Selection>"), selection.get());
  IPtr<IZelFeature> fitted;
  fitted.takeOwnership(fitter->fit());
  return fitted;
}

void setSolidity(IZelFeature& feature, Solidity solidity) {
  SPtr<IZelIntValue> value;
  if (!value) return;
  value->setValue(solidity);
  feature.setParameter(ZelString(u"<Solidity>"), value.get());
}

// The distance between the faces from the one between the tip centres: across a gap the tips stood a radius
// inside each face, on material a radius outside. False for a distance not above 0.
bool compensateDistance(IZelParallelPlanes& planes, double probeRadius) {
  Vector3 midPoint, normal, reference, low, high;
  double distance = 0.0;
  planes.planes(midPoint, normal, reference, distance, low, high);
  const int32_t solidity = planes.solidity();
  if (solidity == kMaterial) distance -= 2.0 * probeRadius;
  if (solidity == kGap) distance += 2.0 * probeRadius;
  return distance > 0.0 && planes.setPlanes(midPoint, normal, reference, distance, low, high);
}

}  // namespace

IPtr<IZelFeature> HardProbeParallelPlanesPlaneCreator::buildFeature() {
  std::optional<Probing> probing = readProbing(kSampled | kStop);
  if (!probing) return {};
  IPtr<IZelFeature> fitted = fit(probing->sampled, {"IZelPlane"});
  auto* plane = queryPart<IZelPlane>(fitted.get());
  if (!plane) return {};
  // A stop point whose side is not a number counts as behind.
  if (!(PlaneEquation::of(*plane).signedDistance(probing->stop) >= 0.0)) fitted->reverseOrientation();
  return finish(fitted, probing->sampled);
}

IPtr<IZelFeature> HardProbeParallelPlanesCreator::buildFeature() {
  std::optional<Probing> probing = readProbing(kRadius);
  IPtr<IZelPlane> primary(childFeature<IZelPlane>(1));
  IPtr<IZelPoint> secondary(childFeature<IZelPoint>(2));
  if (!probing || !primary || !secondary) return {};
  Groups groups;
  appendGroup(groups, queryPart<IZelFeature>(primary.get()), groups.primary, groups.primaryBits);
  appendGroup(groups, queryPart<IZelFeature>(secondary.get()), groups.secondary, groups.secondaryBits);
  IPtr<IZelFeature> fitted = fitGroups(groups);
  auto* planes = queryPart<IZelParallelPlanes>(fitted.get());
  if (!planes) return {};
  const PlaneEquation primaryFace = PlaneEquation::of(*primary);
  const Vector3 secondaryPoint = positionOf(*queryPart<IZelFeature>(secondary.get()));
  setSolidity(*fitted, primaryFace.signedDistance(secondaryPoint) >= 0.0 ? kGap : kMaterial);
  if (!compensateDistance(*planes, probing->radius)) return {};
  // Against the primary plane's normal: from the primary face's tips onto their face.
  Vector3 midPoint, normal, reference, low, high;
  double distance = 0.0;
  planes->planes(midPoint, normal, reference, distance, low, high);
  const Vector3 away = normal.dot(primary->normal()) >= 0.0 ? -normal : normal;
  PointList compensated;
  for (const Vector3& p : groups.primary) compensated.push_back(p + away * probing->radius);
  for (const Vector3& p : groups.secondary) compensated.push_back(p - away * probing->radius);
  return finish(fitted, compensated);
}
