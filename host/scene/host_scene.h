#pragma once

// The stand-in view's scene: the camera and viewing transform it owns, and how often it was asked to show
// its changes. Main thread only.

#include <cstdint>

#include "framework/object/iptr.h"
#include "host/api/gfx_scene.h"
#include "host/core/host_unknown.h"
#include "host/scene/host_scene_camera.h"
#include "host/scene/host_viewing_transform.h"

class HostScene : public ISGfxScene, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostScene";

  HostScene() : camera_(new HostSceneCamera), viewingTransform_(new HostViewingTransform) {}

  ISGfxCamera* camera() override { return camera_.get(); }
  ISGfxViewingTransform* viewingTransform() override { return viewingTransform_.get(); }
  void update() override { ++updates_; }

  // Host side, for tests and scripts.
  HostSceneCamera& sceneCamera() { return *camera_; }
  int32_t updates() const { return updates_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  const IPtr<HostSceneCamera> camera_;
  const IPtr<HostViewingTransform> viewingTransform_;
  int32_t updates_ = 0;
};
