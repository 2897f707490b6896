#include "host/scene/host_scene_camera.h"

#include <cmath>

#include "framework/object/query_chain.h"

void HostSceneCamera::setMode(int32_t slot, int32_t value) {
  if (slot == 0 || slot == 1) modes_[slot] = value;
}

void HostSceneCamera::setZoomScale(double scale) {
  if (std::isfinite(scale) && scale > 0) zoomScale_ = scale;
}

void HostSceneCamera::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<ISGfxCamera>(this).end();
}
