#include "host/cad/mesh_closest_point.h"

#include <limits>

#include "framework/object/query_part.h"
#include "host/cad/cad_surface_model.h"

namespace {

bool closestOnModel(const BrepModel& model, const Vector3& point, Vector3& closest, Vector3& normal) {
  const std::optional<BrepModel::FacePoint> found = model.closestOnFaces({point.x, point.y, point.z});
  BrepModel::Point onFace, facing;
  if (!found || !model.evaluate(found->face, found->parameter, onFace, facing)) return false;
  // The face's own closest point: at its boundary the surface's point at that parameter may lie beside it.
  closest = Vector3{found->point[0], found->point[1], found->point[2]};
  normal = Vector3{facing[0], facing[1], facing[2]};
  return true;
}

}  // namespace

bool closestOnMesh(IZelMeshExt& mesh, const Vector3& point, Vector3& closest, Vector3& normal) {
  if (auto* cad = queryPart<CadSurfaceModel>(&mesh))
    return closestOnModel(cad->brep(), point, closest, normal);
  return closestOnElements(mesh, point, closest, normal);
}

bool closestOnElements(IZelMeshExt& mesh, const Vector3& point, Vector3& closest, Vector3& normal) {
  const ZelMeshHandle handle = mesh.handle();
  double query[3];
  point.copyTo(query);
  double nearest = std::numeric_limits<double>::infinity();
  ZelMeshLocation location;
  for (int32_t element = 0; mesh.locate(handle, element, &location); ++element) {
    double onMesh[3], facing[3];
    if (!mesh.project(handle, query, &location) || !mesh.evaluate(handle, location, onMesh, facing)) continue;
    const Vector3 candidate{onMesh[0], onMesh[1], onMesh[2]};
    const double distance = (candidate - point).squaredLength();
    if (distance < nearest) {
      nearest = distance;
      closest = candidate;
      normal = Vector3{facing[0], facing[1], facing[2]};
    }
  }
  return nearest < std::numeric_limits<double>::infinity();
}
