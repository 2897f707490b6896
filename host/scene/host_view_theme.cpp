#include "host/scene/host_view_theme.h"

#include <atomic>
#include <cstring>

#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "host/scene/host_scene_camera.h"

namespace {

constexpr const char* kTemporaryView = "Temporary View";

std::atomic<int32_t> animations{0};

HostSceneCamera* sceneCamera(ISGfxScene* scene) {
  return scene ? queryPart<HostSceneCamera>(scene->camera()) : nullptr;
}

}  // namespace

int32_t HostViewTheme::push(const char* theme, bool saveCamera) {
  if (!theme || std::strcmp(theme, kTemporaryView) != 0) return -1;
  std::optional<SGfxCameraState> state;
  if (saveCamera) {
    state.emplace();
    views_.scene().sceneCamera().getState(*state);
  }
  const int32_t id = nextId_++;
  saved_[id] = state;
  return id;
}

bool HostViewTheme::restoreCamera(int32_t id) {
  const auto found = saved_.find(id);
  if (found == saved_.end() || !found->second) return false;
  views_.scene().sceneCamera().setState(*found->second);
  views_.scene().update();
  return true;
}

bool HostViewTheme::remove(int32_t id) {
  return saved_.erase(id) != 0;
}

void HostViewTheme::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IViewTheme>(this).end();
}

bool HostAnimateCameraUtil::animate(ISGfxScene* scene, const SGfxCameraState& target, double) {
  HostSceneCamera* camera = sceneCamera(scene);
  if (!camera) return false;
  camera->setState(target);
  scene->update();
  ++animations;
  return true;
}

int32_t HostAnimateCameraUtil::animationCount() {
  return animations.load();
}

void HostAnimateCameraUtil::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelAnimateCameraUtil>(this).end();
}
