#pragma once

// The hard probe drawn in the view (see zel_hard_probe_probe_gfx.h). The host's probe graphics does the
// drawing; this object hangs its node in the scene, registers a receiver with each device and feeds the
// graphics the probe's size and pose. Under a parent object the probe hangs in a separator, first in the
// object's node, that draws it in world coordinates, where the devices report it. Every missing host
// service or device is passed over: without probe graphics it stays detached, without the document's
// graphics the probe stays out of the scene while the receivers still listen.

#include <optional>

#include "devices/contracts/plugin_device.h"
#include "framework/host_glue/world_points_node.h"
#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"
#include "host_api/palpera_gfx_util.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_scene_node.h"
#include "ui/probe/zel_hard_probe_probe_gfx.h"

class HardProbeProbeGfx : public IZelHardProbeProbeGfx, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "HardProbeProbeGfx";
  // The smallest probe ball drawn, in metres: a smaller reported radius is drawn at this size.
  static constexpr double kSmallestRadius = 0.001;

  class DataReceiver;
  class ContinuousDataReceiver;

  HardProbeProbeGfx();
  HardProbeProbeGfx(const HardProbeProbeGfx&) = delete;
  HardProbeProbeGfx& operator=(const HardProbeProbeGfx&) = delete;
  ~HardProbeProbeGfx() override;

  void setParentObject(IZelDocObject* object) override;
  void attach() override;
  void detach() override;
  int32_t forwardToProbeGraphics(int32_t option, int32_t value) override;
  void fitView(bool includeProbe) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  void hangProbe();
  void registerReceivers();
  void unregisterReceivers();
  void setProbeRadius(double radius);
  void setPose(const Vector3& position, const Vector3& direction);

  IPtr<DataReceiver> dataReceiver_;
  IPtr<ContinuousDataReceiver> continuousDataReceiver_;
  bool attached_ = false;
  IPtr<IZelDocObject> parentObject_;
  IPtr<IZelPluginDevice> hardProbeDevice_;
  IPtr<IZelPluginDevice> continuousDevice_;
  IPtr<IGfxHardProbeGfx> probeGfx_;
  // Under a parent object, the separator that draws the probe in world coordinates.
  std::optional<WorldPointsNode> probeFrame_;
  // The group the probe node was hung in, so detach takes it from there even after the parent changed.
  IPtr<IZelGroupNode> probeParentNode_;
  bool replaying_ = false;
};
