#include "host/scene/host_gen_gfx_service.h"

#include <algorithm>

#include "framework/object/query_chain.h"

namespace {

constexpr int32_t kNormalisedViewSpace = 1;
constexpr int32_t kSceneSpace = 4;
constexpr int32_t kObjectSpace = 5;

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

std::optional<Matrix4x4> HostGenGfxService::toScene(int32_t space, int32_t objectId, int32_t viewIndex) {
  if (space == kSceneSpace) return Matrix4x4::identity();
  if (space == kObjectSpace) {
    IZelDocObject* object = document_.objectById(objectId);
    if (!object) return std::nullopt;
    Matrix world = transformOf(*object);
    Matrix4x4 matrix;
    std::copy(world.begin(), world.end(), matrix.m);
    return matrix;
  }
  if (space != kNormalisedViewSpace) return std::nullopt;
  std::lock_guard lock(mutex_);
  auto found = viewToScene_.find(viewIndex);
  return found == viewToScene_.end() ? Matrix4x4::identity() : found->second;
}

bool HostGenGfxService::spaceTransform(Matrix4x4& out, int32_t fromSpace, int32_t toSpace, int32_t objectId,
                                       int32_t viewIndex) {
  std::optional<Matrix4x4> from = toScene(fromSpace, objectId, viewIndex);
  std::optional<Matrix4x4> to = toScene(toSpace, objectId, viewIndex);
  Matrix4x4 sceneToTarget;
  if (!from || !to || !Matrix4x4::invert(*to, sceneToTarget)) return false;
  out = sceneToTarget * *from;
  return true;
}

void HostGenGfxService::setViewToScene(int32_t viewIndex, const Matrix4x4& matrix) {
  std::lock_guard lock(mutex_);
  viewToScene_[viewIndex] = matrix;
}

void HostGenGfxService::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IGenGfxService>(this).end();
}
