#include "host/scene/host_gen_gfx_service.h"

#include <algorithm>
#include <cmath>

#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "host/cad/cad_model.h"
#include "host/cad/host_mesh.h"
#include "host_api/host_class_ids.h"
#include "host_api/points.h"
#include "host_api/zel_sub_objects.h"

namespace {

constexpr int32_t kNormalisedViewSpace = 1;
constexpr int32_t kCameraSpace = 3;
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
  if (space != kNormalisedViewSpace && space != kCameraSpace) return std::nullopt;
  Matrix4x4 viewToScene = Matrix4x4::identity();
  {
    std::lock_guard lock(mutex_);
    auto found = viewToScene_.find(viewIndex);
    if (found != viewToScene_.end()) viewToScene = found->second;
  }
  if (space == kNormalisedViewSpace) return viewToScene;
  // The camera's axes are the view's, in scene lengths: the view's zoom taken out of each axis.
  for (int column = 0; column < 3; ++column) {
    double* axis[3] = {&viewToScene.m[column], &viewToScene.m[4 + column], &viewToScene.m[8 + column]};
    const double length = std::hypot(*axis[0], *axis[1], *axis[2]);
    if (!(length > 0)) return std::nullopt;
    for (double* value : axis) *value /= length;
  }
  return viewToScene;
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

bool HostGenGfxService::objectBox(IZelDocObject* object, double box[6]) {
  auto* subObjects =
      object ? queryPart<IZelSubObjectMgr>(object->attachedObject(kFeatureSubObjectsClassId)) : nullptr;
  if (!subObjects) return false;
  Matrix4x4 toWorld;
  toWorld.assign(transformOf(*object).data());
  Vector3 low{HUGE_VAL, HUGE_VAL, HUGE_VAL};
  Vector3 high{-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
  auto take = [&](const Vector3& own) {
    const Vector3 p = Matrix4x4::transformPoint(toWorld, own);
    low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
    high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
  };
  for (int32_t i = 0; i < subObjects->subObjectCount(); ++i) {
    auto* shown = queryPart<IZelFeatureSubObject>(subObjects->subObjectAt(i));
    double own[6];
    if (!shown || !shown->feature() || !shown->feature()->boundingBox(own)) continue;
    for (int corner = 0; corner < 8; ++corner)
      take({own[corner & 1 ? 3 : 0], own[corner & 2 ? 4 : 1], own[corner & 4 ? 5 : 2]});
  }
  // A point object draws its points as well.
  if (auto* points = queryPart<IZelPoints>(object->subObject("PointModel"))) {
    double xyz[3];
    for (int32_t i = 1; i <= points->pointCount(); ++i) {
      if (points->pointAt(i, xyz)) take({xyz[0], xyz[1], xyz[2]});
    }
  }
  // A CAD model draws its surface model.
  if (auto* mesh = queryPart<HostMesh>(object->subObject(kSurfaceModel))) {
    if (const auto bounds = mesh->bounds()) {
      const auto& [meshLow, meshHigh] = *bounds;
      for (int corner = 0; corner < 8; ++corner)
        take({(corner & 1 ? meshHigh : meshLow)[0], (corner & 2 ? meshHigh : meshLow)[1],
              (corner & 4 ? meshHigh : meshLow)[2]});
    }
  }
  if (!(low.x <= high.x)) return false;
  const double merged[6] = {low.x, low.y, low.z, high.x, high.y, high.z};
  std::copy(merged, merged + 6, box);
  return true;
}

bool HostGenGfxService::setViewWindow(int32_t viewIndex, const double window[4]) {
  if (!window || !std::all_of(window, window + 4, [](double v) { return std::isfinite(v); })) return false;
  const double halfWidth = (window[2] - window[0]) / 2;
  const double halfHeight = (window[3] - window[1]) / 2;
  if (!(halfWidth > 0) || !(halfHeight > 0)) return false;
  const Matrix4x4 windowToView =
      Matrix4x4::translation({window[0] + halfWidth, window[1] + halfHeight, 0}) *
      Matrix4x4::scaling(std::max(halfWidth, halfHeight), std::max(halfWidth, halfHeight), 1);
  std::lock_guard lock(mutex_);
  auto found = viewToScene_.find(viewIndex);
  const Matrix4x4 viewToScene = found == viewToScene_.end() ? Matrix4x4::identity() : found->second;
  viewToScene_[viewIndex] = viewToScene * windowToView;
  return true;
}

std::optional<std::array<double, 6>> HostGenGfxService::sceneBox(bool visibleOnly) {
  std::optional<std::array<double, 6>> merged;
  for (int32_t i = 0; i < document_.objectCount(); ++i) {
    IZelDocObject* object = document_.objectAt(i);
    std::array<double, 6> box;
    if (!object || (visibleOnly && !object->property("Visible")) || !objectBox(object, box.data())) continue;
    if (!merged) merged = box;
    for (int axis = 0; axis < 3; ++axis) {
      (*merged)[axis] = std::min((*merged)[axis], box[axis]);
      (*merged)[axis + 3] = std::max((*merged)[axis + 3], box[axis + 3]);
    }
  }
  return merged;
}

void HostGenGfxService::setTargetObject(IZelDocObject* object) {
  targetObjectId_ = object ? document_.objectId(object) : 0;
}

bool HostGenGfxService::fitAll(int32_t viewIndex, bool visibleOnly, int32_t margin) {
  if (margin < 0) return false;
  const std::optional<std::array<double, 6>> box = sceneBox(visibleOnly);
  if (!box) return false;
  const auto& b = *box;
  const double halfSize = std::max({b[3] - b[0], b[4] - b[1], b[5] - b[2]}) / 2 * (1 + margin / 100.0);
  const double scale = halfSize > 0 ? halfSize : 1;
  const Matrix4x4 viewToScene =
      Matrix4x4::translation({(b[0] + b[3]) / 2, (b[1] + b[4]) / 2, (b[2] + b[5]) / 2}) *
      Matrix4x4::uniformScaling(scale);
  ++fits_;
  std::lock_guard lock(mutex_);
  if (viewIndex != -1) {
    viewToScene_[viewIndex] = viewToScene;
    return true;
  }
  viewToScene_[-1] = viewToScene;
  for (auto& [index, matrix] : viewToScene_) matrix = viewToScene;
  return true;
}

void HostGenGfxService::setViewToScene(int32_t viewIndex, const Matrix4x4& matrix) {
  std::lock_guard lock(mutex_);
  viewToScene_[viewIndex] = matrix;
}

void HostGenGfxService::resetViews() {
  std::lock_guard lock(mutex_);
  viewToScene_.clear();
}

void HostGenGfxService::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IGenGfxService>(this).end();
}
