#include "host/scene/host_gen_gfx_service.h"

#include <algorithm>

#include "framework/object/query_chain.h"

namespace {

constexpr int32_t kNormalisedViewSpace = 1;
constexpr int32_t kSceneSpace = 4;

}  // namespace

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

bool HostGenGfxService::spaceTransform(Matrix4x4& out, int32_t fromSpace, int32_t toSpace, int32_t,
                                       int32_t viewIndex) {
  if (fromSpace != kNormalisedViewSpace || toSpace != kSceneSpace) return false;
  std::lock_guard lock(mutex_);
  auto found = viewToScene_.find(viewIndex);
  out = found == viewToScene_.end() ? Matrix4x4::identity() : found->second;
  return true;
}

void HostGenGfxService::setViewToScene(int32_t viewIndex, const Matrix4x4& matrix) {
  std::lock_guard lock(mutex_);
  viewToScene_[viewIndex] = matrix;
}

void HostGenGfxService::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IGenGfxService>(this).end();
}
