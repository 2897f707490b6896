#include "host/fitting/host_planar_curve_fitter.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "host/document/host_real_parray.h"
#include "host/fitting/host_curve_fit_data.h"
#include "host/fitting/host_curve_set.h"
#include "host/fitting/planar_curve_shape.h"

namespace {

// An entry this wide carries the probe's direction after its point.
constexpr int32_t kEntryWithDirection = 6;
// The probe's directions tell the side only when, on the whole, they lean to one side of the polyline by at
// least this share of their length; a stylus held along the plane's normal (a bore swept from above) leans
// to neither, and noise must not choose for it.
constexpr double kClearLean = 0.1;

struct Sample {
  Vector3 point;
  Vector3 approach;  // the probe's direction there, toward the material; zero when unknown
};
using Samples = std::vector<Sample>;

double distance(const Vector3& a, const Vector3& b) {
  return (a - b).length();
}

// The samples in walking order: from the one farthest from their centre, each time to the nearest left.
Samples walk(Samples samples) {
  if (samples.size() < 2) return samples;
  Vector3 centre;
  for (const Sample& s : samples) centre = centre + s.point;
  centre = centre / static_cast<double>(samples.size());
  auto farthest = std::ranges::max_element(samples, [&](const Sample& a, const Sample& b) {
    return distance(a.point, centre) < distance(b.point, centre);
  });
  std::iter_swap(samples.begin(), farthest);
  for (size_t i = 1; i < samples.size(); ++i) {
    const Vector3 last = samples[i - 1].point;
    auto nearest = std::min_element(
        samples.begin() + static_cast<std::ptrdiff_t>(i), samples.end(),
        [&](const Sample& a, const Sample& b) { return distance(a.point, last) < distance(b.point, last); });
    std::iter_swap(samples.begin() + static_cast<std::ptrdiff_t>(i), nearest);
  }
  return samples;
}

double median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

double lengthOf(const Samples& samples) {
  double length = 0;
  for (size_t i = 1; i < samples.size(); ++i) length += distance(samples[i - 1].point, samples[i].point);
  return length;
}

// How far the probe's directions lean to the polyline's left (positive) or right (negative), as a share of
// their length; 0 without directions.
double leanToLeft(const Samples& samples, bool closed, const Vector3& normal) {
  double lean = 0, length = 0;
  const size_t last = samples.size() - 1;
  for (size_t i = 0; i <= last; ++i) {
    const Vector3& before = samples[i > 0 ? i - 1 : (closed ? last : i)].point;
    const Vector3& after = samples[i < last ? i + 1 : (closed ? 0 : i)].point;
    const Vector3 left = Vector3::cross(normal, (after - before).normalized()).normalized();
    lean += samples[i].approach.dot(left);
    length += samples[i].approach.length();
  }
  return length > 0 ? lean / length : 0.0;
}

// The direction the polyline runs in as it stands: positive when it should stay, negative when it should
// turn round. The material, where the probe's directions lean, lies to the right. Without a clear lean a
// closed polyline runs counter-clockwise seen from the normal's side (the right is outside, as for a bore),
// an open one along the in-plane direction of the coordinate axis least along the normal.
double runningSense(const Samples& samples, bool closed, const Vector3& normal) {
  const double lean = leanToLeft(samples, closed, normal);
  if (std::fabs(lean) >= kClearLean) return -lean;
  if (closed) {
    double area = 0;
    for (size_t i = 0; i < samples.size(); ++i)
      area += Vector3::cross(samples[i].point, samples[(i + 1) % samples.size()].point).dot(normal);
    return area;
  }
  const Vector3 axis = std::fabs(normal.x) < 0.9 ? Vector3{1, 0, 0} : Vector3{0, 1, 0};
  return (samples.back().point - samples.front().point).dot(axis - normal * normal.dot(axis));
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
  const bool withDirections = points->entryWidth() >= kEntryWithDirection;
  Samples projected;
  for (int32_t i = 1; i <= points->count(); ++i) {
    const double* p = points->at(i);
    const Vector3 point{p[0], p[1], p[2]};
    const Vector3 approach = withDirections ? Vector3{p[3], p[4], p[5]} : Vector3{};
    projected.push_back({point - normal_ * (normal_.dot(point) - d), approach});
  }
  const Samples ordered = walk(std::move(projected));
  std::vector<double> steps;
  for (size_t i = 1; i < ordered.size(); ++i)
    steps.push_back(distance(ordered[i - 1].point, ordered[i].point));
  medianStep_ = median(steps);
  const double gap = (gapFactor > 0 ? gapFactor : kDefaultGapFactor) * medianStep_;
  std::vector<Samples> runs;
  for (size_t i = 0; i < ordered.size(); ++i) {
    if (i == 0 || steps[i - 1] > gap) runs.emplace_back();
    runs.back().push_back(ordered[i]);
  }
  for (Samples& run : runs) {
    // Ends within a gap of each other close the loop, unless they are as far apart as the path between
    // them is long, as a short straight run's are. Two points close nothing.
    const double endGap = distance(run.front().point, run.back().point);
    const bool endsMeet = run.size() >= 3 && endGap <= gap && endGap < 0.5 * lengthOf(run);
    const bool closed = run.size() >= 3 && (connectivity == kClosed || (connectivity == kAuto && endsMeet));
    if (run.size() >= 2 && runningSense(run, closed, normal_) < 0) std::ranges::reverse(run);
    Polyline& polyline = polylines_.emplace_back();
    polyline.closed = closed;
    IPtr<RealPArray> array(new HostRealPArray(3, static_cast<int32_t>(run.size())));
    for (const Sample& sample : run) {
      polyline.points.push_back(sample.point);
      const double xyz[3] = {sample.point.x, sample.point.y, sample.point.z};
      array->append(xyz);
    }
    arrays_.push_back(array);
  }
  return true;
}

ICurveSet* HostPlanarCurveFitter::fit(ICurveFitData* data, double offset) {
  IPtr<HostCurveSet> curves(new HostCurveSet);
  const auto* record = queryPart<HostCurveFitData>(data);
  for (const Polyline& polyline : polylines_) {
    if (std::optional<HostCurveSet::Curve> curve =
            planarCurveThrough(polyline.points, polyline.closed, normal_, offset, record, medianStep_))
      curves->add(std::move(*curve));
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
