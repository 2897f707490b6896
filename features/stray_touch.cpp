#include "features/stray_touch.h"

#include <algorithm>
#include <cmath>

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

}  // namespace

bool judgesStrayTouches(IZelFeature& feature) {
  return queryPart<IZelCylinder>(&feature) || queryPart<IZelCone>(&feature) || queryPart<IZelArc>(&feature) ||
         queryPart<IZelSphere>(&feature);
}

double offRoundSurface(IZelFeature& feature, const Vector3& p) {
  if (auto* sphere = queryPart<IZelSphere>(&feature))
    return std::abs((p - sphere->center()).length() - sphere->radius());
  if (auto* cylinder = queryPart<IZelCylinder>(&feature))
    return std::abs(acrossAxis(p, cylinder->axisPoint(), cylinder->axisDirection()) - cylinder->radius());
  if (auto* arc = queryPart<IZelArc>(&feature))
    return std::abs(acrossAxis(p, arc->center(), arc->normal()) - arc->radius());
  if (auto* cone = queryPart<IZelCone>(&feature)) return offCone(*cone, p);
  return 0.0;
}

bool touchesHugMadeFeature(IZelFeature& made, std::span<const Vector3> touches, double probeRadius) {
  return judgesStrayTouches(made) && std::ranges::all_of(touches, [&](const Vector3& touch) {
           return std::abs(offRoundSurface(made, touch) - probeRadius) <= kStrayTouchBound / 10;
         });
}

std::optional<StrayTouch> findStrayTouch(std::span<const Vector3> touches, size_t fewest,
                                         const FitOthers& fitOthers) {
  if (touches.size() <= fewest + 1) return std::nullopt;
  // The touch whose others agree best: leaving out a sound touch keeps the stray one in, which spreads the
  // others off their feature, and may carry the sound touch further off it than the stray one lies.
  std::optional<StrayTouch> best;
  double bestSpread = 0.0;
  for (size_t i = 0; i < touches.size(); ++i) {
    const IPtr<IZelFeature> others = fitOthers(i);
    if (!others) continue;
    if (!judgesStrayTouches(*others)) return std::nullopt;
    double spread = 0.0;
    for (size_t j = 0; j < touches.size(); ++j)
      if (j != i) spread = std::max(spread, offRoundSurface(*others, touches[j]));
    // Not a number (a fit gone astray) agrees with nothing.
    if (!(spread >= 0.0) || (best && spread >= bestSpread)) continue;
    best = StrayTouch{i, offRoundSurface(*others, touches[i])};
    bestSpread = spread;
  }
  if (!best || !(best->distance > kStrayTouchBound)) return std::nullopt;
  return best;
}

ZelString strayTouchText(const StrayTouch& stray, size_t touches, const ZelString& surface) {
  const ZelString touch = tr("touch %1 of %2", ZelString::number(static_cast<int32_t>(stray.index + 1)),
                             ZelString::number(static_cast<int32_t>(touches)));
  return tr("%1 lies %2 mm off the %3 the other touches make; undo back to it and probe on", touch,
            ZelString::formatDouble(stray.distance * 1000, {.precision = ".1"}), surface);
}
