#include "features/ball_surface.h"

#include <algorithm>
#include <cmath>

#include "framework/object/query_part.h"
#include "host_api/feature_kinds.h"

namespace {

using Point2 = std::pair<double, double>;

double crossOf(const Point2& o, const Point2& a, const Point2& b) {
  return (a.first - o.first) * (b.second - o.second) - (a.second - o.second) * (b.first - o.first);
}

// The convex hull, counter-clockwise, of points in a plane; fewer than three for points on a line.
std::vector<Point2> hullOf(std::vector<Point2> points) {
  std::ranges::sort(points);
  if (points.size() < 3) return points;
  std::vector<Point2> hull(2 * points.size());
  size_t k = 0;
  for (size_t i = 0; i < points.size(); ++i) {
    while (k >= 2 && crossOf(hull[k - 2], hull[k - 1], points[i]) <= 0) --k;
    hull[k++] = points[i];
  }
  for (size_t i = points.size() - 1, lower = k + 1; i-- > 0;) {
    while (k >= lower && crossOf(hull[k - 2], hull[k - 1], points[i]) <= 0) --k;
    hull[k++] = points[i];
  }
  hull.resize(k - 1);
  return hull;
}

double distanceToSegment(const Point2& q, const Point2& a, const Point2& b) {
  const double dx = b.first - a.first, dy = b.second - a.second, length2 = dx * dx + dy * dy;
  const double t =
      length2 > 0 ? std::clamp(((q.first - a.first) * dx + (q.second - a.second) * dy) / length2, 0.0, 1.0)
                  : 0.0;
  return std::hypot(q.first - a.first - t * dx, q.second - a.second - t * dy);
}

// Zero inside the hull; else the distance to its nearest edge or point.
double distanceToHull(const std::vector<Point2>& hull, const Point2& q) {
  if (hull.size() == 1) return distanceToSegment(q, hull[0], hull[0]);
  bool inside = hull.size() >= 3;
  double nearest = INFINITY;
  for (size_t i = 0; i < hull.size(); ++i) {
    const Point2 &a = hull[i], &b = hull[(i + 1) % hull.size()];
    inside = inside && crossOf(a, b, q) >= 0;
    nearest = std::min(nearest, distanceToSegment(q, a, b));
  }
  return inside ? 0.0 : nearest;
}

}  // namespace

std::optional<BallSurface> BallSurface::through(IZelFeature& made, std::span<const Vector3> touches,
                                                double probeRadius) {
  std::optional<BallSurface> surface;
  if (auto* plane = queryPart<IZelPlane>(&made)) {
    surface = BallSurface(Shape::kPlane, plane->center(), plane->normal(), 0, 0);
  } else if (auto* cylinder = queryPart<IZelCylinder>(&made)) {
    surface =
        BallSurface(Shape::kAxial, cylinder->axisPoint(), cylinder->axisDirection(), cylinder->radius(), 0);
  } else if (auto* cone = queryPart<IZelCone>(&made)) {
    const double length = (cone->endB() - cone->endA()).length();
    if (!(length > 0)) return std::nullopt;
    surface = BallSurface(Shape::kAxial, cone->endA(), cone->endB() - cone->endA(), cone->radiusA(),
                          (cone->radiusB() - cone->radiusA()) / length);
  } else if (auto* arc = queryPart<IZelArc>(&made)) {
    surface = BallSurface(Shape::kAxial, arc->center(), arc->normal(), arc->radius(), 0);
  } else if (auto* sphere = queryPart<IZelSphere>(&made)) {
    surface = BallSurface(Shape::kSphere, sphere->center(), {}, sphere->radius(), 0);
  }
  if (!surface || touches.empty() || (surface->shape_ != Shape::kSphere && !(surface->axis_.length() > 0)))
    return std::nullopt;
  surface->settle(touches, probeRadius);
  return surface;
}

BallSurface BallSurface::plane(const Vector3& normal, double d, std::span<const Vector3> touches,
                               double probeRadius) {
  const Vector3 n = normal.normalized();
  BallSurface surface(Shape::kPlane, n * (d / normal.length()), n, 0, 0);
  surface.settle(touches, probeRadius);
  return surface;
}

double BallSurface::madeOffsetOf(const Vector3& point) const {
  const Vector3 from = point - origin_;
  switch (shape_) {
    case Shape::kPlane:
      return from.dot(axis_);
    case Shape::kSphere:
      return from.length() - radius_;
    case Shape::kAxial:
      // Across a cone's wall: the radial gap turned by its half angle.
      return (Vector3::perpendicularPart(from, axis_).length() - (radius_ + slope_ * along(point))) /
             std::sqrt(1 + slope_ * slope_);
  }
  return 0;
}

double BallSurface::offset(const Vector3& point) const {
  return madeOffsetOf(point) - madeOffset_;
}

void BallSurface::settle(std::span<const Vector3> touches, double probeRadius) {
  double sum = 0;
  for (const Vector3& touch : touches) sum += madeOffsetOf(touch);
  madeOffset_ = sum / static_cast<double>(touches.size());
  probeRadius_ = probeRadius;
  const auto [lowest, highest] = std::ranges::minmax(touches, {}, [&](const Vector3& p) { return along(p); });
  lowest_ = along(lowest);
  highest_ = along(highest);
  if (shape_ == Shape::kSphere) settleCap(touches);
  if (shape_ == Shape::kPlane) settleArea(touches);
}

void BallSurface::settleCap(std::span<const Vector3> touches) {
  for (const Vector3& touch : touches) capDirection_ = capDirection_ + (touch - origin_).normalized();
  capDirection_ = capDirection_.normalized();
  capCosine_ = 1;
  for (const Vector3& touch : touches)
    capCosine_ = std::min(capCosine_, capDirection_.dot((touch - origin_).normalized()));
  // Touches all round the sphere leave no cap: everywhere is over it.
  if (!(capDirection_.length() > 0)) capCosine_ = -1;
}

void BallSurface::settleArea(std::span<const Vector3> touches) {
  Vector3::orthonormalBasis(axis_, u_, v_);
  std::vector<Point2> projected;
  for (const Vector3& touch : touches) projected.emplace_back(touch.dot(u_), touch.dot(v_));
  area_ = hullOf(std::move(projected));
  // A ball coming down on a face at a slant lies up to its radius aside from its touch, still over the face.
  areaMargin_ = probeRadius_;
}

double BallSurface::alongFoot(const Vector3& point) const {
  // Where beside the surface: a position over a cone's wall lies beside the foot of its normal there.
  return along(point - outward(point) * offset(point));
}

bool BallSurface::spans(const Vector3& point) const {
  switch (shape_) {
    case Shape::kPlane:
      return distanceToHull(area_, {point.dot(u_), point.dot(v_)}) <= areaMargin_;
    case Shape::kSphere: {
      const Vector3 from = (point - origin_).normalized();
      // The cap widened by the end margin seen from the centre.
      const double widen = kClearOfSurface / std::max(radius_ + madeOffset_, kClearOfSurface);
      return capDirection_.dot(from) >= std::cos(std::acos(std::clamp(capCosine_, -1.0, 1.0)) + widen);
    }
    case Shape::kAxial:
      return !beyondEnds(point);
  }
  return false;
}

bool BallSurface::beyondEnds(const Vector3& point) const {
  if (shape_ != Shape::kAxial) return false;
  const double foot = alongFoot(point);
  return foot < lowest_ - kClearOfSurface || foot > highest_ + kClearOfSurface;
}

Vector3 BallSurface::outward(const Vector3& point) const {
  const Vector3 from = point - origin_;
  switch (shape_) {
    case Shape::kPlane:
      return axis_;
    case Shape::kSphere:
      return from.normalized();
    case Shape::kAxial:
      return (Vector3::perpendicularPart(from, axis_).normalized() - axis_ * slope_).normalized();
  }
  return {};
}

Vector3 BallSurface::pointOn(BallSide side, const Vector3& touch) const {
  if (side == BallSide::kOut) return touch + outward(touch) * probeRadius_;
  if (shape_ == Shape::kPlane) return touch - axis_ * probeRadius_;
  return shape_ == Shape::kSphere ? origin_ : origin_ + axis_ * along(touch);
}
