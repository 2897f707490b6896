#include "commands/alignment/iterative/view_point.h"

#include "basic_types/matrix4x4.h"
#include "framework/object/iptr.h"
#include "framework/object/query_part.h"
#include "host_api/gfx_scene.h"
#include "host_api/gfx_view.h"
#include "host_api/zel_doc.h"

namespace {

constexpr int32_t kScreenSpace = 1;
constexpr int32_t kCameraSpace = 3;
constexpr int32_t kObjectSpace = 5;
constexpr int32_t kCurrentView = -1;
constexpr double kCameraDistance = 6.0;
constexpr double kScreenStep = 0.001;
constexpr double kViewShare = 0.7;

ISGfxCamera* currentCamera() {
  SPtr<IGfxViewMgr> views;
  auto* scene = views ? queryPart<ISGfxScene>(views->currentView()) : nullptr;
  return scene ? scene->camera() : nullptr;
}

Matrix4x4 fromObjectSpace(IGenGfxService& gfx, int32_t toSpace, int32_t objectId) {
  Matrix4x4 transform;
  gfx.spaceTransform(transform, kObjectSpace, toSpace, objectId, kCurrentView);
  return transform;
}

}  // namespace

void ViewPoint::apply() {
  SPtr<IGenGfxService> gfx;
  ISGfxCamera* camera = gfx ? currentCamera() : nullptr;
  if (!camera) return;
  camera->setMode(0, 0);
  camera->setZoomScale(1.0);
  SPtr<IZelDoc> document;
  const int32_t objectId = document && object ? document->objectId(object) : 0;

  const Matrix4x4 toCamera = fromObjectSpace(*gfx, kCameraSpace, objectId);
  Vector3 viewing = Matrix4x4::transformVector(toCamera, direction);
  // A zero direction has no way to point: look along the camera space's x axis instead.
  if (!viewing.normalize() || viewing.length() < 0.5) viewing = {1, 0, 0};
  const Matrix4x4 turn = Matrix4x4::rotationBetween(viewing, {0, 0, 1});
  const Vector3 turned = Matrix4x4::transformPoint(turn * toCamera, point);
  camera->setMatrix(Matrix4x4::translation({0, 0, -kCameraDistance}) * Matrix4x4::translation(-turned) *
                    turn);

  // The object length of a small step across the screen sets the zoom.
  const Matrix4x4 toScreen = fromObjectSpace(*gfx, kScreenSpace, objectId);
  const Vector3 onScreen = Matrix4x4::transformPoint(toScreen, point) + Vector3{kScreenStep, 0, 0};
  const double stepLength =
      (point - Matrix4x4::transformPoint(Matrix4x4::inverse(toScreen), onScreen)).length();
  if (size > 0) camera->setZoomScale(stepLength / kScreenStep * kViewShare / size);

  double world[16];
  Matrix4x4 toWorld;
  if (gfx->worldTransform(object, world)) toWorld.assign(world);
  camera->setPoint(Matrix4x4::transformPoint(toWorld, point));
}
