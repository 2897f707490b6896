#include "feature_comparison.h"

#include <cmath>

#include "feature_fields.h"
#include "framework/object/query_part.h"
#include "host_api/feature_kinds.h"

namespace {

using Values = std::vector<ComparedValue>;

// A feature of one kind where its object stands in the world.
template <class Kind>
struct Placed {
  Kind& kind;
  const Matrix4x4& toWorld;
  Vector3 point(const Vector3& own) const { return Matrix4x4::transformPoint(toWorld, own); }
  Vector3 direction(const Vector3& own) const { return Matrix4x4::transformVector(toWorld, own); }
};

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
Values planes(const Placed<IZelPlane>& fitted, const Placed<IZelPlane>& nominal) {
  const Vector3 normal = nominal.direction(nominal.kind.normal()).normalized();
  const Vector3 centre = fitted.point(fitted.kind.center());
  const double above = (centre - nominal.point(nominal.kind.center())).dot(normal);
  return {direction("normal", fitted.direction(fitted.kind.normal()), normal, true),
          {"centre", vectorText(centre), vectorText(centre - normal * above), above, false}};
}

Values circles(const Placed<IZelArc>& fitted, const Placed<IZelArc>& nominal) {
  return {position("centre", fitted.point(fitted.kind.center()), nominal.point(nominal.kind.center())),
          direction("normal", fitted.direction(fitted.kind.normal()),
                    nominal.direction(nominal.kind.normal()), false),
          size("radius", fitted.kind.radius(), nominal.kind.radius())};
}

Values spheres(const Placed<IZelSphere>& fitted, const Placed<IZelSphere>& nominal) {
  return {position("centre", fitted.point(fitted.kind.center()), nominal.point(nominal.kind.center())),
          size("radius", fitted.kind.radius(), nominal.kind.radius())};
}

// The probed axis has its own ends, where the touches were: its point nearest the nominal axis's first end
// is set beside that end.
Values cylinders(const Placed<IZelCylinder>& fitted, const Placed<IZelCylinder>& nominal) {
  const Vector3 along = fitted.direction(fitted.kind.axisDirection()).normalized();
  const Vector3 start = nominal.point(nominal.kind.firstEnd());
  const Vector3 end = fitted.point(fitted.kind.firstEnd());
  const Vector3 nearest = end + along * (start - end).dot(along);
  return {direction("axis", along, nominal.direction(nominal.kind.axisDirection()), false),
          position("axis point", nearest, start),
          size("radius", fitted.kind.radius(), nominal.kind.radius())};
}

// A cone seen from its narrow end, whichever of its ends A and B that is: the end, its radius, and the axis's
// direction from it towards the wide end.
struct NarrowEnd {
  Vector3 point;
  double radius;
  Vector3 towardsWide;
};

NarrowEnd narrowEnd(const Placed<IZelCone>& cone) {
  const Vector3 a = cone.point(cone.kind.endA()), b = cone.point(cone.kind.endB());
  if (cone.kind.radiusA() <= cone.kind.radiusB()) return {a, cone.kind.radiusA(), (b - a).normalized()};
  return {b, cone.kind.radiusB(), (a - b).normalized()};
}

// As for a cylinder, the probed axis's point nearest the nominal's narrow end is set beside that end, and the
// probed radius there beside the nominal's. A cone's axis runs from its narrow end, so its sense counts.
Values cones(const Placed<IZelCone>& fitted, const Placed<IZelCone>& nominal) {
  const NarrowEnd probed = narrowEnd(fitted), expected = narrowEnd(nominal);
  const double reach = (expected.point - probed.point).dot(probed.towardsWide);
  const double halfAngle = fitted.kind.halfAngle(), nominalHalfAngle = nominal.kind.halfAngle();
  return {
      direction("axis", probed.towardsWide, expected.towardsWide, true),
      position("axis point", probed.point + probed.towardsWide * reach, expected.point),
      size("radius", probed.radius + reach * std::tan(halfAngle), expected.radius),
      {"half angle", sixDigits(halfAngle), sixDigits(nominalHalfAngle), halfAngle - nominalHalfAngle, true}};
}

template <class Kind>
std::optional<Values> compared(const PlacedFeature& fitted, const PlacedFeature& nominal,
                               Values (*compare)(const Placed<Kind>&, const Placed<Kind>&)) {
  auto* a = queryPart<Kind>(fitted.feature.object());
  auto* b = queryPart<Kind>(nominal.feature.object());
  if (!a || !b) return std::nullopt;
  return compare({*a, fitted.toWorld}, {*b, nominal.toWorld});
}

}  // namespace

std::optional<std::vector<ComparedValue>> compareWithNominal(const PlacedFeature& fitted,
                                                             const PlacedFeature& nominal) {
  if (auto values = compared(fitted, nominal, planes)) return values;
  if (auto values = compared(fitted, nominal, circles)) return values;
  if (auto values = compared(fitted, nominal, spheres)) return values;
  if (auto values = compared(fitted, nominal, cylinders)) return values;
  return compared(fitted, nominal, cones);
}
