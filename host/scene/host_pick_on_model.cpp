#include "host/scene/host_pick_on_model.h"

#include <cmath>

#include <Eigen/Geometry>
#include <Eigen/LU>

#include "framework/object/query_chain.h"
#include "host/cad/cad_model.h"
#include "host/cad/host_mesh.h"
#include "host/scene/host_gen_gfx_service.h"
#include "host_api/view_input.h"
#include "host_api/zel_doc.h"

namespace {

// A homogeneous weight this small sends a point to infinity: the transform cannot place it.
constexpr double kMinimumWeight = 1e-300;

HostMesh* surfaceModelOf(IZelDocObject& object) {
  IZelUnknown* model = object.subObject(kSurfaceModel);
  if (!model) return nullptr;
  void* mesh = nullptr;
  model->queryInterface(HostMesh::interfaceName, &mesh, false);
  return static_cast<HostMesh*>(mesh);
}

std::optional<Eigen::Vector3d> transformPoint(const Eigen::Matrix4d& m, const Eigen::Vector3d& p) {
  const Eigen::Vector4d h = m * p.homogeneous();
  if (!(std::abs(h[3]) > kMinimumWeight)) return std::nullopt;
  return Eigen::Vector3d(h.head<3>() / h[3]);
}

void store(const Eigen::Vector3d& v, double out[3]) {
  for (int k = 0; k < 3; ++k) out[k] = v[k];
}

}  // namespace

bool HostPickOnModel::prepare(IZelMouseData* mouse) {
  ray_.reset();
  hit_.reset();
  double origin[3], direction[3];
  if (!mouse || !mouse->pickRay(origin, direction)) return false;
  ray_ = Ray{Eigen::Vector3d(origin), Eigen::Vector3d(direction)};
  return true;
}

std::optional<HostPickOnModel::Ray> HostPickOnModel::localRay(IZelDocObject& object) const {
  const HostGenGfxService::Matrix world = HostGenGfxService::transformOf(object);
  const Eigen::Matrix4d toWorld =
      Eigen::Map<const Eigen::Matrix<double, 4, 4, Eigen::RowMajor>>(world.data());
  Eigen::Matrix4d toLocal;
  bool invertible = false;
  toWorld.computeInverseWithCheck(toLocal, invertible);
  if (!invertible) return std::nullopt;
  // Two points of the ray rather than a direction, so that a projective transform maps the ray right too.
  std::optional<Eigen::Vector3d> origin = transformPoint(toLocal, ray_->origin);
  std::optional<Eigen::Vector3d> ahead = transformPoint(toLocal, ray_->origin + ray_->direction);
  if (!origin || !ahead) return std::nullopt;
  return Ray{*origin, *ahead - *origin};
}

bool HostPickOnModel::pick(IZelDocObject* object) {
  hit_.reset();
  if (!ray_ || !object) return false;
  HostMesh* mesh = surfaceModelOf(*object);
  if (!mesh || !mesh->isValid()) return false;
  std::optional<Ray> local = localRay(*object);
  if (!local) return false;
  std::optional<HostMesh::RayHit> hit = mesh->intersect(local->origin, local->direction);
  if (!hit) return false;
  hit_ = Hit{hit->point, mesh->normalOf(hit->element), hit->element};
  return true;
}

bool HostPickOnModel::hitPoint(double point[3]) {
  if (!hit_) return false;
  store(hit_->point, point);
  return true;
}

bool HostPickOnModel::hitNormal(double normal[3]) {
  if (!hit_) return false;
  store(hit_->normal, normal);
  return true;
}

void HostPickOnModel::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelPickOnModel>(this).end();
}
