#include "features/feature_matching.h"

#include <cfloat>
#include <cmath>
#include <optional>
#include <vector>

#include "basic_types/matrix4x4.h"
#include "features/placed_feature.h"
#include "features/slot_outline.h"
#include "framework/host_glue/document_glue.h"
#include "framework/host_glue/object_placement.h"
#include "framework/object/iptr.h"
#include "framework/object/query_part.h"
#include "host_api/data_store.h"
#include "host_api/feature_kinds.h"
#include "host_api/gfx_view.h"
#include "host_api/probe_array_source.h"
#include "host_api/zel_doc.h"

namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;
// The graphics service's spaces: the scene, and the coordinates of one document object.
constexpr int32_t kSceneSpace = 4;
constexpr int32_t kObjectSpace = 5;

// The centre of the feature's box, asked from the empty box; none when it gives no box.
std::optional<Vector3> boxCentre(IZelFeature& feature) {
  double box[6] = {FLT_MAX, FLT_MAX, FLT_MAX, -FLT_MAX, -FLT_MAX, -FLT_MAX};
  if (!feature.boundingBox(box)) return std::nullopt;
  return Vector3{(box[0] + box[3]) / 2, (box[1] + box[4]) / 2, (box[2] + box[5]) / 2};
}

// What sets features of one kind apart where they lie alike: lengths (radii, a slot's length and width,
// the distance of parallel planes) and angles (a cone's half angle).
struct FeatureSize {
  std::vector<double> lengths;
  std::vector<double> angles;
};

FeatureSize sizeOf(IZelFeature* feature) {
  if (auto* cylinder = queryPart<IZelCylinder>(feature)) return {{cylinder->radius()}, {}};
  if (auto* sphere = queryPart<IZelSphere>(feature)) return {{sphere->radius()}, {}};
  if (auto* arc = queryPart<IZelArc>(feature)) return {{arc->radius()}, {}};
  if (auto* cone = queryPart<IZelCone>(feature)) return {{}, {cone->halfAngle()}};
  if (IZelSlotOutline* slot = slotOutlineOf(feature)) return {{slot->length(), slot->width()}, {}};
  if (auto* planes = queryPart<IZelParallelPlanes>(feature)) {
    Vector3 mid, normal, reference, low, high;
    double distance = 0;
    planes->planes(mid, normal, reference, distance, low, high);
    return {{distance}, {}};
  }
  return {};
}

// The sum of the differences between the sizes and their counterparts; none when the two are not sized
// alike or a size is not finite. A feature is of one kind, so lengths and angles are never summed together.
std::optional<double> gap(const std::vector<double>& a, const std::vector<double>& b) {
  if (a.size() != b.size()) return std::nullopt;
  double sum = 0;
  for (size_t i = 0; i < a.size(); ++i) sum += std::fabs(a[i] - b[i]);
  return std::isfinite(sum) ? std::optional<double>(sum) : std::nullopt;
}

// How far the reference's size lies from the probed one's; none when they cannot be compared.
std::optional<double> sizeGap(IZelFeature* probed, IZelFeature* reference) {
  const FeatureSize a = sizeOf(probed), b = sizeOf(reference);
  const std::optional<double> lengths = gap(a.lengths, b.lengths), angles = gap(a.angles, b.angles);
  if (!lengths || !angles) return std::nullopt;
  return *lengths + *angles;
}

// Sizes this close (metres or radians) are one size, told apart by their place: the rounding of nominals
// of one size recreated from a model, far below any probed feature's error.
constexpr double kSameSize = 1e-7;

struct Tolerances {
  double maxDistance;
  double maxAngle;  // radians
};

Tolerances matchingTolerances(IDataStore& store) {
  return {store.getDouble(kFeatureMatchingMaxDistanceKey, 0),
          store.getDouble(kFeatureMatchingMaxAngleKey, 0) * kRadiansPerDegree};
}

// Nominals recreated from one model lie within rounding of each other (metres, radians).
constexpr double kSameFeatureDistance = 1e-7;
constexpr double kSameFeatureAngle = 1e-7;

// The features of the reference object "RefObject" and its placement, by a rotation and a shift.
struct ReferenceFeatures {
  IZelSubObjectMgr* manager;
  std::optional<ObjectPlacement> placement;
  // A feature in the world placed in the reference object's own coordinates, where its features lie.
  IPtr<IZelFeature> own(IZelFeature* world) const {
    return placement->isIdentity() ? IPtr<IZelFeature>(world) : placedFeature(world, placement->worldToOwn());
  }
};

std::optional<ReferenceFeatures> referenceFeatures() {
  SPtr<IZelDoc> document;
  IZelDocObject* reference = document ? document->findObject(ZelString(u"RefObject")) : nullptr;
  auto* manager = queryPart<IZelSubObjectMgr>(getFeatureSubObjectMgr(reference));
  std::optional<ObjectPlacement> placement = reference ? ObjectPlacement::of(reference) : std::nullopt;
  if (!manager || !placement) return std::nullopt;
  return ReferenceFeatures{manager, placement};
}

}  // namespace

bool isFeatureMatchingEnabled() {
  SPtr<IDataStore> store;
  return store && store->getInt(kFeatureMatchingEnableKey, 0) != 0;
}

bool withinMatchTolerances(IZelFeature& nominal, IZelFeature& probed) {
  SPtr<IDataStore> store;
  auto* test = queryPart<IZelFeatureExt>(&nominal);
  if (!store || !test) return false;
  const Tolerances tolerances = matchingTolerances(*store);
  return test->match(&probed, tolerances.maxDistance, tolerances.maxAngle);
}

bool matchReferenceFeature(IZelFeature* probed, ZelString& name) {
  IZelSubObject* match = bestReferenceMatch(probed, [](IZelSubObject*) { return false; });
  if (!match) return false;
  name = match->name();
  return true;
}

IZelSubObject* referenceHolding(IZelFeature* worldNominal) {
  const std::optional<ReferenceFeatures> references = referenceFeatures();
  if (!worldNominal || !references) return nullptr;
  IPtr<IZelFeature> own = references->own(worldNominal);
  for (int32_t i = 0; own && i < references->manager->subObjectCount(); ++i) {
    IZelSubObject* candidate = references->manager->subObjectAt(i);
    auto* featureSubObject = queryPart<IZelFeatureSubObject>(candidate);
    IZelFeature* feature = featureSubObject ? featureSubObject->feature() : nullptr;
    auto* test = queryPart<IZelFeatureExt>(feature);
    const std::optional<double> sizeOff = test ? sizeGap(own.get(), feature) : std::nullopt;
    if (sizeOff && *sizeOff <= kSameSize && test->match(own.get(), kSameFeatureDistance, kSameFeatureAngle))
      return candidate;
  }
  return nullptr;
}

IZelSubObject* bestReferenceMatch(IZelFeature* worldProbed,
                                  const std::function<bool(IZelSubObject*)>& taken) {
  SPtr<IDataStore> store;
  const std::optional<ReferenceFeatures> found = referenceFeatures();
  if (!worldProbed || !store || !found) return nullptr;
  IZelSubObjectMgr* references = found->manager;
  const std::optional<ObjectPlacement>& placement = found->placement;
  IPtr<IZelFeature> own = found->own(worldProbed);
  IZelFeature* probed = own.get();
  // The box of a placed copy may still rest on the points it was fitted to, which stay where they were
  // probed: the centre is taken in the world and placed.
  const std::optional<Vector3> worldCentre = boxCentre(*worldProbed);
  if (!probed || !worldCentre) return nullptr;
  const Vector3 centre = placement->toOwn(*worldCentre);
  const Tolerances tolerances = matchingTolerances(*store);
  IZelSubObject* best = nullptr;
  double bestGap = 0.0, bestSquared = 0.0;
  for (int32_t i = 0; i < references->subObjectCount(); ++i) {
    IZelSubObject* candidate = references->subObjectAt(i);
    auto* featureSubObject = queryPart<IZelFeatureSubObject>(candidate);
    IZelFeature* feature = featureSubObject ? featureSubObject->feature() : nullptr;
    auto* test = queryPart<IZelFeatureExt>(feature);
    if (!test || taken(candidate) || !test->match(probed, tolerances.maxDistance, tolerances.maxAngle))
      continue;
    const std::optional<double> sizeOff = sizeGap(probed, feature);
    const std::optional<Vector3> candidateCentre = boxCentre(*feature);
    if (!sizeOff || !candidateCentre) continue;
    const double squared = (*candidateCentre - centre).squaredLength();
    // The nearest in size: a bore worn or machined over size is still that bore, and shows by how much;
    // of one size, the nearest in place, and of equal distances the first in the reference object's order.
    const bool sameSize = best && std::fabs(*sizeOff - bestGap) <= kSameSize;
    if (!best || (sameSize ? squared < bestSquared : *sizeOff < bestGap)) {
      best = candidate;
      bestGap = *sizeOff;
      bestSquared = squared;
    }
  }
  return best;
}

bool fillProbeArraySource(IZelSubObject* subObject, IZelFeatureCollector* collector) {
  if (!collector) return false;
  const int32_t count = collector->resultPointCount();
  if (count < 1) return true;
  if (!queryPart<IZelProbeArraySource>(subObject)) return false;
  PointList points;
  for (int32_t i = 1; i <= count; ++i) {
    Vector3 point;
    if (collector->resultPoint(i, point)) points.push_back(point);
  }
  showProbedPoints(*subObject, points);
  return true;
}

void showProbedPoints(IZelSubObject& subObject, const PointList& scenePoints) {
  auto* source = queryPart<IZelProbeArraySource>(&subObject);
  if (!source) return;
  // The source holds its object's own coordinates, which the object's transform takes to the scene.
  SPtr<IGenGfxService> graphics;
  Matrix4x4 toObject = Matrix4x4::identity();
  if (graphics) graphics->spaceTransform(toObject, kSceneSpace, kObjectSpace, subObject.objectId(), -1);
  source->begin(static_cast<int32_t>(scenePoints.size()));
  for (const Vector3& point : scenePoints) source->append(Matrix4x4::transformPoint(toObject, point));
}
