#pragma once

// The stand-in host's drawing of the hard probe: the graphics utility ("IGfxPalperaGfxUtil") and the probe
// objects it makes. A probe object keeps the size, pose and drawing options it was given so tests can see
// them; the utility keeps every probe object it made. Main thread only, as the scene is.

#include <map>
#include <vector>

#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host/scene/host_scene_nodes.h"
#include "host_api/palpera_gfx_util.h"

class HostHardProbeGfx : public IGfxHardProbeGfx, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostHardProbeGfx";

  struct Size {
    double size = 0;
    double halfSize = 0;
    double shaftLength = 0;
  };

  // The surroundings are drawn with the probe: the probe node holds them.
  HostHardProbeGfx() { probe_->addChild(static_cast<IZelNode*>(auxiliary_.get())); }

  int32_t setDisplayOption(int32_t option, int32_t value) override;
  void setProbeSize(double size, double halfSize, double shaftLength) override;
  void setPose(const Vector3& position, const Vector3& direction) override;
  IZelUnknown* probeNode() override { return static_cast<IZelNode*>(probe_.get()); }
  IZelUnknown* auxiliaryNode() override { return static_cast<IZelNode*>(auxiliary_.get()); }

  // Host side.
  const std::vector<Size>& sizes() const { return sizes_; }
  const Vector3& position() const { return position_; }
  const Vector3& direction() const { return direction_; }
  int32_t poseCount() const { return poseCount_; }
  HostGroupNode& probe() { return *probe_; }
  HostGroupNode& auxiliary() { return *auxiliary_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::vector<Size> sizes_;
  Vector3 position_;
  Vector3 direction_;
  int32_t poseCount_ = 0;
  std::map<int32_t, int32_t> options_;
  const IPtr<HostGroupNode> probe_{new HostGroupNode("probe")};
  const IPtr<HostGroupNode> auxiliary_{new HostGroupNode("probe surroundings")};
};

class HostPalperaGfxUtil : public IGfxPalperaGfxUtil, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostPalperaGfxUtil";

  IGfxHardProbeGfx* createHardProbeGfx() override;

  // Host side: every probe object made, oldest first.
  const std::vector<IPtr<HostHardProbeGfx>>& made() const { return made_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::vector<IPtr<HostHardProbeGfx>> made_;
};
