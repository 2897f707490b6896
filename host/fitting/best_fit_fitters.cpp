#include "host/fitting/best_fit_fitters.h"

#include "host/document/features/host_arc.h"
#include "host/document/features/host_cone.h"
#include "host/document/features/host_cylinder.h"
#include "host/document/features/host_line.h"
#include "host/document/features/host_parallel_planes.h"
#include "host/document/features/host_plane.h"
#include "host/document/features/host_sphere.h"
#include "host/fitting/geometry/fitting.h"

namespace {

// How far a touch of a portable arm's probe lies from the surface it touched: about 0.01 mm (one standard
// deviation, in the host's metres). Cylinders or cones along other axes that the touches fit within three
// such deviations of the best are ones they cannot tell from it, and the uncertainty it leaves in the fitted
// axis, position and size must stay within what a measurement allows.
constexpr double kTouchScatter = 1e-5;

// The feature made, or none when it refused its values.
template <class Feature>
IPtr<IZelFeature> featureIf(const IPtr<Feature>& made, bool accepted) {
  return accepted ? IPtr<IZelFeature>(static_cast<IZelFeature*>(made.get())) : IPtr<IZelFeature>();
}

template <class Shape>
using FitOf = fitting::FitResult<Shape> (*)(std::span<const Eigen::Vector3d>);
template <class Shape>
using FitInPlaneOf = fitting::FitResult<Shape> (*)(std::span<const Eigen::Vector3d>, const fitting::Plane&);

// The fit in the work plane when there is one, else in space.
template <class Shape>
fitting::FitResult<Shape> inPlaneOrSpace(const FitPoints& points, const std::optional<fitting::Plane>& plane,
                                         FitInPlaneOf<Shape> inPlane, FitOf<Shape> inSpace) {
  return plane ? inPlane(points, *plane) : inSpace(points);
}

}  // namespace

IPtr<IZelFeature> HostPlaneFitter::fitFeature() {
  FitPoints points = selectedPoints(1);
  auto fitted = fitting::fitPlane(points);
  if (!fitted) return refused(fitted.failure());
  IPtr<HostPlane> plane(new HostPlane);
  std::vector<Vector3> source;
  for (const Eigen::Vector3d& p : points) source.push_back(toVector3(p));
  plane->setSourcePoints(std::move(source));
  return featureIf(plane, plane->setPlane(toVector3(fitted->point), toVector3(fitted->normal), {}, 0, 0));
}

IPtr<IZelFeature> HostLineFitter::fitFeature() {
  auto fitted = inPlaneOrSpace<fitting::Line>(selectedPoints(1), workPlane(), fitting::fitLineInPlane,
                                              fitting::fitLine);
  if (!fitted) return refused(fitted.failure());
  IPtr<HostLine> line(new HostLine);
  line->setLine(toVector3(fitted->start), toVector3(fitted->end), 0, 0);
  return featureIf(line, true);
}

IPtr<IZelFeature> HostSphereFitter::fitFeature() {
  auto fitted = fitting::fitSphere(selectedPoints(1));
  if (!fitted) return refused(fitted.failure());
  IPtr<HostSphere> sphere(new HostSphere);
  sphere->setCenter(toVector3(fitted->centre));
  sphere->setRadius(fitted->radius);
  return featureIf(sphere, true);
}

IPtr<IZelFeature> HostArcFitter::fitFeature() {
  auto fitted = inPlaneOrSpace<fitting::Circle>(selectedPoints(1), workPlane(), fitting::fitCircleInPlane,
                                                fitting::fitCircle);
  if (!fitted) return refused(fitted.failure());
  IPtr<HostArc> arc(new HostArc);
  arc->setCenter(toVector3(fitted->centre));
  arc->setRadius(fitted->radius);
  return featureIf(arc, arc->setNormal(toVector3(fitted->normal)));
}

std::optional<fitting::CylinderSeed> HostCylinderFitter::seed() const {
  auto* axis = parameter<IZelVectorValue>(u"<Axis>");
  auto* center = parameter<IZelVectorValue>(u"<Center>");
  auto* diameter = parameter<IZelDoubleValue>(u"<Diameter>");
  if (!axis || !center || !diameter) return std::nullopt;
  return fitting::CylinderSeed{toEigen(axis->value()), toEigen(center->value()), diameter->value()};
}

IPtr<IZelFeature> HostCylinderFitter::fitFeature() {
  FitPoints points = selectedPoints(1);
  std::optional<Eigen::Vector3d> held = axisConstraint();
  auto fitted = held ? fitting::fitCylinderParallelTo(points, *held)
                     : fitting::fitCylinder(points, seed(), kTouchScatter);
  if (!fitted) return refused(fitted.failure());
  IPtr<HostCylinder> cylinder(new HostCylinder);
  return featureIf(cylinder,
                   cylinder->redefine(toVector3(fitted->start), toVector3(fitted->end), fitted->radius,
                                      toVector3(fitted->frame.axes.col(0)), nullptr, nullptr, nullptr));
}

std::optional<fitting::ConeSeed> HostConeFitter::seed() const {
  auto* centerFrom = parameter<IZelVectorValue>(u"<CenterFrom>");
  auto* centerTo = parameter<IZelVectorValue>(u"<CenterTo>");
  auto* diameterFrom = parameter<IZelDoubleValue>(u"<DiameterFrom>");
  auto* diameterTo = parameter<IZelDoubleValue>(u"<DiameterTo>");
  if (!centerFrom || !centerTo || !diameterFrom || !diameterTo) return std::nullopt;
  return fitting::ConeSeed{toEigen(centerFrom->value()), toEigen(centerTo->value()), diameterFrom->value(),
                           diameterTo->value()};
}

IPtr<IZelFeature> HostConeFitter::fitFeature() {
  FitPoints points = selectedPoints(1);
  std::optional<Eigen::Vector3d> held = axisConstraint();
  auto fitted =
      held ? fitting::fitConeParallelTo(points, *held) : fitting::fitCone(points, seed(), kTouchScatter);
  if (!fitted) return refused(fitted.failure());
  IPtr<HostCone> cone(new HostCone);
  return featureIf(cone, cone->redefine(toVector3(fitted->endA), toVector3(fitted->endB), fitted->radiusA,
                                        fitted->radiusB, {}, nullptr, nullptr, nullptr));
}

IPtr<IZelFeature> HostParallelPlanesFitter::fitFeature() {
  // Without a selection both groups would be every point: two coinciding planes that were never measured.
  if (!parameter<IZelBitVectorArray>(u"<Selection>")) return {};
  FitPoints first = selectedPoints(1);
  FitPoints second = selectedPoints(2);
  auto fitted = fitting::fitParallelPlanes(first, second);
  if (!fitted) return refused(fitted.failure());
  Box region = emptyBox();
  for (const FitPoints* group : {&first, &second}) {
    for (const Eigen::Vector3d& p : *group) growBox(region, toVector3(p));
  }
  IPtr<HostParallelPlanes> planes(new HostParallelPlanes);
  return featureIf(
      planes, planes->setPlanes(toVector3(fitted->midPoint), toVector3(fitted->normal), {}, fitted->distance,
                                {region[0], region[1], region[2]}, {region[3], region[4], region[5]}));
}
