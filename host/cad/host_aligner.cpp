#include "host/cad/host_aligner.h"

#include <cmath>
#include <optional>
#include <vector>

#include "basic_types/transform_checks.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "host/cad/mesh_closest_point.h"
#include "host/cad/rigid_fit.h"

namespace {

Eigen::Vector3d eigenOf(const Vector3& v) {
  return {v.x, v.y, v.z};
}

// Records 1 to count of an array of T; none when the array is of another record or too short.
template <class T>
std::optional<std::vector<T>> records(const ZelChunkedArray& array, int32_t count) {
  if (count < 0 || array.elementSize() != static_cast<int32_t>(sizeof(T)) || array.count() < count + 1)
    return std::nullopt;
  std::vector<T> values;
  values.reserve(static_cast<size_t>(count));
  for (int32_t i = 1; i <= count; ++i) values.push_back(*reinterpret_cast<const T*>(array.element(i)));
  return values;
}

std::vector<Eigen::Vector3d> eigenPoints(const std::vector<Vector3>& points) {
  std::vector<Eigen::Vector3d> converted;
  converted.reserve(points.size());
  for (const Vector3& p : points) converted.push_back(eigenOf(p));
  return converted;
}

Matrix4x4 matrixOf(const Eigen::Isometry3d& motion) {
  Matrix4x4 out;
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) out.m[4 * r + c] = motion.matrix()(r, c);
  }
  return out;
}

// The rigid motion a matrix holds; none for one that is not a proper rigid motion (isProperRigid, the test
// the module puts a placement to).
std::optional<Eigen::Isometry3d> motionOf(const Matrix4x4& matrix) {
  if (!isProperRigid(matrix)) return std::nullopt;
  Eigen::Matrix4d values;
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) values(r, c) = matrix.m[4 * r + c];
  }
  Eigen::Isometry3d motion;
  motion.matrix() = values;
  return motion;
}

}  // namespace

bool HostAlignerInput::setUp(IZelUnknown* meshData, IZelUnknown*, double maxDistance, bool) {
  mesh_.release();
  auto* mesh = queryPart<IZelMesh>(meshData);
  if (!mesh || !mesh->isValid() || !(maxDistance > 0)) return false;
  mesh_ = queryPart<IZelMeshExt>(meshData);
  maxDistance_ = maxDistance;
  return static_cast<bool>(mesh_);
}

bool HostAlignerInput::closestPoint(const Vector3& point, Vector3& closest, Vector3& normal, bool, bool) {
  Vector3 found, facing;
  if (!mesh_ || !closestOnMesh(*mesh_, point, found, facing) || !((found - point).length() <= maxDistance_))
    return false;
  closest = found;
  normal = facing;
  return true;
}

void HostAlignerInput::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IAligner_Input*>(this))
      .offer<IAligner_Input_Complex>(this)
      .offer<IAligner_Input>(this)
      .end();
}

bool HostAligner::fitPairs(int32_t count, const ZelChunkedArray& measured, const ZelChunkedArray& nominal,
                           Matrix4x4& result) {
  const auto to = records<Vector3>(measured, count);
  const auto from = records<AlignerPointPair>(nominal, count);
  if (!to || !from) return false;
  std::vector<Eigen::Vector3d> fromPoints;
  for (const AlignerPointPair& pair : *from) fromPoints.push_back(eigenOf(pair.point));
  const std::optional<Eigen::Isometry3d> motion = fitPointPairs(fromPoints, eigenPoints(*to));
  if (!motion) return false;
  result = matrixOf(*motion);
  return true;
}

bool HostAligner::refine(int32_t count, const ZelChunkedArray& points, const ZelChunkedArray& normals,
                         Matrix4x4& matrix, bool, bool, int32_t, IZelUnknown*, double tolerance, bool,
                         double offset) {
  const auto moved = records<Vector3>(points, count);
  const auto hints = records<Vector3>(normals, count);
  const std::optional<Eigen::Isometry3d> start = motionOf(matrix);
  if (!input_ || !moved || !hints || !start || !std::isfinite(offset) || !(tolerance > 0)) return false;
  IAligner_Input* input = input_.get();
  const SurfaceQuery query = [input](const Eigen::Vector3d& p, Eigen::Vector3d& closest, Eigen::Vector3d& n) {
    Vector3 onSurface, facing;
    if (!input->closestPoint({p.x(), p.y(), p.z()}, onSurface, facing, false, false)) return false;
    closest = eigenOf(onSurface);
    n = eigenOf(facing);
    return true;
  };
  SurfaceRefinement how;
  how.offset = offset;
  how.tolerance = tolerance;
  const std::optional<Eigen::Isometry3d> refined =
      refineOntoSurface(eigenPoints(*moved), eigenPoints(*hints), *start, how, query);
  if (!refined) return false;
  matrix = matrixOf(*refined);
  return true;
}

void HostAligner::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IAligner>(this).end();
}

bool HostClosestPointOnMesh::setMesh(IZelUnknown* mesh) {
  mesh_.release();
  auto* valid = queryPart<IZelMesh>(mesh);
  if (!valid || !valid->isValid()) return false;
  mesh_ = queryPart<IZelMeshExt>(mesh);
  return static_cast<bool>(mesh_);
}

bool HostClosestPointOnMesh::closestPoint(const Vector3& point, Vector3& closest, Vector3& normal) {
  return mesh_ && closestOnMesh(*mesh_, point, closest, normal);
}

void HostClosestPointOnMesh::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelClosestPointOnMesh>(this).end();
}
