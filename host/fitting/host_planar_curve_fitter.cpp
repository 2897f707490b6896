#include "host/fitting/host_planar_curve_fitter.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "host/document/host_real_parray.h"
#include "host/fitting/host_curve_fit_data.h"
#include "host/fitting/host_curve_set.h"

namespace {

using Points = std::vector<Vector3>;
using Curve = HostCurveSet::Curve;

double distance(const Vector3& a, const Vector3& b) {
  return (a - b).length();
}

// The points in walking order: from the one farthest from their centre, each time to the nearest left.
Points walk(Points points) {
  if (points.size() < 2) return points;
  Vector3 centre;
  for (const Vector3& p : points) centre = centre + p;
  centre = centre / static_cast<double>(points.size());
  auto farthest = std::ranges::max_element(
      points, [&](const Vector3& a, const Vector3& b) { return distance(a, centre) < distance(b, centre); });
  std::iter_swap(points.begin(), farthest);
  for (size_t i = 1; i < points.size(); ++i) {
    auto nearest = std::min_element(points.begin() + static_cast<std::ptrdiff_t>(i), points.end(),
                                    [&](const Vector3& a, const Vector3& b) {
                                      return distance(a, points[i - 1]) < distance(b, points[i - 1]);
                                    });
    std::iter_swap(points.begin() + static_cast<std::ptrdiff_t>(i), nearest);
  }
  return points;
}

double median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

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

double lengthOf(const Points& points) {
  double length = 0;
  for (size_t i = 1; i < points.size(); ++i) length += distance(points[i - 1], points[i]);
  return length;
}

// count points evenly along the polyline by its length, its ends included.
Points evenly(const Points& points, int32_t count) {
  const double total = lengthOf(points);
  Points out{points.front()};
  size_t segment = 1;
  double walked = 0;
  for (int32_t k = 1; k < count - 1; ++k) {
    const double at = total * k / (count - 1);
    while (segment < points.size() - 1 && walked + distance(points[segment - 1], points[segment]) < at) {
      walked += distance(points[segment - 1], points[segment]);
      ++segment;
    }
    const double step = distance(points[segment - 1], points[segment]);
    const double t = step > 0 ? (at - walked) / step : 0;
    out.push_back(points[segment - 1] + (points[segment] - points[segment - 1]) * t);
  }
  out.push_back(points.back());
  return out;
}

Curve fitCurve(const Points& points, bool closed, HostCurveFitData* data, double medianStep) {
  Curve curve{ICurveSet::kSpline, closed, {}, {}};
  Points path = points;
  if (closed) path.push_back(points.front());
  const int32_t mode = data && data->mode() ? *data->mode() : ICurveFitDataV2::kSplineByDistance;
  const double tolerance = data && data->tolerance() ? *data->tolerance() : medianStep / 10;
  if (mode == ICurveFitDataV2::kLineArcLocal || mode == ICurveFitDataV2::kLineArcGlobal) {
    curve.kind = ICurveSet::kLineArc;
    curve.points.push_back(path.front());
    lineArcPieces(path, 0, path.size() - 1, tolerance, curve);
  } else if (mode == ICurveFitDataV2::kSplineByTolerance) {
    curve.points.push_back(path.front());
    thin(path, 0, path.size() - 1, tolerance, curve.points);
  } else {
    const double spacing = data && data->spacing() && *data->spacing() > 0 ? *data->spacing() : medianStep;
    const int32_t count =
        mode == ICurveFitDataV2::kSplineByControlPoints && data && data->controlPoints()
            ? *data->controlPoints()
            : static_cast<int32_t>(std::ceil(lengthOf(path) / std::max(spacing, 1e-12))) + 1;
    curve.points = evenly(path, std::max(count, 2));
  }
  if (closed) curve.points.pop_back();  // the start again
  return curve;
}

// Orients a polyline: a closed one counter-clockwise seen from the normal's side, an open one running along
// the in-plane axis made from the coordinate axis least along the normal.
void orient(std::vector<Vector3>& points, bool closed, const Vector3& normal) {
  if (points.size() < 2) return;
  double along = 0;
  if (closed) {
    for (size_t i = 0; i < points.size(); ++i)
      along += Vector3::cross(points[i], points[(i + 1) % points.size()]).dot(normal);
  } else {
    const Vector3 axis = std::fabs(normal.x) < 0.9 ? Vector3{1, 0, 0} : Vector3{0, 1, 0};
    along = (points.back() - points.front()).dot(axis - normal * normal.dot(axis));
  }
  if (along < 0) std::reverse(points.begin(), points.end());
}

}  // namespace

bool HostPlanarCurveFitter::setup(const double plane[4], RealPArray* points, int32_t connectivity,
                                  double gapFactor) {
  polylines_.clear();
  arrays_.clear();
  normal_ = {plane[0], plane[1], plane[2]};
  const double length = normal_.length();
  if (!points || !(length > 0)) return false;
  normal_ = normal_ / length;
  const double d = plane[3] / length;
  Points projected;
  for (int32_t i = 1; i <= points->count(); ++i) {
    const double* p = points->at(i);
    const Vector3 point{p[0], p[1], p[2]};
    projected.push_back(point - normal_ * (normal_.dot(point) - d));
  }
  const Points ordered = walk(std::move(projected));
  std::vector<double> steps;
  for (size_t i = 1; i < ordered.size(); ++i) steps.push_back(distance(ordered[i - 1], ordered[i]));
  medianStep_ = median(steps);
  const double gap = (gapFactor > 0 ? gapFactor : kDefaultGapFactor) * medianStep_;
  for (size_t i = 0; i < ordered.size(); ++i) {
    if (i == 0 || steps[i - 1] > gap) polylines_.emplace_back();
    polylines_.back().points.push_back(ordered[i]);
  }
  for (Polyline& polyline : polylines_) {
    // Ends within a gap of each other close the loop, unless they are as far apart as the path between
    // them is long, as a short straight run's are.
    const double endGap = distance(polyline.points.front(), polyline.points.back());
    const bool endsMeet =
        polyline.points.size() >= 3 && endGap <= gap && endGap < 0.5 * lengthOf(polyline.points);
    polyline.closed = connectivity == kClosed || (connectivity == kAuto && endsMeet);
    orient(polyline.points, polyline.closed, normal_);
    IPtr<RealPArray> array(new HostRealPArray(3, static_cast<int32_t>(polyline.points.size())));
    for (const Vector3& point : polyline.points) {
      const double xyz[3] = {point.x, point.y, point.z};
      array->append(xyz);
    }
    arrays_.push_back(array);
  }
  return true;
}

ICurveSet* HostPlanarCurveFitter::fit(ICurveFitData* data, double offset) {
  IPtr<HostCurveSet> curves(new HostCurveSet);
  auto* record = queryPart<HostCurveFitData>(data);
  for (const Polyline& polyline : polylines_) {
    const Points& points = polyline.points;
    if (points.size() < 2) continue;
    Points moved;
    for (size_t i = 0; i < points.size(); ++i) {
      const bool wraps = polyline.closed;
      const Vector3 before = i > 0 ? points[i - 1] : (wraps ? points.back() : points[i]);
      const Vector3 after = i + 1 < points.size() ? points[i + 1] : (wraps ? points.front() : points[i]);
      const Vector3 left = Vector3::cross(normal_, (after - before).normalized()).normalized();
      moved.push_back(points[i] + left * offset);
    }
    curves->add(fitCurve(moved, polyline.closed, record, medianStep_));
  }
  if (curves->curveCount() == 0) return nullptr;
  curves->addRef();  // the caller's reference
  return curves.get();
}

RealPArray* HostPlanarCurveFitter::polyline(int32_t index) {
  if (index < 1 || index > polylineCount()) return nullptr;
  return arrays_[static_cast<size_t>(index - 1)].get();
}

void HostPlanarCurveFitter::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IPlanarCurveFitter>(this).end();
}
