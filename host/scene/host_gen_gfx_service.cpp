#include "host/scene/host_gen_gfx_service.h"

#include <algorithm>

#include "framework/object/query_chain.h"

HostGenGfxService::Matrix HostGenGfxService::transformOf(IZelDocObject& object) {
  Matrix matrix{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  object.transform(matrix.data());
  return matrix;
}

bool HostGenGfxService::worldTransform(IZelDocObject* object, double matrix[16]) {
  if (!object) return false;
  Matrix world = transformOf(*object);
  std::copy(world.begin(), world.end(), matrix);
  return true;
}

void HostGenGfxService::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IGenGfxService>(this).end();
}
