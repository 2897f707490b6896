#include "host/scene/host_object_extent.h"

#include <algorithm>

#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "host/cad/cad_model.h"
#include "host/cad/host_mesh.h"
#include "host_api/zel_doc.h"

bool HostObjectExtent::ownBox(IZelDocObject* object, double box[6]) {
  auto* mesh = object ? queryPart<HostMesh>(object->subObject(kSurfaceModel)) : nullptr;
  const auto bounds = mesh ? mesh->bounds() : std::nullopt;
  if (!bounds) return false;
  std::copy(bounds->front().begin(), bounds->front().end(), box);
  std::copy(bounds->back().begin(), bounds->back().end(), box + 3);
  return true;
}

void HostObjectExtent::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IObjectExtent>(this).end();
}
