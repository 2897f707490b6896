#include "host/scene/host_scene_camera.h"

#include <cmath>

#include "framework/object/query_chain.h"

void HostSceneCamera::setMode(int32_t slot, int32_t value) {
  if (slot == 0 || slot == 1) modes_[slot] = value;
}

void HostSceneCamera::setZoomScale(double scale) {
  if (std::isfinite(scale) && scale > 0) zoomScale_ = scale;
}

void HostSceneCamera::getState(SGfxCameraState& out) {
  out.matrix = matrix_;
  out.point = point_;
  out.zoomScale = zoomScale_;
  out.modes[0] = modes_[0];
  out.modes[1] = modes_[1];
}

void HostSceneCamera::setState(const SGfxCameraState& state) {
  matrix_ = state.matrix;
  point_ = state.point;
  setZoomScale(state.zoomScale);
  modes_[0] = state.modes[0];
  modes_[1] = state.modes[1];
}

void HostSceneCamera::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<ISGfxCamera>(this).end();
}
