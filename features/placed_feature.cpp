#include "features/placed_feature.h"

#include <algorithm>

#include "framework/object/query_part.h"
#include "host_api/feature_kinds.h"

namespace {

struct Placement {
  const Matrix4x4& rigid;
  Vector3 point(const Vector3& p) const { return Matrix4x4::transformPoint(rigid, p); }
  Vector3 direction(const Vector3& d) const { return Matrix4x4::transformVector(rigid, d); }
};

// The feature's own reference direction (the first of its frame), placed; a kind's setter keeps the frame
// turning with the feature this way.
Vector3 placedReference(IZelFeature& feature, const Placement& placement) {
  Vector3 a, b, origin;
  return feature.frame(a, b, origin) ? placement.direction(a) : Vector3();
}

bool placeSlot(IZelSlotOutline& slot, const Placement& placement) {
  slot.setCenter(placement.point(slot.center()));
  return slot.setAxis(placement.direction(slot.axis())) &&
         slot.setSecondDirection(placement.direction(slot.secondDirection()));
}

// The region the planes were measured over is a box in the frame it was measured in: the box around its
// placed corners holds it, about the same centre.
bool placePlanes(IZelParallelPlanes& planes, const Placement& placement) {
  Vector3 mid, normal, reference, low, high;
  double distance = 0;
  planes.planes(mid, normal, reference, distance, low, high);
  if (low.x <= high.x && low.y <= high.y && low.z <= high.z) {
    const Vector3 corners[2] = {low, high};
    Vector3 placedLow = placement.point(low), placedHigh = placedLow;
    for (int i = 1; i < 8; ++i) {
      const Vector3 c = placement.point({corners[i & 1].x, corners[(i >> 1) & 1].y, corners[i >> 2].z});
      placedLow = {std::min(placedLow.x, c.x), std::min(placedLow.y, c.y), std::min(placedLow.z, c.z)};
      placedHigh = {std::max(placedHigh.x, c.x), std::max(placedHigh.y, c.y), std::max(placedHigh.z, c.z)};
    }
    low = placedLow;
    high = placedHigh;
  }
  return planes.setPlanes(placement.point(mid), placement.direction(normal), placement.direction(reference),
                          distance, low, high);
}

bool placeAxial(IZelFeature& feature, const Placement& placement) {
  const Vector3 reference = placedReference(feature, placement);
  if (auto* cylinder = queryPart<IZelCylinder>(&feature))
    return cylinder->redefine(placement.point(cylinder->firstEnd()), placement.point(cylinder->secondEnd()),
                              cylinder->radius(), reference, nullptr, nullptr, nullptr);
  if (auto* cone = queryPart<IZelCone>(&feature))
    return cone->redefine(placement.point(cone->endA()), placement.point(cone->endB()), cone->radiusA(),
                          cone->radiusB(), reference, nullptr, nullptr, nullptr);
  return false;
}

bool place(IZelFeature& feature, const Placement& placement) {
  if (auto* plane = queryPart<IZelPlane>(&feature))
    return plane->setPlane(placement.point(plane->center()), placement.direction(plane->normal()),
                           placedReference(feature, placement), 0, 0);
  if (auto* line = queryPart<IZelLine>(&feature)) {
    line->setLine(placement.point(line->start()), placement.point(line->end()), 0, 0);
    return true;
  }
  if (auto* arc = queryPart<IZelArc>(&feature)) {
    arc->setCenter(placement.point(arc->center()));
    return arc->setNormal(placement.direction(arc->normal()));
  }
  if (auto* sphere = queryPart<IZelSphere>(&feature)) {
    sphere->setCenter(placement.point(sphere->center()));
    return true;
  }
  if (auto* planes = queryPart<IZelParallelPlanes>(&feature)) return placePlanes(*planes, placement);
  if (auto* target = queryPart<IZelTargetPoint>(&feature)) {
    if (!target->setDirection(placement.direction(target->direction()))) return false;
  }
  if (auto* point = queryPart<IZelPoint>(&feature)) {
    double xyz[3];
    point->position(xyz);
    const Vector3 placed = placement.point({xyz[0], xyz[1], xyz[2]});
    point->setPosition(placed.x, placed.y, placed.z);
    return true;
  }
  if (auto* slot = queryPart<IZelOvalSlot>(&feature)) return placeSlot(*slot, placement);
  if (auto* slot = queryPart<IZelRectangularSlot>(&feature)) return placeSlot(*slot, placement);
  if (auto* slot = queryPart<IZelRoundedSlot>(&feature)) return placeSlot(*slot, placement);
  return placeAxial(feature, placement);
}

}  // namespace

IPtr<IZelFeature> placedFeature(IZelFeature* feature, const Matrix4x4& rigid) {
  IPtr<IZelFeature> placed;
  if (!feature) return placed;
  placed.takeOwnership(feature->copy());
  if (!placed || !place(*placed, Placement{rigid})) return {};
  return placed;
}
