#include "features/creators/hard_probe_line_creator.h"

#include <algorithm>
#include <string>

#include "features/creators/probe_geometry.h"
#include "framework/registrations/class_registration.h"
#include "host_api/registry_paths.h"

namespace {

const ClassRegistration<HardProbeLineCreator> registration(registeredClass("HardProbeLineCreator"));

// The line between the two points; none when they coincide, since they give it no direction.
IPtr<IZelFeature> lineBetween(const Vector3& start, const Vector3& end) {
  if (start == end) return {};
  IPtr<IZelLine> line;
  line.getService();
  if (!line) return {};
  line->setLine(start, end, 0, 0);
  return IPtr<IZelFeature>(queryPart<IZelFeature>(line.get()));
}

// The offset within the work plane of normal n that moves the line one radius away from the stop point's
// projection. A projection on the line leaves the side the plane's normal gives.
Vector3 offsetAwayFrom(IZelLine& line, const Vector3& n, const Vector3& stopInPlane, double radius) {
  const Vector3 a = line.start();
  const Vector3 u = (line.end() - a).normalized();
  Vector3 side = Vector3::cross(n, u);
  if (side.dot((stopInPlane - a).normalized()) > 0.0) side = -side;
  return side * radius;
}

// Trims or extends the line to the projections of the outermost points; the first point wins on ties.
void spanOutermost(IZelLine& line, const PointList& points) {
  const Vector3 a = line.start();
  const Vector3 b = line.end();
  const Vector3 u = (b - a).normalized();
  double before = (points.front() - a).dot(u);
  double beyond = (points.front() - b).dot(-u);
  for (const Vector3& p : points) {
    before = std::min(before, (p - a).dot(u));
    beyond = std::min(beyond, (p - b).dot(-u));
  }
  line.setLine(a + u * before, b - u * beyond, 0, 0);
}

// Turns the line to run from the first probed point towards the last: the angle between the two directions
// exceeds a right angle exactly when their dot product is negative.
void runInProbingOrder(IZelLine& line, IZelFeature& feature, const PointList& points) {
  const Vector3 probed = (points.back() - points.front()).normalized();
  if (probed.dot((line.end() - line.start()).normalized()) < 0.0) feature.reverseOrientation();
}

}  // namespace

IPtr<IZelFeature> HardProbeLineCreator::buildFeature() {
  std::optional<Probing> probing = readProbing(kSampled | kStop | kRadius | kPlane);
  if (!probing) return {};
  const PlaneEquation workPlane = PlaneEquation::of(*probing->workPlane);
  PointList projected;
  for (const Vector3& p : probing->sampled) projected.push_back(workPlane.project(p));
  const bool fitted = projected.size() > 2;
  const std::string directLine = std::string(kDirectFitPath) + IZelLine::interfaceName;
  IPtr<IZelFeature> feature =
      fitted ? fit(projected, {directLine.c_str(), nullptr, false}) : lineBetween(projected[0], projected[1]);
  auto* line = queryPart<IZelLine>(feature.get());
  if (!line) return {};
  const Vector3 stopInPlane = workPlane.project(probing->stop);
  if (stopOnSurface(
          Vector3::perpendicularPart(stopInPlane - line->start(), line->end() - line->start()).length(),
          probing->radius))
    return refuse(liftProbeText());
  const Vector3 offset = offsetAwayFrom(*line, probing->workPlane->normal(), stopInPlane, probing->radius);
  line->setLine(line->start() + offset, line->end() + offset, 0, 0);
  if (fitted) {
    spanOutermost(*line, probing->sampled);
    runInProbingOrder(*line, *feature, probing->sampled);
  }
  PointList compensated;
  for (const Vector3& p : projected) compensated.push_back(p + offset);
  return finish(feature, compensated);
}
