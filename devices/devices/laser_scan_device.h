#pragma once

// LaserScanDevice ("LaserScan" in the plug-in registry): the laser line scanner, through the laser-scan
// manager's active plug-in's scanner face. It reports capture start and stop, positions, scan lines, a stop
// and custom events; a scanner has no probe radius. A scan line's points reach the receivers packed (stride
// 0), each mapped through the device transform. The road is PluginDevice's; this file holds the kind's names
// and its callback.

#include "devices/devices/device_callback.h"
#include "devices/devices/emulator_input_link.h"
#include "devices/devices/plugin_device.h"
#include "devices/registry/plugin_manager_lookup.h"

class LaserScanCallback : public IZelLaserScanDataReceiver, public DeviceCallback {
 public:
  static constexpr const char* interfaceName = "LaserScanDevice::AcquisitionThread::Callback";

  void onStartCapture() override;
  void onStopCapture() override;
  void onMoved(const Vector3& point, const Vector3& to, const Vector3& up) override;
  void onSampled(const Vector3& point, const Vector3& to, const Vector3& up, const void* points,
                 uint32_t count, uint32_t stride) override;
  void onStop() override;
  void onCustomEvent(const ZelCString& name, IZelUnknown* payload) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};

struct LaserScanKind {
  using Face = IZelLaserScanPlugin;
  using Receiver = IZelLaserScanDataReceiver;
  using Callback = LaserScanCallback;
  using EmulatorLink = NoEmulatorInput;
  static constexpr const char* kClassName = "LaserScanDevice";
  static constexpr const char* kEventGroup = LaserScanEventNames::kGroup;
  static constexpr auto& kEventNames = LaserScanEventNames::kAll;
  static IZelPluginManager* manager() { return getLaserScanPluginManager(); }
  static DeviceEventHandlers makeHandlers(DeviceReceivers<Receiver>* receivers) {
    return makeLaserScanEventHandlers(receivers);
  }
};

extern template class PluginDevice<LaserScanKind>;
using LaserScanDevice = PluginDevice<LaserScanKind>;
