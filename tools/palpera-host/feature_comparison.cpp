#include "feature_comparison.h"

#include <cmath>

#include "feature_fields.h"
#include "framework/object/query_part.h"
#include "host_api/feature_kinds.h"

namespace {

using Values = std::vector<ComparedValue>;

// Robust for the tiny angles a good fit leaves, where an arc cosine loses them.
double angleBetween(const Vector3& a, const Vector3& b) {
  return std::atan2(Vector3::cross(a, b).length(), a.dot(b));
}

// A plane's normal points out of the material, so its sense counts; an axis's or a circle's does not.
ComparedValue direction(const char* label, const Vector3& fitted, const Vector3& nominal, bool sensed) {
  double angle = angleBetween(fitted, nominal);
  if (!sensed) angle = std::fmin(angle, M_PI - angle);
  return {label, vectorText(fitted), vectorText(nominal), angle, true};
}

ComparedValue position(const char* label, const Vector3& fitted, const Vector3& nominal) {
  return {label, vectorText(fitted), vectorText(nominal), (fitted - nominal).length(), false};
}

ComparedValue size(const char* label, double fitted, double nominal) {
  return {label, sixDigits(fitted), sixDigits(nominal), fitted - nominal, false};
}

// The plane's centre is wherever the touches were, so it is set beside its foot on the nominal plane: the
// difference is how far the probed face lies above the nominal one.
Values planes(IZelPlane& fitted, IZelPlane& nominal) {
  const Vector3 normal = nominal.normal().normalized();
  const Vector3 centre = fitted.center();
  const double above = (centre - nominal.center()).dot(normal);
  return {direction("normal", fitted.normal(), normal, true),
          {"centre", vectorText(centre), vectorText(centre - normal * above), above, false}};
}

Values circles(IZelArc& fitted, IZelArc& nominal) {
  return {position("centre", fitted.center(), nominal.center()),
          direction("normal", fitted.normal(), nominal.normal(), false),
          size("radius", fitted.radius(), nominal.radius())};
}

Values spheres(IZelSphere& fitted, IZelSphere& nominal) {
  return {position("centre", fitted.center(), nominal.center()),
          size("radius", fitted.radius(), nominal.radius())};
}

// The probed axis has its own ends, where the touches were: its point nearest the nominal axis's first end
// is set beside that end.
Values cylinders(IZelCylinder& fitted, IZelCylinder& nominal) {
  const Vector3 along = fitted.axisDirection().normalized();
  const Vector3 start = nominal.firstEnd();
  const Vector3 nearest = fitted.firstEnd() + along * (start - fitted.firstEnd()).dot(along);
  return {direction("axis", along, nominal.axisDirection(), false), position("axis point", nearest, start),
          size("radius", fitted.radius(), nominal.radius())};
}

template <class Kind>
std::optional<Values> compared(IZelFeature& fitted, IZelFeature& nominal, Values (*compare)(Kind&, Kind&)) {
  auto* a = queryPart<Kind>(fitted.object());
  auto* b = queryPart<Kind>(nominal.object());
  if (!a || !b) return std::nullopt;
  return compare(*a, *b);
}

}  // namespace

std::optional<std::vector<ComparedValue>> compareWithNominal(IZelFeature& fitted, IZelFeature& nominal) {
  if (auto values = compared(fitted, nominal, planes)) return values;
  if (auto values = compared(fitted, nominal, circles)) return values;
  if (auto values = compared(fitted, nominal, spheres)) return values;
  return compared(fitted, nominal, cylinders);
}
