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

// A probed radius, slot length or width, or distance of parallel planes this far from its reference's is
// still that feature: above a probed feature's error and a badly worn part's wear, below the step from a
// shaft to its bore or from a hole to its counterbore.
constexpr double kSizeTolerance = 0.001;
// A probed cone's half angle this far from its reference's (radians, 2 degrees) is still that cone: above a
// few touches' error, below the 4 degrees between the half angles of standard countersinks (82 and 90).
constexpr double kHalfAngleTolerance = 2 * kRadiansPerDegree;

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

// Whether each size lies within the tolerance of its counterpart; a size that is not finite agrees with none.
bool within(const std::vector<double>& a, const std::vector<double>& b, double tolerance) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (!(std::fabs(a[i] - b[i]) <= tolerance)) return false;
  }
  return true;
}

bool sizesAgree(IZelFeature* probed, IZelFeature* reference) {
  const FeatureSize a = sizeOf(probed), b = sizeOf(reference);
  return within(a.lengths, b.lengths, kSizeTolerance) && within(a.angles, b.angles, kHalfAngleTolerance);
}

struct Tolerances {
  double maxDistance;
  double maxAngle;  // radians
};

Tolerances matchingTolerances(IDataStore& store) {
  return {store.getDouble(kFeatureMatchingMaxDistanceKey, 0),
          store.getDouble(kFeatureMatchingMaxAngleKey, 0) * kRadiansPerDegree};
}

}  // namespace

bool isFeatureMatchingEnabled() {
  SPtr<IDataStore> store;
  return store && store->getInt(kFeatureMatchingEnableKey, 0) != 0;
}

bool matchReferenceFeature(IZelFeature* worldProbed, ZelString& name) {
  SPtr<IZelDoc> document;
  SPtr<IDataStore> store;
  if (!worldProbed || !document || !store) return false;
  IZelDocObject* reference = document->findObject(ZelString(u"RefObject"));
  auto* references = queryPart<IZelSubObjectMgr>(getFeatureSubObjectMgr(reference));
  // The reference features lie in the reference object's own coordinates.
  const std::optional<ObjectPlacement> placement = ObjectPlacement::of(reference);
  if (!references || !placement) return false;
  IPtr<IZelFeature> own = placement->isIdentity() ? IPtr<IZelFeature>(worldProbed)
                                                  : placedFeature(worldProbed, placement->worldToOwn());
  IZelFeature* probed = own.get();
  // The box of a placed copy may still rest on the points it was fitted to, which stay where they were
  // probed: the centre is taken in the world and placed.
  const std::optional<Vector3> worldCentre = boxCentre(*worldProbed);
  if (!probed || !worldCentre) return false;
  const Vector3 centre = placement->toOwn(*worldCentre);
  const Tolerances tolerances = matchingTolerances(*store);
  IZelSubObject* best = nullptr;
  double bestSquared = 0.0;
  for (int32_t i = 0; i < references->subObjectCount(); ++i) {
    IZelSubObject* candidate = references->subObjectAt(i);
    auto* featureSubObject = queryPart<IZelFeatureSubObject>(candidate);
    IZelFeature* feature = featureSubObject ? featureSubObject->feature() : nullptr;
    auto* test = queryPart<IZelFeatureExt>(feature);
    if (!test || !test->match(probed, tolerances.maxDistance, tolerances.maxAngle) ||
        !sizesAgree(probed, feature))
      continue;
    const std::optional<Vector3> candidateCentre = boxCentre(*feature);
    if (!candidateCentre) continue;
    const double squared = (*candidateCentre - centre).squaredLength();
    // Strictly nearer only: of equal distances the first in the reference object's order wins.
    if (!best || squared < bestSquared) {
      best = candidate;
      bestSquared = squared;
    }
  }
  if (!best) return false;
  name = best->name();
  return true;
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
