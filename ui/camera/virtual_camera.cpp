#include "ui/camera/virtual_camera.h"

#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "framework/registrations/class_registration.h"
#include "host_api/gfx_view.h"

namespace {

const ClassRegistration<VirtualCamera> registration(registeredClass("VirtualCamera"));

// The matrix elements of the translation's x and y (row-major, translation in the last column).
constexpr int kTranslationX = 3;
constexpr int kTranslationY = 7;

}  // namespace

VirtualCamera::VirtualCamera() {
  SPtr<IGfxViewMgr> views;
  if (!views) return;
  scene_ = queryPart<ISGfxScene>(views->currentView());
  if (scene_) camera_ = scene_->camera();
}

void VirtualCamera::update() {
  if (!camera_) return;
  camera_->setPoint(cameraPoint_);
  ISGfxViewingTransform* viewing = scene_->viewingTransform();
  if (!viewing) return;
  viewing->setPosition(kDistanceInProbeVectors * (position_ - to_));
  viewing->setUp(up_);
  IZelOrienter* orienter = queryPart<IZelOrienter>(viewing);
  if (!orienter) return;
  Matrix4x4 placement = orienter->matrix();
  // The camera keeps its sideways place and moves only along the view's depth.
  placement.m[kTranslationX] = 0;
  placement.m[kTranslationY] = 0;
  camera_->setMatrix(placement);
  scene_->update();
}

void VirtualCamera::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelVirtualCamera>(this).end();
}
