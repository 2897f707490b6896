#pragma once

// HardProbeDevice ("HardProbe" in the plug-in registry): the hard probe used point by point, through the
// hard-probe manager's active plug-in's single-point face. It reports positions, sampled points, the stop
// point that ends a feature, the probe radius and custom events. Receivers register as
// IZelHardProbeDataReceiverV2 and are called through IZelHardProbeDataReceiver. The road is PluginDevice's;
// this file holds the kind's names and its callback.

#include "devices/devices/device_callback.h"
#include "devices/devices/emulator_input_link.h"
#include "devices/devices/plugin_device.h"
#include "devices/registry/plugin_manager_lookup.h"

class HardProbeCallback : public IZelHardProbeDataReceiver, public DeviceCallback {
 public:
  static constexpr const char* interfaceName = "HardProbeDevice::AcquisitionThread::Callback";

  void setProbeRadius(double radius) override;
  void onMoved(const Vector3& point, const Vector3& to, const Vector3& up) override;
  void onPointSampled(const Vector3& point) override;
  void onPointStop(const Vector3& point) override;
  void onCustomEvent(const ZelCString& name, IZelUnknown* payload) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};

struct HardProbeKind {
  using Face = IZelHardProbePlugin;
  using Receiver = IZelHardProbeDataReceiver;
  using Callback = HardProbeCallback;
  using EmulatorLink = EmulatorInputLink;
  static constexpr const char* kClassName = "HardProbeDevice";
  static constexpr const char* kEventGroup = SingleEventNames::kGroup;
  static constexpr auto& kEventNames = SingleEventNames::kAll;
  static IZelPluginManager* manager() { return getHardProbePluginManager(); }
  static DeviceEventHandlers makeHandlers(DeviceReceivers<Receiver>* receivers) {
    return makeSingleEventHandlers(receivers);
  }
};

extern template class PluginDevice<HardProbeKind>;
using HardProbeDevice = PluginDevice<HardProbeKind>;
