#pragma once

// HardProbeContinuousDevice ("HardProbeContinuous" in the plug-in registry): the hard probe in continuous
// mode, through the hard-probe manager's active plug-in's continuous face. It reports positions, capture
// start and stop, sampled points with their directions, a stop, the probe radius and custom events. The road
// is PluginDevice's; this file holds the kind's names and its callback.

#include "devices/devices/device_callback.h"
#include "devices/devices/emulator_input_link.h"
#include "devices/devices/plugin_device.h"
#include "devices/registry/plugin_manager_lookup.h"

class HardProbeContinuousCallback : public IZelHardProbeContinuousDataReceiver, public DeviceCallback {
 public:
  static constexpr const char* interfaceName = "HardProbeContinuousDevice::AcquisitionThread::Callback";

  void setProbeRadius(double radius) override;
  void onStartCapture() override;
  void onStopCapture() override;
  void onMoved(const Vector3& point, const Vector3& to, const Vector3& up) override;
  void onPointSampled(const Vector3& point, const Vector3& to, const Vector3& up) override;
  void onStop() override;
  void onCustomEvent(const ZelCString& name, IZelUnknown* payload) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};

struct HardProbeContinuousKind {
  using Face = IZelHardProbeContinuousPlugin;
  using Receiver = IZelHardProbeContinuousDataReceiver;
  using Callback = HardProbeContinuousCallback;
  using EmulatorLink = EmulatorInputLink;
  static constexpr const char* kClassName = "HardProbeContinuousDevice";
  static constexpr const char* kEventGroup = ContinuousEventNames::kGroup;
  static constexpr auto& kEventNames = ContinuousEventNames::kAll;
  static IZelPluginManager* manager() { return getHardProbePluginManager(); }
  static DeviceEventHandlers makeHandlers(DeviceReceivers<Receiver>* receivers) {
    return makeContinuousEventHandlers(receivers);
  }
};

extern template class PluginDevice<HardProbeContinuousKind>;
using HardProbeContinuousDevice = PluginDevice<HardProbeContinuousKind>;
