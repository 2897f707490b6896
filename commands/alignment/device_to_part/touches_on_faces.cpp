#include "commands/alignment/device_to_part/touches_on_faces.h"

#include <algorithm>
#include <cmath>

#include "commands/alignment/plane_probing/probed_planes.h"

namespace {

// A face whose normal lies this close along its plane's normal has no place across the plane.
constexpr double kSmallestShare = 1e-6;
constexpr int kMostTurns = 60;
// Radians: a turn of the solve this small has found its direction to well below a nanometre over a metre.
constexpr double kSettledTurn = 1e-15;
// Radians: the most one step of the solve turns, so that touches that cannot lie on the face do not swing
// the direction round.
constexpr double kLargestTurn = 0.5;

Vector3 mean(const std::vector<Vector3>& points) {
  Vector3 sum;
  for (const Vector3& p : points) sum = sum + p;
  return sum / static_cast<double>(points.size());
}

// The face's outward unit normal, on the side of out; out itself where the face's normal is not known.
Vector3 outwardNormal(const PickedFace& face, const Vector3& out) {
  if (face.normal.squaredLength() == 0) return out;
  const Vector3 normal = face.normal.normalized();
  return normal.dot(out) < 0 ? -1.0 * normal : normal;
}

// The plane (unit normal g square to n1, c) nearest start's direction on which every centre, moved by slope
// times its height along g, lies: g . t + slope h = c, turned about n1 to the least squares of the misses;
// with the furthest miss.
struct SquareFit {
  Plane plane;
  double furthestMiss = 0;
};
std::optional<SquareFit> squarePlaneThrough(const std::vector<Vector3>& centres,
                                            const std::vector<double>& heights, double slope,
                                            const Vector3& n1, const Vector3& start) {
  Vector3 u = start - n1.dot(start) * n1;
  if (centres.empty() || !u.normalize()) return std::nullopt;
  const Vector3 v = Vector3::cross(n1, u);
  const Vector3 centre = mean(centres);
  double meanHeight = 0;
  for (double h : heights) meanHeight += h / static_cast<double>(heights.size());
  const auto miss = [&](double angle, size_t i, double& slopeOfMiss) {
    const Vector3 p = centres[i] - centre;
    slopeOfMiss = -std::sin(angle) * u.dot(p) + std::cos(angle) * v.dot(p);
    return std::cos(angle) * u.dot(p) + std::sin(angle) * v.dot(p) + slope * (heights[i] - meanHeight);
  };
  double angle = 0;
  for (int turn = 0; turn < kMostTurns; ++turn) {
    double missTimesSlope = 0, slopeSquared = 0, slopeOfMiss = 0;
    for (size_t i = 0; i < centres.size(); ++i) {
      const double e = miss(angle, i, slopeOfMiss);
      missTimesSlope += e * slopeOfMiss;
      slopeSquared += slopeOfMiss * slopeOfMiss;
    }
    if (slopeSquared == 0) break;
    const double step = std::clamp(missTimesSlope / slopeSquared, -kLargestTurn, kLargestTurn);
    angle -= step;
    if (std::abs(step) < kSettledTurn) break;
  }
  double furthest = 0, ignored = 0;
  for (size_t i = 0; i < centres.size(); ++i)
    furthest = std::max(furthest, std::abs(miss(angle, i, ignored)));
  const Vector3 g = std::cos(angle) * u + std::sin(angle) * v;
  return SquareFit{{g.x, g.y, g.z, g.dot(centre) + slope * meanHeight}, furthest};
}

// The unit vector along v, or none.
std::optional<Vector3> unit(Vector3 v) {
  return v.normalize() ? std::optional(v) : std::nullopt;
}

// The plane of this normal and d, or the same plane with both turned round (sense -1).
Plane withSense(double sense, const Vector3& normal, double d) {
  const Vector3 n = sense * normal;
  return {n.x, n.y, n.z, sense * d};
}

}  // namespace

std::optional<TouchedPlanes> planesOnTouchedFaces(const std::array<Plane, 3>& reference,
                                                  const std::array<Plane, 3>& device,
                                                  const std::array<PickedFace, 3>& faces,
                                                  const std::array<FaceTouches, 2>& touches, double radius) {
  const Vector3 n1 = reference[0].normal(), n1d = device[0].normal();
  const auto deviceHeights = [&](const std::vector<Vector3>& centres) {
    std::vector<double> heights;
    for (const Vector3& t : centres) heights.push_back(n1d.dot(t) - device[0].d);
    return heights;
  };
  TouchedPlanes planes{reference, device};

  // Plane 2: the ball's centres lie a radius off face 2, f . x = f . q + r; at height h above plane 1 that is
  // g . x = G - (b / a) h, g the face's normal laid square to plane 1 (f = a g + b n1).
  const double side2 = touches[0].outwardSide;
  const std::vector<double> heights2 = deviceHeights(touches[0].centres);
  // A Flip turns a face's picked normal round with its plane, so that it leans the other way along n1;
  // touches at several heights that miss the face as picked and lie on it leaning back show a part turned
  // over, as the Flip says.
  const Vector3 asPicked = outwardNormal(faces[1], side2 * reference[1].normal());
  Vector3 f2;
  std::optional<SquareFit> fit;
  for (const Vector3& f : {asPicked, asPicked - 2 * asPicked.dot(n1) * n1}) {
    const double a = (f - f.dot(n1) * n1).length();
    if (a < kSmallestShare || (fit && fit->furthestMiss <= kProbingNoise)) continue;
    const std::optional<SquareFit> tried =
        squarePlaneThrough(touches[0].centres, heights2, f.dot(n1) / a, n1d, side2 * device[1].normal());
    if (tried && (!fit || tried->furthestMiss < fit->furthestMiss)) {
      fit = tried;
      f2 = f;
    }
  }
  if (!fit || fit->furthestMiss > kFlatnessTolerance) return std::nullopt;
  const double b2 = f2.dot(n1), a2 = (f2 - b2 * n1).length();
  const Vector3 g2 = (f2 - b2 * n1) / a2;
  const double across2 = (f2.dot(faces[1].point) + radius - b2 * reference[0].d) / a2;
  planes.reference[1] = withSense(side2, g2, across2);
  planes.device[1] = withSense(side2, fit->plane.normal(), fit->plane.d);

  // Plane 3: square to planes 1 and 2 as they now pair; a touch's place along it follows from its height
  // above plane 1 and its place across plane 2, where face 3 leans towards either.
  const std::optional<Vector3> m3 = unit(Vector3::cross(n1, planes.reference[1].normal()));
  const std::optional<Vector3> m3d = unit(Vector3::cross(n1d, planes.device[1].normal()));
  if (!m3 || !m3d || touches[1].centres.empty()) return std::nullopt;
  // A Flip of plane 3 turns its picked normal round with it; its touches stay on the face as it was.
  const Vector3 f3 = outwardNormal(faces[2], touches[1].outwardSide * *m3);
  const double alpha = f3.dot(*m3), beta = f3.dot(n1), gamma = f3.dot(planes.reference[1].normal());
  if (std::abs(alpha) < kSmallestShare) return std::nullopt;
  const std::vector<double> heights3 = deviceHeights(touches[1].centres);
  double shift = 0;
  for (size_t j = 0; j < touches[1].centres.size(); ++j) {
    const Vector3& t = touches[1].centres[j];
    const double acrossPlane2 = planes.device[1].normal().dot(t) - planes.device[1].d;
    const double along = (f3.dot(faces[2].point) + radius - beta * (reference[0].d + heights3[j]) -
                          gamma * (planes.reference[1].d + acrossPlane2)) /
                         alpha;
    shift += (along - m3d->dot(t)) / static_cast<double>(touches[1].centres.size());
  }
  const double through = m3d->dot(mean(touches[1].centres));
  planes.device[2] = Plane{m3d->x, m3d->y, m3d->z, through};
  // An operator's Flip of plane 3 turns its sense only, as the solve pairs it.
  planes.reference[2] = withSense(reference[2].normal().dot(*m3) < 0 ? -1 : 1, *m3, through + shift);
  return planes;
}
