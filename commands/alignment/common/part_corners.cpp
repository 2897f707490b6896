#include "commands/alignment/common/part_corners.h"

#include "framework/host_glue/object_placement.h"
#include "framework/object/host_lookup.h"
#include "host_api/object_extent.h"

std::vector<Vector3> ownBoxCorners(IZelDocObject* object) {
  SPtr<IObjectExtent> extent;
  double box[6];
  if (!object || !extent || !extent->ownBox(object, box)) return {};
  std::vector<Vector3> corners;
  for (int corner = 0; corner < 8; ++corner)
    corners.push_back({box[corner & 1 ? 3 : 0], box[corner & 2 ? 4 : 1], box[corner & 4 ? 5 : 2]});
  return corners;
}

std::vector<Vector3> worldBoxCorners(IZelDocObject* object) {
  const std::optional<ObjectPlacement> placement = ObjectPlacement::of(object);
  std::vector<Vector3> corners = placement ? ownBoxCorners(object) : std::vector<Vector3>();
  for (Vector3& corner : corners) corner = placement->toWorld(corner);
  return corners;
}
