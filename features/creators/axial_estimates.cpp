#include "features/creators/axial_estimates.h"

#include <cmath>
#include <limits>

#include "basic_types/plane.h"
#include "features/creators/point_fit.h"
#include "framework/object/query_part.h"

namespace {

// Rings tilted further apart than this are not the two ends of one bore.
constexpr double kMaxRingTilt = 1.3089969389957472;  // 75°
// Ring centres closer than this share of the rings' mean diameter coincide but for rounding: they give no
// axis.
constexpr double kCoincidentCentres = 1e-6;
// A point this close to a ring's plane, as a share of the rings' distance, belongs to that ring.
constexpr double kRingTolerance = 0.15;

Vector3 centroid(const Vector3& a, const Vector3& b, const Vector3& c) {
  return (a + b + c) / 3.0;
}

// True when the planes' normals are more than 75° apart, either way round.
bool tiltedApart(const Vector3& nA, const Vector3& nB) {
  static const double sine = std::sin(kMaxRingTilt);
  const double cosine = nA.dot(nB);
  return cosine * cosine < nA.squaredLength() * (1.0 - sine * sine) * nB.squaredLength();
}

double distanceFrom(const Plane& plane, const Vector3& p) {
  return std::fabs(plane.normal().dot(p) - plane.d);
}

}  // namespace

IPtr<IZelArc> makeInitialArc(const PointList& points, IZelPlane* workPlane) {
  IPtr<IZelFeature> fitted = fitPoints(points, {"IZelArc", workPlane});
  return IPtr<IZelArc>(queryPart<IZelArc>(fitted.get()));
}

std::optional<RingCircles> fitProbingRings(const PointList& points) {
  const size_t n = points.size();
  if (n < 7) return std::nullopt;
  PointList first(points.begin(), points.begin() + 3);
  PointList last(points.end() - 3, points.end());
  const Plane planeA = Plane::throughPoints(first[0], first[1], first[2]);
  const Plane planeB = Plane::throughPoints(last[0], last[1], last[2]);
  // Collinear points span no plane: their zero normal would pass the angle test and sort the points between
  // by nothing.
  if (!planeA.isValid() || !planeB.isValid()) return std::nullopt;
  const Vector3 nA = planeA.normal();
  const Vector3 nB = nA.dot(planeB.normal()) < 0.0 ? -planeB.normal() : planeB.normal();
  if (tiltedApart(nA, nB)) return std::nullopt;
  const Vector3 axis = (nA.dot(nB) > 0.0 ? nA + nB : nA - nB).normalized();
  const Vector3 step = centroid(last[0], last[1], last[2]) - centroid(first[0], first[1], first[2]);
  const double tolerance = kRingTolerance * std::fabs(step.dot(axis));
  for (size_t i = 3; i + 3 < n; ++i) {
    if (distanceFrom(planeA, points[i]) < tolerance) {
      first.push_back(points[i]);
    } else if (distanceFrom(planeB, points[i]) < tolerance) {
      last.push_back(points[i]);
    }
  }
  RingCircles circles{makeInitialArc(first, nullptr), makeInitialArc(last, nullptr)};
  if (!circles.first || !circles.last) return std::nullopt;
  const double apart = (circles.last->center() - circles.first->center()).length();
  if (!(apart > kCoincidentCentres * (circles.first->radius() + circles.last->radius()))) return std::nullopt;
  return circles;
}

Box boundingBox(const PointList& points) {
  constexpr double kFar = std::numeric_limits<float>::max();
  Box box{{kFar, kFar, kFar}, {-kFar, -kFar, -kFar}};
  for (const Vector3& p : points) {
    if (p.x < box.min.x) box.min.x = p.x;
    if (p.y < box.min.y) box.min.y = p.y;
    if (p.z < box.min.z) box.min.z = p.z;
    if (p.x > box.max.x) box.max.x = p.x;
    if (p.y > box.max.y) box.max.y = p.y;
    if (p.z > box.max.z) box.max.z = p.z;
  }
  return box;
}

Matrix4x4 axisUpright(const Vector3& centre, const Vector3& axis) {
  return Matrix4x4::translation(centre) * Matrix4x4::rotationBetween(axis, {0, 0, 1}) *
         Matrix4x4::translation(-centre);
}
