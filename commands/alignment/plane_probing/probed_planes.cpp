#include "commands/alignment/plane_probing/probed_planes.h"

#include <cmath>
#include <utility>

#include "commands/alignment/plane_probing/plane_fit_and_view.h"
#include "features/creators/probe_geometry.h"
#include "framework/translation/tr.h"

namespace {

Vector3 centroid(const std::vector<Vector3>& points) {
  Vector3 sum;
  for (const Vector3& p : points) sum = sum + p;
  return sum / static_cast<double>(points.size());
}

void compensate(Plane& plane, const Vector3& stopPoint, double probeRadius) {
  offsetPlaneAwayFrom(plane, stopPoint, probeRadius);
  orientPlaneTowards(plane, stopPoint);
}

}  // namespace

void offsetPlaneAwayFrom(Plane& plane, const Vector3& point, double distance) {
  const Vector3 n = plane.normal();
  const double side = n.dot(point) - plane.d >= 0.0 ? 1.0 : -1.0;
  plane.d = (plane.d - side * distance) * n.squaredLength();
}

void orientPlaneTowards(Plane& plane, const Vector3& point) {
  const Vector3 towards = (point - plane.projectPoint(point)).normalized();
  if (plane.normal().dot(towards) < 0.0) plane = {-plane.nx, -plane.ny, -plane.nz, -plane.d};
}

bool ProbedPlanes::computeDevicePlane1() {
  if (sampledPoints.size() < 3) return false;
  std::optional<Plane> plane = fitPlane(sampledPoints);
  if (!plane) return false;
  compensate(*plane, stopPoint, probeRadius);
  devicePlanes[0] = *plane;
  return true;
}

bool ProbedPlanes::plane2TouchesTellASide() const {
  if (sampledPoints.size() != 2) return true;
  const Vector3 n1 = devicePlanes[0].normal();
  Vector3 across = Vector3::cross(sampledPoints[1] - sampledPoints[0], n1);
  // Touches one above the other along plane 1's normal give no plane at all; the fit refuses them.
  if (!across.normalize()) return true;
  if (std::abs(across.dot(stopPoint - sampledPoints[0])) < kStopSideShare * probeRadius) return false;
  if (sampledAxes.size() != 2) return true;
  const auto alongN1 = [&](const Vector3& axis) {
    return std::abs(axis.normalized().dot(n1)) >= std::cos(kFacingAngle);
  };
  return !(alongN1(sampledAxes[0]) && alongN1(sampledAxes[1]));
}

bool ProbedPlanes::computeDevicePlane2() {
  if (sampledPoints.size() < 2 || !plane2TouchesTellASide()) return false;
  // The third point joins the touches only with the plane it gives: a refused plane keeps its touches as
  // they were taken, for the next stop.
  std::vector<Vector3> points = sampledPoints;
  if (points.size() == 2) points.push_back(devicePlanes[0].projectPoint(points[0]));
  std::optional<Plane> fitted = fitPlane(points);
  if (!fitted) return false;
  // Square to plane 1, turned about the points' centre: kept at the fitted d, the plane would turn about the
  // device's origin and miss its points by their distance from it times the correction.
  const Vector3 n1 = devicePlanes[0].normal();
  Vector3 normal = Vector3::cross(Vector3::cross(n1, fitted->normal()), n1);
  // Both normals are unit vectors, so the length is the sine of the angle between the planes.
  if (normal.length() < std::sin(kSmallestPlaneAngle) || !normal.normalize()) return false;
  Plane plane{normal.x, normal.y, normal.z, normal.dot(centroid(points))};
  compensate(plane, stopPoint, probeRadius);
  devicePlanes[1] = plane;
  sampledPoints = std::move(points);
  return true;
}

bool ProbedPlanes::computeDevicePlane3() {
  if (sampledPoints.empty()) return false;
  if (sampledPoints.size() > 1) sampledPoints = {centroid(sampledPoints)};
  Vector3 normal = Vector3::cross(devicePlanes[0].normal(), devicePlanes[1].normal());
  normal.normalize();
  Plane plane{normal.x, normal.y, normal.z, normal.dot(sampledPoints[0])};
  offsetPlaneAwayFrom(plane, stopPoint, probeRadius);
  devicePlanes[2] = plane;
  return true;
}

ZelString ProbedPlanes::refusal(int step) const {
  if (step == 2 && !plane2TouchesTellASide()) return tr(kParallelTouchesText);
  constexpr size_t kFewestPoints[] = {3, 2, 1};
  const size_t fewest = kFewestPoints[step - 1];
  const ZelString reason = sampledPoints.size() < fewest
                               ? morePointsText(static_cast<int32_t>(fewest - sampledPoints.size()))
                           : step == 1 ? tr("its points lie on a line")
                           : step == 2 ? tr("its points give no plane square to plane 1")
                                       : tr("the three planes give no alignment");
  return tr("Plane %1 was not made: %2. Its points are kept; probe more points and stop again.",
            ZelString::number(step), reason);
}
