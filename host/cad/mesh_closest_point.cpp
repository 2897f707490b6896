#include "host/cad/mesh_closest_point.h"

#include <limits>

bool closestOnMesh(IZelMeshExt& mesh, const Vector3& point, Vector3& closest, Vector3& normal) {
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
