#include "host/fitting/planar_curve_shape.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "host/fitting/geometry/cubic_spline.h"

namespace {

using Points = std::vector<Vector3>;
using Curve = HostCurveSet::Curve;

// Samples per spline segment for the moved curve's length and for thinning: the chords between them sag
// from the curve by less than a thousandth of the segment's length wherever a segment bends by up to a right
// angle.
constexpr int32_t kSamplesPerSegment = 16;
// Spacings below this mean no spacing.
constexpr double kShortestSpacing = 1e-12;
// Neighbours nearer than this share of the section's median step are one touch. Their mean lies off a curve
// of radius R by about (share × step)² / 8R, far below what the step itself resolves.
constexpr double kOneTouchShare = 0.1;

Eigen::Vector3d toEigen(const Vector3& v) {
  return {v.x, v.y, v.z};
}
Vector3 fromEigen(const Eigen::Vector3d& v) {
  return {v.x(), v.y(), v.z()};
}

double distance(const Vector3& a, const Vector3& b) {
  return (a - b).length();
}

// The spline moved by the offset, with a table of its length by parameter for placing points evenly.
class OffsetSpline {
 public:
  OffsetSpline(fitting::CubicSpline spline, const Vector3& normal, double offset)
      : spline_(std::move(spline)), normal_(normal), offset_(offset) {
    const size_t samples = spline_.segmentCount() * kSamplesPerSegment;
    Vector3 previous = at(0.0);
    table_.push_back({0.0, 0.0});
    for (size_t k = 1; k <= samples; ++k) {
      const double t = spline_.length() * static_cast<double>(k) / static_cast<double>(samples);
      const Vector3 point = at(t);
      table_.push_back({t, table_.back().length + distance(previous, point)});
      previous = point;
    }
  }

  Vector3 at(double t) const { return fromEigen(spline_.at(t)) + left(t) * offset_; }
  Vector3 atKnot(size_t index) const { return at(spline_.knot(index)); }
  double length() const { return table_.back().length; }
  size_t segmentCount() const { return spline_.segmentCount(); }

  // The point the given length along the moved curve.
  Vector3 along(double length) const {
    const auto after = std::ranges::lower_bound(table_, length, {}, &Sample::length);
    if (after == table_.begin()) return at(0.0);
    if (after == table_.end()) return at(spline_.length());
    const Sample& before = *(after - 1);
    const double step = after->length - before.length;
    const double share = step > 0 ? (length - before.length) / step : 0.0;
    return at(before.t + (after->t - before.t) * share);
  }

  Points samples() const {
    Points points;
    for (const Sample& sample : table_) points.push_back(at(sample.t));
    return points;
  }

 private:
  struct Sample {
    double t;
    double length;
  };
  Vector3 left(double t) const {
    return Vector3::cross(normal_, fromEigen(spline_.derivative(t))).normalized();
  }

  fitting::CubicSpline spline_;
  Vector3 normal_;
  double offset_;
  std::vector<Sample> table_;
};

// The farthest any point strictly between first and last lies from the segment between them, and where.
std::pair<double, size_t> worstFromChord(const Points& points, size_t first, size_t last) {
  const Vector3 a = points[first];
  const Vector3 ab = points[last] - a;
  const double length2 = ab.squaredLength();
  std::pair<double, size_t> worst{0.0, first};
  for (size_t i = first + 1; i < last; ++i) {
    const double t = length2 > 0 ? std::clamp((points[i] - a).dot(ab) / length2, 0.0, 1.0) : 0.0;
    const double off = distance(points[i], a + ab * t);
    if (off > worst.first) worst = {off, i};
  }
  return worst;
}

// The circle through three points in their plane: its centre and radius; false for collinear points.
bool circleThrough(const Vector3& a, const Vector3& b, const Vector3& c, Vector3& centre, double& radius) {
  const Vector3 ab = b - a, ac = c - a;
  const Vector3 n = Vector3::cross(ab, ac);
  const double n2 = n.squaredLength();
  if (n2 <= 1e-30) return false;
  centre = a + (Vector3::cross(n, ab) * ac.squaredLength() + Vector3::cross(ac, n) * ab.squaredLength()) /
                   (2.0 * n2);
  radius = distance(centre, a);
  return true;
}

// Lines and arcs through points[first..last], each within tolerance of the points it spans.
void lineArcPieces(const Points& points, size_t first, size_t last, double tolerance, Curve& curve) {
  const auto [off, worst] = worstFromChord(points, first, last);
  if (off <= tolerance || last - first < 2) {
    curve.pieces.push_back(ICurveSet::kLine);
    curve.points.push_back(points[last]);
    return;
  }
  const size_t middle = (first + last) / 2;
  Vector3 centre;
  double radius = 0;
  if (circleThrough(points[first], points[middle], points[last], centre, radius)) {
    bool fits = true;
    for (size_t i = first; i <= last && fits; ++i)
      fits = std::fabs(distance(points[i], centre) - radius) <= tolerance;
    if (fits) {
      curve.pieces.push_back(ICurveSet::kArc);
      curve.points.push_back(points[middle]);
      curve.points.push_back(points[last]);
      return;
    }
  }
  lineArcPieces(points, first, worst, tolerance, curve);
  lineArcPieces(points, worst, last, tolerance, curve);
}

// The points thinned to those that keep every other within tolerance of the chords between them.
void thin(const Points& points, size_t first, size_t last, double tolerance, Points& out) {
  const auto [off, worst] = worstFromChord(points, first, last);
  if (off > tolerance) {
    thin(points, first, worst, tolerance, out);
    thin(points, worst, last, tolerance, out);
    return;
  }
  out.push_back(points[last]);
}

// count points evenly along the curve by its length, both ends included (a closed curve's end is its start).
Points evenly(const OffsetSpline& curve, int32_t count) {
  Points out;
  for (int32_t k = 0; k < count; ++k) out.push_back(curve.along(curve.length() * k / (count - 1)));
  return out;
}

// The points with each run of neighbours within near of the run's first replaced by their mean, a closed
// polyline's last run joined to its first when the two meet. A spot touched twice gives two points a hair
// apart whose chord, across the section as often as along it, would turn the spline's tangent there, and the
// offset with it, by up to a right angle.
Points merged(const Points& points, bool closed, double near) {
  struct Run {
    Vector3 first;
    Vector3 sum;
    double count;
    Vector3 mean() const { return sum / count; }
  };
  std::vector<Run> runs;
  for (const Vector3& point : points) {
    if (!runs.empty() && distance(runs.back().first, point) <= near) {
      runs.back().sum = runs.back().sum + point;
      runs.back().count += 1;
    } else {
      runs.push_back({point, point, 1});
    }
  }
  if (closed && runs.size() > 1 && distance(runs.back().mean(), runs.front().first) <= near) {
    runs.front().sum = runs.front().sum + runs.back().sum;
    runs.front().count += runs.back().count;
    runs.pop_back();
  }
  Points out;
  for (const Run& run : runs) out.push_back(run.mean());
  return out;
}

int32_t countBySpacing(const OffsetSpline& curve, const HostCurveFitData* data, double medianStep,
                       size_t polylinePoints) {
  const double spacing = data && data->spacing() && *data->spacing() > 0 ? *data->spacing() : medianStep;
  const double bySpacing = std::ceil(curve.length() / std::max(spacing, kShortestSpacing)) + 1;
  return static_cast<int32_t>(std::max(bySpacing, static_cast<double>(polylinePoints)));
}

}  // namespace

std::optional<Curve> planarCurveThrough(const Points& points, bool closed, const Vector3& normal,
                                        double offset, const HostCurveFitData* data, double medianStep) {
  const Points knots =
      merged(points, closed, std::max(kOneTouchShare * medianStep, fitting::CubicSpline::kCoincident));
  // Touches that leave two distinct points close nothing, as setup closes no polyline of two.
  closed = closed && knots.size() >= 3;
  std::vector<Eigen::Vector3d> through;
  for (const Vector3& point : knots) through.push_back(toEigen(point));
  std::optional<fitting::CubicSpline> spline = fitting::CubicSpline::through(through, closed);
  if (!spline) return std::nullopt;
  const OffsetSpline curve(std::move(*spline), normal, offset);

  Curve made{ICurveSet::kSpline, closed, {}, {}};
  const int32_t mode = data && data->mode() ? *data->mode() : ICurveFitDataV2::kSplineByDistance;
  const double tolerance = data && data->tolerance() ? *data->tolerance() : medianStep / 10;
  // Closed paths carry their start again at the end, dropped once the points are placed.
  if (mode == ICurveFitDataV2::kLineArcLocal || mode == ICurveFitDataV2::kLineArcGlobal) {
    Points moved;
    for (size_t i = 0; i <= curve.segmentCount(); ++i) moved.push_back(curve.atKnot(i));
    made.kind = ICurveSet::kLineArc;
    made.points.push_back(moved.front());
    lineArcPieces(moved, 0, moved.size() - 1, tolerance, made);
  } else if (mode == ICurveFitDataV2::kSplineByTolerance) {
    const Points samples = curve.samples();
    made.points.push_back(samples.front());
    thin(samples, 0, samples.size() - 1, tolerance, made.points);
  } else {
    const bool constant = mode == ICurveFitDataV2::kSplineByControlPoints && data && data->controlPoints();
    const int32_t count = constant ? *data->controlPoints()
                                   : countBySpacing(curve, data, medianStep, knots.size() + (closed ? 1 : 0));
    made.points = evenly(curve, std::max(count, 2));
  }
  if (closed) made.points.pop_back();
  return made;
}
