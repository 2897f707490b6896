#include "features/stray_touch.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "framework/object/query_part.h"
#include "framework/translation/tr.h"
#include "host_api/feature_kinds.h"

namespace {

// The distance of p from the axis through point along direction.
double acrossAxis(const Vector3& p, const Vector3& point, const Vector3& direction) {
  return Vector3::perpendicularPart(p - point, direction.normalized()).length();
}

// The distance of p from a cone's surface: its radial excess over the radius at its place along the axis,
// times the cosine of the half-angle.
double offCone(IZelCone& cone, const Vector3& p) {
  const Vector3 a = cone.endA(), along = cone.endB() - a;
  const double length = along.length();
  if (!(length > 0.0)) return 0.0;
  const double t = (p - a).dot(along) / length;
  const double radius = cone.radiusA() + (cone.radiusB() - cone.radiusA()) * t / length;
  return std::abs(acrossAxis(p, a, along) - radius) * std::cos(cone.halfAngle());
}

// How many values fix the feature: 3 for a plane or a circle in its work plane, 4 for a sphere, 5 for a
// cylinder, 6 for a cone; 0 for the kinds whose touches are not judged.
size_t valuesFixing(IZelFeature& feature) {
  if (queryPart<IZelCone>(&feature)) return 6;
  if (queryPart<IZelCylinder>(&feature)) return 5;
  if (queryPart<IZelSphere>(&feature)) return 4;
  if (queryPart<IZelArc>(&feature) || queryPart<IZelPlane>(&feature)) return 3;
  return 0;
}

// The values that fix the feature where its touches are judged, a plane's only with planes; else 0.
size_t judgedValues(IZelFeature& feature, bool planes) {
  return planes || !queryPart<IZelPlane>(&feature) ? valuesFixing(feature) : 0;
}

// How far p lies from the feature's surface; for a circle, across its axis (the touch's height in the bore
// aside). Zero for the kinds not judged.
double offSurface(IZelFeature& feature, const Vector3& p) {
  if (auto* sphere = queryPart<IZelSphere>(&feature))
    return std::abs((p - sphere->center()).length() - sphere->radius());
  if (auto* cylinder = queryPart<IZelCylinder>(&feature))
    return std::abs(acrossAxis(p, cylinder->axisPoint(), cylinder->axisDirection()) - cylinder->radius());
  if (auto* arc = queryPart<IZelArc>(&feature))
    return std::abs(acrossAxis(p, arc->center(), arc->normal()) - arc->radius());
  if (auto* cone = queryPart<IZelCone>(&feature)) return offCone(*cone, p);
  if (auto* plane = queryPart<IZelPlane>(&feature))
    return std::abs((p - plane->center()).dot(plane->normal().normalized()));
  return 0.0;
}

// How far touches may lie off a feature of that size (m) before one counts as stray.
double strayBound(double size) {
  return std::clamp(size / 8, kLeastStrayBound, kStrayTouchBound);
}

// The feature's size at the touches: how far they reach from their middle on a plane; on a round feature,
// their mean distance from its centre or axis less the ball's radius. The ball centres lie a ball's radius
// off the surface, outside a pin: a 1.5 mm pin touched by a 6 mm ball is a 1.5 mm pin, not a 4.5 mm one.
// Inside a bore the surface lies further out, and the bound taken there is only the stricter.
double sizeAtTouches(IZelFeature& feature, std::span<const Vector3> touches, double ballRadius) {
  double sum = 0.0, reach = 0.0;
  Vector3 middle;
  for (const Vector3& p : touches) middle = middle + p / static_cast<double>(touches.size());
  for (const Vector3& p : touches) {
    if (auto* sphere = queryPart<IZelSphere>(&feature))
      sum += (p - sphere->center()).length();
    else if (auto* cylinder = queryPart<IZelCylinder>(&feature))
      sum += acrossAxis(p, cylinder->axisPoint(), cylinder->axisDirection());
    else if (auto* arc = queryPart<IZelArc>(&feature))
      sum += acrossAxis(p, arc->center(), arc->normal());
    else if (auto* cone = queryPart<IZelCone>(&feature))
      sum += acrossAxis(p, cone->endA(), cone->endB() - cone->endA());
    reach = std::max(reach, (p - middle).length());
  }
  return queryPart<IZelPlane>(&feature)
             ? reach
             : std::max(0.0, sum / static_cast<double>(touches.size()) - ballRadius);
}

// How the touches lie off a feature: the largest distance and the sum of the squares.
struct Deviation {
  double spread = NAN, squares = NAN;
};

// The touches' deviation from the feature, skipping the one at skipped; not a number when the feature is
// none or of another kind than expected.
Deviation deviation(IZelFeature* feature, size_t values, std::span<const Vector3> touches,
                    std::optional<size_t> skipped = std::nullopt) {
  if (!feature || valuesFixing(*feature) != values) return {};
  Deviation off{0.0, 0.0};
  for (size_t j = 0; j < touches.size(); ++j) {
    if (j == skipped) continue;
    const double distance = offSurface(*feature, touches[j]);
    off.spread = std::max(off.spread, distance);
    off.squares += distance * distance;
  }
  return off;
}

// One touch left out: how the others lie off the feature they make, and how far it lies off it.
struct LeftOut {
  Deviation others;
  double distance = NAN;
};

LeftOut leftOut(IZelFeature* others, size_t values, std::span<const Vector3> touches, size_t i) {
  LeftOut left{deviation(others, values, touches, i)};
  if (left.others.spread >= 0.0) left.distance = offSurface(*others, touches[i]);
  return left;
}

std::vector<LeftOut> leaveEachOut(std::span<const Vector3> touches, size_t values, const FitTouches& fit) {
  std::vector<LeftOut> left(touches.size());
  for (size_t i = 0; i < touches.size(); ++i) left[i] = leftOut(fit(i).get(), values, touches, i);
  return left;
}

// With one touch to spare the others make their feature exactly, whichever is left out: the touch that
// would have to stray least to explain the rest.
std::optional<StrayTouch> leastAstray(const std::vector<LeftOut>& left) {
  std::optional<StrayTouch> least;
  for (size_t i = 0; i < left.size(); ++i)
    if (left[i].distance >= 0.0 && (!least || left[i].distance < least->distance))
      least = StrayTouch{i, left[i].distance, StrayTouch::kOneToSpare};
  return least;
}

// With two or more to spare: the touch whose others agree best, when it lies beyond the bound and no other
// touch's others come near to agreeing as well, within three times as far or half the probing scatter (a
// touch's others may take in a stray one, bent to pass near it). Not a number (a fit gone astray) agrees with
// nothing; where the touches make their feature, a touch whose others make none without it may be the stray
// one, and then none is named.
std::optional<StrayTouch> aloneAstray(const std::vector<LeftOut>& left, double bound, double agreement,
                                      bool unfittedMayBeStray) {
  std::optional<size_t> best;
  double runnerUp = INFINITY;
  for (size_t i = 0; i < left.size(); ++i) {
    if (!(left[i].others.spread <= agreement)) {
      if (unfittedMayBeStray && !(left[i].others.spread >= 0.0)) runnerUp = 0.0;
      continue;
    }
    if (best && left[i].others.spread >= left[*best].others.spread) {
      runnerUp = std::min(runnerUp, left[i].others.spread);
      continue;
    }
    if (best) runnerUp = std::min(runnerUp, left[*best].others.spread);
    best = i;
  }
  if (!best || !(left[*best].distance > bound) ||
      runnerUp < std::max(3 * left[*best].others.spread, kProbingScatter / 2))
    return std::nullopt;
  return StrayTouch{*best, left[*best].distance};
}

// The most that leaving a sound touch out takes from the squared deviations. The fits go by least squares,
// so that drop is the touch's deviation squared over what its others leave free of it, whose mean is the
// variance of a sound touch's deviation, kTouchDeviation squared, however loosely the others fix it (a ring
// of touches and one above it, a few close together). For deviations drawn from a normal spread, a drop
// exceeds x times that variance with odds below e^(-x/2); no drop exceeds the sum of the squares, which with
// one or two touches to spare does so with the same odds; with more, each touch's drop is one more chance.
double soundDrop(size_t touches, size_t values) {
  const double chances = touches <= values + 2 ? 1.0 : static_cast<double>(touches);
  return kTouchDeviation * kTouchDeviation * 2 * std::log(chances / kSoundRunsRefused);
}

// Whether the touches disagree by a stray one: leaving a touch out lowers the sum of the squared deviations
// by what that touch alone put in, a sound touch its noise (or a worn part's form), a stray one its pull on
// the feature of them all. Where the largest drop lies beyond what sound touches give, a touch is stray
// where the others' feature puts it beyond the bound, or where the others make none without it.
bool touchesDisagree(const std::vector<LeftOut>& left, const Deviation& all, double bound, double sound) {
  double pull = 0.0;
  bool beyond = false;
  for (const LeftOut& out : left) {
    if (!(out.distance >= 0.0)) {
      beyond = true;
      continue;
    }
    pull = std::max(pull, all.squares - out.others.squares);
    beyond = beyond || out.distance > bound;
  }
  return beyond && pull > sound;
}

// Where the touches make no feature at all, a stray one may be why: it is named where leaving it out makes
// one that the rest agree with, as with two touches to spare; with one to spare, told where every touch
// would have to lie beyond the bound off the feature its others make.
std::optional<StrayTouch> strayFromUnmade(std::span<const Vector3> touches, const FitTouches& fit,
                                          bool planes, double ballRadius) {
  std::vector<LeftOut> left(touches.size());
  size_t values = 0;
  double size = 0.0;
  for (size_t i = 0; i < touches.size(); ++i) {
    const IPtr<IZelFeature> others = fit(i);
    if (others && values == 0) {
      values = judgedValues(*others, planes);
      size = sizeAtTouches(*others, touches, ballRadius);
    }
    left[i] = leftOut(others.get(), values, touches, i);
  }
  if (values == 0 || touches.size() <= values) return std::nullopt;
  if (touches.size() > values + 1) return aloneAstray(left, strayBound(size), strayBound(size) / 2, false);
  std::optional<StrayTouch> least = leastAstray(left);
  if (least && least->distance > strayBound(size)) return least;
  return std::nullopt;
}

}  // namespace

std::optional<StrayTouch> findStrayTouch(std::span<const Vector3> touches, const FitTouches& fit, bool planes,
                                         double ballRadius) {
  const IPtr<IZelFeature> all = fit(std::nullopt);
  if (!all) return strayFromUnmade(touches, fit, planes, ballRadius);
  const size_t values = judgedValues(*all, planes);
  if (values == 0 || touches.size() <= values) return std::nullopt;
  const double bound = strayBound(sizeAtTouches(*all, touches, ballRadius)), agreement = bound / 2;
  const Deviation off = deviation(all.get(), values, touches);
  // Many touches that all lie within the probing scatter of the feature of them all leave no room for one to
  // have pulled it, which would have to fix the feature nearly alone: the long runs' stops stay quick.
  if (touches.size() > 2 * values && off.spread <= kProbingScatter) return std::nullopt;
  const std::vector<LeftOut> left = leaveEachOut(touches, values, fit);
  if (!(off.spread > agreement) && !touchesDisagree(left, off, bound, soundDrop(touches.size(), values)))
    return std::nullopt;
  if (touches.size() == values + 1) {
    if (std::optional<StrayTouch> least = leastAstray(left)) return least;
  } else if (std::optional<StrayTouch> alone = aloneAstray(left, bound, agreement, true)) {
    return alone;
  }
  StrayTouch furthest{0, 0.0, StrayTouch::kFurthestOff};
  for (size_t j = 0; j < touches.size(); ++j) {
    const double distance = offSurface(*all, touches[j]);
    if (distance > furthest.distance) furthest = {j, distance, StrayTouch::kFurthestOff};
  }
  return furthest;
}

ZelString strayTouchText(const StrayTouch& stray, size_t touches, const ZelString& surface) {
  const ZelString touch = tr("touch %1 of %2", ZelString::number(static_cast<int32_t>(stray.index + 1)),
                             ZelString::number(static_cast<int32_t>(touches)));
  // Hundredths where a pin's stray lies within a millimetre.
  const ZelString mm =
      ZelString::formatDouble(stray.distance * 1000, {.precision = stray.distance < 0.001 ? ".2" : ".1"});
  switch (stray.blame) {
    case StrayTouch::kAlone:
      return tr("%1 lies %2 mm off the %3 the other touches make; undo back to it and probe on", touch, mm,
                surface);
    case StrayTouch::kOneToSpare:
      return tr(
          "the touches do not lie on one %1, and with one touch to spare any of them may be the stray "
          "one: %2 lies %3 mm off the %1 the other touches make; undo the stray touch or add touches",
          surface, touch, mm);
    case StrayTouch::kFurthestOff:
      break;
  }
  return tr(
      "the touches do not lie on one %1: %2 lies %3 mm off the %1 through them all, the furthest of "
      "any; undo the stray touch or add touches",
      surface, touch, mm);
}
