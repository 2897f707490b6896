#include "host/fitting/alignment_datums.h"

#include <algorithm>
#include <cmath>

#include "framework/object/query_part.h"
#include "host_api/feature_kinds.h"
#include "host_api/zel_sub_objects.h"

namespace {

Eigen::Vector3d toEigen(const Vector3& v) {
  return {v.x, v.y, v.z};
}

template <class Kind>
bool allOf(const std::vector<DatumPair>& pairs) {
  return std::ranges::all_of(pairs, [](const DatumPair& pair) {
    return std::holds_alternative<Kind>(pair.fixed) && std::holds_alternative<Kind>(pair.floating);
  });
}

bool allPlanes(const std::vector<DatumPair>& pairs) {
  return allOf<fitting::DatumPlane>(pairs);
}

fitting::FitResult<fitting::RigidMotion> alignPointPairs(const std::vector<DatumPair>& pairs) {
  std::vector<Eigen::Vector3d> fixed, floating;
  for (const DatumPair& pair : pairs) {
    fixed.push_back(std::get<DatumPoint>(pair.fixed).position);
    floating.push_back(std::get<DatumPoint>(pair.floating).position);
  }
  return fitting::alignPoints(fixed, floating);
}

}  // namespace

std::optional<Datum> datumOf(IZelSubObject* subObject) {
  auto* featureSubObject = queryPart<IZelFeatureSubObject>(subObject);
  IZelFeature* feature = featureSubObject ? featureSubObject->feature() : nullptr;
  if (auto* plane = queryPart<IZelPlane>(feature)) {
    Vector3 normal;
    double offset = 0;
    plane->equation(normal, offset);
    return fitting::DatumPlane{toEigen(normal), offset};
  }
  if (auto* point = queryPart<IZelPoint>(feature)) {
    double position[3];
    point->position(position);
    return DatumPoint{{position[0], position[1], position[2]}};
  }
  return std::nullopt;
}

Datum moved(const Datum& datum, const fitting::RigidMotion& motion) {
  if (const auto* point = std::get_if<DatumPoint>(&datum))
    return DatumPoint{motion.rotation * point->position + motion.translation};
  const auto& plane = std::get<fitting::DatumPlane>(datum);
  // n . x = e moved by (R, t): (R n) . x = e + (R n) . t.
  const Eigen::Vector3d normal = motion.rotation * plane.normal;
  return fitting::DatumPlane{normal, plane.offset + normal.dot(motion.translation)};
}

fitting::FitResult<fitting::RigidMotion> solveDatumPairs(const std::vector<DatumPair>& pairs) {
  if (pairs.size() == 3 && allPlanes(pairs)) {
    std::array<fitting::DatumPlane, 3> fixed, floating;
    for (size_t i = 0; i < 3; ++i) {
      fixed[i] = std::get<fitting::DatumPlane>(pairs[i].fixed);
      floating[i] = std::get<fitting::DatumPlane>(pairs[i].floating);
    }
    return fitting::alignPlanes321(fixed, floating);
  }
  if (!pairs.empty() && allOf<DatumPoint>(pairs)) return alignPointPairs(pairs);
  return fitting::FitFailure{"no datum scheme takes these pairs"};
}

double deviation(const DatumPair& pair, const fitting::RigidMotion& motion) {
  const auto* fixedPoint = std::get_if<DatumPoint>(&pair.fixed);
  const auto* floatingPoint = std::get_if<DatumPoint>(&pair.floating);
  if (fixedPoint && floatingPoint)
    return (motion.rotation * floatingPoint->position + motion.translation - fixedPoint->position).norm();
  const auto* fixed = std::get_if<fitting::DatumPlane>(&pair.fixed);
  const auto* floating = std::get_if<fitting::DatumPlane>(&pair.floating);
  if (!fixed || !floating) return 0.0;
  const Eigen::Vector3d foot = fixed->normal * (fixed->offset / fixed->normal.squaredNorm());
  const auto movedPlane = std::get<fitting::DatumPlane>(moved(*floating, motion));
  return std::abs(movedPlane.normal.dot(foot) - movedPlane.offset) / movedPlane.normal.norm();
}
