#pragma once

// The stand-in host's view themes ("IViewTheme") and camera animation ("IZelAnimateCameraUtil"). The one
// theme it knows is "Temporary View", which changes nothing drawn: pushing it only saves the camera of the
// view. The animation has no clock here: it puts the camera at its target at once and counts the moves, for
// tests and scripts to read.

#include <cstdint>
#include <map>
#include <optional>

#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host/scene/host_gfx_view.h"
#include "host_api/view_theme.h"

class HostViewTheme : public IViewTheme, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostViewTheme";

  explicit HostViewTheme(HostGfxViewMgr& views) : views_(views) {}

  int32_t push(const char* theme, bool saveCamera) override;
  bool restoreCamera(int32_t id) override;
  bool remove(int32_t id) override;

  // Host side: the themes pushed and not yet taken off.
  size_t pushedCount() const { return saved_.size(); }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  HostGfxViewMgr& views_;
  // Per pushed id, the camera saved with it (when it was saved).
  std::map<int32_t, std::optional<SGfxCameraState>> saved_;
  int32_t nextId_ = 1;
};

class HostAnimateCameraUtil : public IZelAnimateCameraUtil, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostAnimateCameraUtil";

  bool animate(ISGfxScene* scene, const SGfxCameraState& target, double duration) override;

  // Host side: the moves made by every utility so far.
  static int32_t animationCount();

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};
