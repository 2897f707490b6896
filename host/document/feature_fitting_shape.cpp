#include "host/document/feature_fitting_shape.h"

#include <cmath>
#include <utility>

#include "framework/object/query_part.h"
#include "host_api/feature_kinds.h"

namespace {

Eigen::Vector3d eigen(const Vector3& v) {
  return {v.x, v.y, v.z};
}

// The library's cone widens from A towards B; a feature may have been given its wide end first.
fitting::Cone narrowEndFirst(IZelCone& cone) {
  fitting::Cone shape{eigen(cone.endA()), eigen(cone.endB()),          cone.radiusA(),
                      cone.radiusB(),     eigen(cone.axisDirection()), cone.halfAngle()};
  if (shape.radiusA > shape.radiusB) {
    std::swap(shape.endA, shape.endB);
    std::swap(shape.radiusA, shape.radiusB);
    shape.axis = -shape.axis;
  }
  return shape;
}

// The frame of a circle or cylinder, which no distance reads; zero, so nothing is left unset.
fitting::Frame unreadFrame() {
  return {Eigen::Vector3d::Zero(), Eigen::Matrix3d::Zero()};
}

// Only the values the library's distances read are filled: a plane's point and normal, a line's point and
// direction, a circle's, cylinder's and cone's axis and radii.
std::optional<FittingShape> shapeOfKind(IZelUnknown* object) {
  if (auto* point = queryPart<IZelPoint>(object)) {
    double xyz[3];
    point->position(xyz);
    return fitting::Sphere{{xyz[0], xyz[1], xyz[2]}, 0.0};
  }
  if (auto* planes = queryPart<IZelParallelPlanes>(object)) {
    Vector3 midPoint, normal, reference, low, high;
    double distance = 0.0;
    planes->planes(midPoint, normal, reference, distance, low, high);
    return fitting::ParallelPlanes{eigen(normal), eigen(midPoint), distance};
  }
  if (auto* plane = queryPart<IZelPlane>(object))
    return fitting::Plane{eigen(plane->center()), eigen(plane->normal())};
  if (auto* line = queryPart<IZelLine>(object)) {
    const Eigen::Vector3d start = eigen(line->start()), end = eigen(line->end());
    // Ends that coincide give no direction to measure across.
    if (start == end) return std::nullopt;
    return fitting::Line{start, (end - start).normalized(), start, end, std::nullopt};
  }
  if (auto* arc = queryPart<IZelArc>(object)) {
    return fitting::Circle{eigen(arc->center()), eigen(arc->normal()), arc->radius(), unreadFrame()};
  }
  if (auto* sphere = queryPart<IZelSphere>(object))
    return fitting::Sphere{eigen(sphere->center()), sphere->radius()};
  if (auto* cylinder = queryPart<IZelCylinder>(object)) {
    return fitting::Cylinder{
        eigen(cylinder->axisDirection()), eigen(cylinder->axisPoint()), cylinder->radius(),
        eigen(cylinder->firstEnd()),      eigen(cylinder->secondEnd()), unreadFrame()};
  }
  if (auto* cone = queryPart<IZelCone>(object)) return narrowEndFirst(*cone);
  return std::nullopt;
}

// Every number the distances read is finite: a fitting shape is never built on anything else.
struct AllFinite {
  static bool finite(const Eigen::Vector3d& v) { return v.allFinite(); }
  static bool finite(double d) { return std::isfinite(d); }
  bool operator()(const fitting::Plane& s) const { return finite(s.point) && finite(s.normal); }
  bool operator()(const fitting::Line& s) const { return finite(s.point) && finite(s.direction); }
  bool operator()(const fitting::Circle& s) const {
    return finite(s.centre) && finite(s.normal) && finite(s.radius);
  }
  bool operator()(const fitting::Sphere& s) const { return finite(s.centre) && finite(s.radius); }
  bool operator()(const fitting::Cylinder& s) const {
    return finite(s.axis) && finite(s.pointOnAxis) && finite(s.radius);
  }
  bool operator()(const fitting::Cone& s) const {
    return finite(s.endA) && finite(s.axis) && finite(s.radiusA) && finite(s.halfAngle);
  }
  bool operator()(const fitting::ParallelPlanes& s) const {
    return finite(s.normal) && finite(s.midPoint) && finite(s.distance);
  }
};

}  // namespace

std::optional<FittingShape> fittingShapeOf(IZelFeature* feature) {
  if (!feature) return std::nullopt;
  std::optional<FittingShape> shape = shapeOfKind(feature->object());
  if (!shape || !std::visit(AllFinite{}, *shape)) return std::nullopt;
  return shape;
}
