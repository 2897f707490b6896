#pragma once

// The stand-in view's scene: the camera and viewing transform it owns, and how often it was asked to show
// its changes, and the size of the view's drawing area (800 by 600 pixels until set). Main thread only.

#include <cstdint>

#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host/scene/host_scene_camera.h"
#include "host/scene/host_viewing_transform.h"
#include "host_api/gfx_scene.h"
#include "host_api/gfx_view.h"

class HostScene : public ISGfxScene, public IGfxView, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostScene";

  HostScene() : camera_(new HostSceneCamera), viewingTransform_(new HostViewingTransform) {}

  ISGfxCamera* camera() override { return camera_.get(); }
  ISGfxViewingTransform* viewingTransform() override { return viewingTransform_.get(); }
  void update() override { ++updates_; }
  int32_t width() override { return width_; }
  int32_t height() override { return height_; }

  // Host side, for tests and scripts.
  HostSceneCamera& sceneCamera() { return *camera_; }
  int32_t updates() const { return updates_; }
  void setSize(int32_t width, int32_t height) {
    width_ = width;
    height_ = height;
  }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  const IPtr<HostSceneCamera> camera_;
  const IPtr<HostViewingTransform> viewingTransform_;
  int32_t updates_ = 0;
  int32_t width_ = 800;
  int32_t height_ = 600;
};
