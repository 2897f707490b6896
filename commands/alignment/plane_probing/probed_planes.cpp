#include "commands/alignment/plane_probing/probed_planes.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>

#include "commands/alignment/plane_probing/plane_fit_and_view.h"
#include "features/creators/probe_geometry.h"
#include "features/side_refusal.h"
#include "framework/translation/tr.h"

namespace {

Vector3 centroid(const std::vector<Vector3>& points) {
  Vector3 sum;
  for (const Vector3& p : points) sum = sum + p;
  return sum / static_cast<double>(points.size());
}

// The furthest of the points from the plane (n . x = d, unit normal).
double furthestOff(const Plane& plane, const std::vector<Vector3>& points) {
  double furthest = 0;
  for (const Vector3& p : points) furthest = std::max(furthest, std::abs(plane.normal().dot(p) - plane.d));
  return furthest;
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

void ProbedPlanes::sampled(const Vector3& point) {
  sampledPoints.push_back(point);
  sampledAxes.push_back(approach_.touched(point, probeRadius));
}

bool ProbedPlanes::undoSampled() {
  if (sampledPoints.empty()) return false;
  sampledPoints.pop_back();
  if (!sampledAxes.empty()) sampledAxes.pop_back();
  return true;
}

void ProbedPlanes::stopped(const Vector3& point) {
  stopPoint = point;
  approach_.forget();
}

void ProbedPlanes::clearSampled() {
  sampledPoints.clear();
  sampledAxes.clear();
}

double ProbedPlanes::stopSide(const Plane& plane) const {
  return plane.normal().dot(stopPoint) - plane.d >= 0 ? 1 : -1;
}

void ProbedPlanes::forgetRefusal() {
  offFlat_ = 0;
  touchSides_.clear();
  stopBeyond_ = 0;
  mismatch_.reset();
}

bool ProbedPlanes::keep(int step, const Plane& plane, const std::optional<Plane>& own) {
  const size_t k = static_cast<size_t>(step - 1);
  const double offFlat = own ? furthestOff(*own, sampledPoints) : 0;
  if (offFlat > kFlatnessTolerance) {
    offFlat_ = offFlat;
    return false;
  }
  // The stop's side of the face the touches lie on: on a leaning face, of their own plane, for a stop lifted
  // off a touch high on the face may lie beyond the plane squared through their centre.
  const double side =
      own ? stopSide(*own) * (own->normal().dot(plane.normal()) < 0 ? -1 : 1) : stopSide(plane);
  // The ball is never in the material: positions beside the face on the other side than the stop put the
  // stop in it.
  const Plane& through = own ? *own : plane;
  const double towardsStop = stopSide(through);
  touchSides_ = touchedSides(
      BallSurface::plane(towardsStop * through.normal(), towardsStop * through.d, sampledPoints, probeRadius),
      sampledPoints, sampledAxes, probeRadius);
  if (touchedAgainstStop()) return false;
  const Vector3 air = plane.projectPoint(stopPoint) + side * plane.normal();
  Plane kept = plane;
  // The ball met the face along the face's own normal: only the share of the radius across the plane moves
  // the plane, all of it on a face square to it.
  const double leanCosine = faceLeanCosine(references[k]);
  offsetPlaneAwayFrom(kept, air, probeRadius * leanCosine);
  // Planes 1 and 2 face the stop's side; plane 3 keeps the sense n1 x n2 gives it.
  if (step < 3) orientPlaneTowards(kept, air);
  // The stop lies out of the material: the kept normal points out when it points to the stop's side.
  std::array<ProbedFace, 3> faces = probedFaces;
  faces[k] = {own ? std::optional<Vector3>(own->normal()) : std::nullopt,
              kept.normal().dot(plane.normal()) * side > 0 ? 1.0 : -1.0,
              own ? noiseAngleOf(sampledPoints, own->normal()) : 0.0, probeRadius, sampledPoints};
  mismatch_ = referenceMismatch(faces, references, step);
  if (mismatch_) return false;
  // A stop beyond the touches up their face may lie over the part, where the face has air on both sides:
  // only an approach that tells says the side then.
  if (step > 1 && !anyTouchTells()) stopBeyond_ = stopBeyondTouches(own ? own->normal() : plane.normal());
  if (stopBeyond_ > 0) return false;
  devicePlanes[k] = kept;
  probedFaces = faces;
  return true;
}

bool ProbedPlanes::anyTouchTells() const {
  return std::ranges::any_of(touchSides_, [](BallSide side) { return side != BallSide::kNone; });
}

double ProbedPlanes::stopBeyondTouches(const Vector3& faceNormal) const {
  // Up the face: a stop lifted off a leaning face along its normal rises without leaving the touches' reach.
  const Vector3 n1 = devicePlanes[0].normal();
  Vector3 up = n1 - n1.dot(faceNormal) * faceNormal;
  if (!up.normalize()) return 0;
  double lowest = HUGE_VAL, highest = -HUGE_VAL;
  for (const Vector3& touch : sampledPoints) {
    lowest = std::min(lowest, up.dot(touch));
    highest = std::max(highest, up.dot(touch));
  }
  const double stop = up.dot(stopPoint);
  const double beyond = std::max(stop - highest, lowest - stop);
  return beyond > std::max(probeRadius, kFlatnessTolerance) ? beyond : 0;
}

bool ProbedPlanes::computeDevicePlane1() {
  forgetRefusal();
  if (sampledPoints.size() < 3) return false;
  std::optional<Plane> plane = fitPlane(sampledPoints);
  return plane && keep(1, *plane, plane);
}

bool ProbedPlanes::plane2TouchesTellASide() const {
  return !plane2TouchesMayLieFlat() && plane2StopTellsASide();
}

bool ProbedPlanes::plane2TouchesMayLieFlat() const {
  if (sampledPoints.size() != 2) return false;
  const Plane& plane1 = devicePlanes[0];
  const Vector3 n1 = plane1.normal();
  // Tip centres a radius above plane 1 are the ball resting on plane 1's own face again; on any face that
  // stands across it, the ball's centre stays lower.
  const auto onPlane1 = [&](const Vector3& point) {
    return std::abs(n1.dot(point) - plane1.d - probeRadius) <= kOnPlane1Noise;
  };
  if (onPlane1(sampledPoints[0]) && onPlane1(sampledPoints[1])) return true;
  // Approaches along plane 1's normal come down onto a face parallel to it when the ball stayed above plane
  // 1's level; below it, they are a stylus held upright beside a face that stands across plane 1.
  const auto above = [&](const Vector3& point) { return n1.dot(point) - plane1.d >= probeRadius / 2; };
  if (sampledAxes.size() != 2 || !above(sampledPoints[0]) || !above(sampledPoints[1])) return false;
  // Only an approach that slides along the picked face however it is turned about plane 1's normal cannot
  // have touched it: one within kFacingAngle of that normal, less what the face leans from square, for an
  // approach along the normal pushes into a face that leans towards plane 1 at its lean.
  const double lean = std::acos(std::min(1.0, faceLeanCosine(references[1])));
  const auto slidesAlongFace = [&](const TouchApproach& approach) {
    return std::acos(std::min(1.0, std::abs(approach.direction.dot(n1)))) + lean <= kFacingAngle;
  };
  return slidesAlongFace(sampledAxes[0]) && slidesAlongFace(sampledAxes[1]);
}

bool ProbedPlanes::plane2StopTellsASide() const {
  if (sampledPoints.size() != 2) return true;
  Vector3 across = Vector3::cross(sampledPoints[1] - sampledPoints[0], devicePlanes[0].normal());
  // Touches one above the other along plane 1's normal give no plane at all; the fit refuses them.
  if (!across.normalize()) return true;
  // A stop lifted off a leaning face moves across the plane by the face's share of the lift.
  return std::abs(across.dot(stopPoint - sampledPoints[0])) >= smallestStopOffset();
}

double ProbedPlanes::smallestStopOffset() const {
  return kStopSideShare * probeRadius * faceLeanCosine(references[1]);
}

bool ProbedPlanes::computeDevicePlane2() {
  forgetRefusal();
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
  const Plane plane{normal.x, normal.y, normal.z, normal.dot(centroid(points))};
  // Two touches give plane 2 no direction of its own: their third point put it square to plane 1.
  if (!keep(2, plane, sampledPoints.size() > 2 ? fitted : std::nullopt)) return false;
  sampledPoints = std::move(points);
  return true;
}

bool ProbedPlanes::computeDevicePlane3() {
  forgetRefusal();
  if (sampledPoints.empty()) return false;
  Vector3 normal = Vector3::cross(devicePlanes[0].normal(), devicePlanes[1].normal());
  normal.normalize();
  const Plane plane{normal.x, normal.y, normal.z, normal.dot(centroid(sampledPoints))};
  if (!keep(3, plane, sampledPoints.size() > 2 ? fitPlane(sampledPoints) : std::nullopt)) return false;
  if (sampledPoints.size() > 1) sampledPoints = {centroid(sampledPoints)};
  return true;
}

bool ProbedPlanes::touchedAgainstStop() const {
  return std::ranges::any_of(touchSides_,
                             [](BallSide side) { return side != BallSide::kNone && side != BallSide::kOut; });
}

std::pair<ZelString, ZelString> ProbedPlanes::touchedSideText(const ZelString& onTheFace) const {
  const auto numbers = [&](BallSide side) { return touchesTelling(touchSides_, side); };
  const ZelString lift = tr("lift the probe off the face along its approach");
  if (std::ranges::any_of(touchSides_, [](BallSide side) { return side == BallSide::kBoth; }) ||
      std::ranges::count(touchSides_, BallSide::kOut) > 0)
    return {tr("the ball came to points %1 from the stop's side of the face and to points %2 from the other, "
               "so a point may lie on another face",
               numbers(BallSide::kOut), numbers(BallSide::kIn)),
            tr("undo back to that point, %1,", onTheFace)};
  if (std::ranges::count(touchSides_, BallSide::kIn) == static_cast<std::ptrdiff_t>(touchSides_.size()))
    return {tr("its stop lies on the side every touch pushed into"), lift};
  return {tr("its stop lies on the other side of the face than points %1 came from, and no point came from "
             "the stop's side",
             numbers(BallSide::kIn)),
          lift};
}

ZelString ProbedPlanes::refusal(int step) const {
  if (step == 2 && plane2TouchesMayLieFlat()) return tr(kParallelTouchesText);
  const ZelString plane = ZelString::number(step);
  if (endsRun()) return noAlignmentText(*mismatch_);
  const ZelString onTheFace = tr("probe the face picked for plane %1", plane);
  ZelString reason, action = tr("probe more points on the face picked for plane %1", plane);
  constexpr size_t kFewestPoints[] = {3, 2, 1};
  const size_t fewest = kFewestPoints[step - 1];
  if (sampledPoints.size() < fewest) {
    reason = morePointsText(static_cast<int32_t>(fewest - sampledPoints.size()));
  } else if (step == 2 && !plane2StopTellsASide()) {
    reason =
        tr("its stop lies within %1 mm of the plane through its two points, which cannot tell the side "
           "the face looks to",
           ZelString::formatDouble(smallestStopOffset() * 1000, {.precision = ".2"}));
    action = tr("take the stop further off the face");
  } else if (offFlat_ > 0) {
    reason = tr("its points lie up to %1 mm off one plane, so a point may be on another face",
                ZelString::formatDouble(offFlat_ * 1000, {.precision = ".1"}));
    action = tr("undo back to that point, %1,", onTheFace);
  } else if (mismatch_) {
    reason = mismatchText(*mismatch_);
    action = mismatch_->kind == ReferenceMismatch::kSquare
                 ? tr("probe plane %1 on a face square to the planes before it, undoing back to a point on "
                      "another face,",
                      plane)
                 : tr("undo back to that point, %1,", onTheFace);
  } else if (touchedAgainstStop()) {
    std::tie(reason, action) = touchedSideText(onTheFace);
  } else if (stopBeyond_ > 0) {
    reason =
        tr("its stop lies %1 mm beyond its points up the face, where it cannot tell the side "
           "the face looks to, and no touch's approach told it",
           ZelString::formatDouble(stopBeyond_ * 1000, {.precision = ".1"}));
    action = tr("take the stop off the face beside its points");
  } else {
    reason = step == 1   ? tr("its points lie on a line")
             : step == 2 ? tr("its points give no plane square to plane 1")
                         : tr("the three planes give no alignment");
  }
  return tr("Plane %1 was not made: %2. Its points are kept; %3 and stop again.", plane, reason, action);
}
