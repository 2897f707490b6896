#include "host/cad/host_mesh.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include <Eigen/Geometry>

#include "framework/object/query_chain.h"
#include "host/cad/closest_on_triangle.h"

namespace {

// A triangle whose area is this small against its longest edge squared has no trustworthy normal.
constexpr double kDegenerateRatio = 1e-12;
// A ray this close to the plane of an element (sine of the angle, roughly) runs along it: no single hit.
constexpr double kParallelRatio = 1e-12;
// A ray through an edge shared by two elements must hit one of them despite rounding in either.
constexpr double kEdgeTolerance = 1e-12;

Eigen::Vector3d vectorOf(const double xyz[3]) {
  return Eigen::Vector3d(xyz[0], xyz[1], xyz[2]);
}

void store(const Eigen::Vector3d& v, double out[3]) {
  for (int k = 0; k < 3; ++k) out[k] = v[k];
}

}  // namespace

HostMesh::HostMesh(std::vector<Point> vertices, std::vector<Triangle> triangles)
    : vertices_(std::move(vertices)), triangles_(std::move(triangles)), valid_(checkValid()) {}

std::optional<std::array<HostMesh::Point, 2>> HostMesh::bounds() const {
  if (!valid_) return std::nullopt;
  Point low = vertices_.front(), high = vertices_.front();
  for (const Point& vertex : vertices_) {
    for (int k = 0; k < 3; ++k) {
      low[k] = std::min(low[k], vertex[k]);
      high[k] = std::max(high[k], vertex[k]);
    }
  }
  return std::array<Point, 2>{low, high};
}

double HostMesh::size() const {
  const std::optional<std::array<Point, 2>> box = bounds();
  if (!box) return 0;
  const auto& [low, high] = *box;
  return std::max({high[0] - low[0], high[1] - low[1], high[2] - low[2]});
}

HostMesh::Corners HostMesh::corners(int32_t element) const {
  Corners result;
  for (int k = 0; k < 3; ++k) result[k] = vectorOf(vertices_[triangles_[element][k]].data());
  return result;
}

bool HostMesh::checkValid() const {
  if (triangles_.empty()) return false;
  for (const Point& vertex : vertices_) {
    for (double c : vertex) {
      if (!std::isfinite(c)) return false;
    }
  }
  const int32_t vertexCount = static_cast<int32_t>(vertices_.size());
  for (int32_t element = 0; element < elementCount(); ++element) {
    for (int32_t corner : triangles_[element]) {
      if (corner < 0 || corner >= vertexCount) return false;
    }
    const auto [a, b, c] = corners(element);
    const double longest = std::max({(b - a).squaredNorm(), (c - b).squaredNorm(), (a - c).squaredNorm()});
    if ((b - a).cross(c - a).norm() <= kDegenerateRatio * longest) return false;
  }
  return true;
}

Eigen::Vector3d HostMesh::normalOf(int32_t element) const {
  const auto [a, b, c] = corners(element);
  return (b - a).cross(c - a).normalized();
}

bool HostMesh::locate(ZelMeshHandle mesh, int32_t element, ZelMeshLocation* location) {
  if (!answers(mesh) || !isElement(element) || !location) return false;
  *location = ZelMeshLocation{element, FLT_MAX, FLT_MAX};
  return true;
}

bool HostMesh::project(ZelMeshHandle mesh, const double point[3], ZelMeshLocation* location) {
  if (!answers(mesh) || !location || !isElement(location->element)) return false;
  const auto [a, b, c] = corners(location->element);
  const Eigen::Vector2d weights = closestWeights(vectorOf(point), a, b, c);
  location->u = weights[0];
  location->v = weights[1];
  return true;
}

bool HostMesh::evaluate(ZelMeshHandle mesh, const ZelMeshLocation& location, double point[3],
                        double normal[3]) {
  if (!answers(mesh) || !isElement(location.element)) return false;
  if (!(location.u < FLT_MAX && location.v < FLT_MAX)) return false;  // also refuses NaN
  const auto [a, b, c] = corners(location.element);
  store(a + location.u * (b - a) + location.v * (c - a), point);
  store(normalOf(location.element), normal);
  return true;
}

std::optional<HostMesh::RayHit> HostMesh::intersect(const Eigen::Vector3d& origin,
                                                    const Eigen::Vector3d& direction) const {
  if (!valid_) return std::nullopt;
  std::optional<RayHit> nearest;
  // Möller and Trumbore's test against each element, keeping the nearest hit.
  for (int32_t element = 0; element < elementCount(); ++element) {
    const auto [a, b, c] = corners(element);
    const Eigen::Vector3d e1 = b - a, e2 = c - a, p = direction.cross(e2);
    const double det = e1.dot(p);
    if (std::abs(det) <= kParallelRatio * e1.norm() * e2.norm() * direction.norm()) continue;
    const Eigen::Vector3d s = origin - a, q = s.cross(e1);
    const double u = s.dot(p) / det, v = direction.dot(q) / det, t = e2.dot(q) / det;
    if (u < -kEdgeTolerance || v < -kEdgeTolerance || u + v > 1 + kEdgeTolerance || t < 0) continue;
    if (!nearest || t < nearest->distance) nearest = RayHit{t, element, a + u * e1 + v * e2};
  }
  return nearest;
}

void HostMesh::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelMesh*>(this))
      .offer<IZelMesh>(this)
      .offer<IZelMeshExt>(this)
      .end();
}
