#include "host/fitting/alignment_datums.h"

#include <algorithm>
#include <cmath>

#include "framework/object/query_part.h"
#include "host/api/feature_kinds.h"
#include "host/api/zel_sub_objects.h"

namespace {

Eigen::Vector3d toEigen(const Vector3& v) {
  return {v.x, v.y, v.z};
}

bool allPlanes(const std::vector<DatumPair>& pairs) {
  return std::ranges::all_of(pairs, [](const DatumPair& pair) {
    return std::holds_alternative<fitting::DatumPlane>(pair.fixed) &&
           std::holds_alternative<fitting::DatumPlane>(pair.floating);
  });
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
  return std::nullopt;
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
  return fitting::FitFailure{"no datum scheme takes these pairs"};
}

double deviation(const DatumPair& pair, const fitting::RigidMotion& motion) {
  const auto* fixed = std::get_if<fitting::DatumPlane>(&pair.fixed);
  const auto* floating = std::get_if<fitting::DatumPlane>(&pair.floating);
  if (!fixed || !floating) return 0.0;
  const Eigen::Vector3d foot = fixed->normal * (fixed->offset / fixed->normal.squaredNorm());
  // The moved plane: normal R g, offset e + (R g) . t.
  const Eigen::Vector3d normal = motion.rotation * floating->normal;
  const double offset = floating->offset + normal.dot(motion.translation);
  return std::abs(normal.dot(foot) - offset) / normal.norm();
}
