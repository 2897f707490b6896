#include "devices/startup/plugin_device_startup_task.h"

#include "devices/devices/hard_probe_continuous_device.h"
#include "devices/devices/hard_probe_device.h"
#include "devices/devices/laser_scan_device.h"
#include "devices/registry/izel_plugin_service.h"
#include "framework/object/query_chain.h"
#include "framework/registrations/class_registration.h"

namespace {

const ClassRegistration<PluginDeviceStartupTask> registration(registeredClass("PluginDeviceStartupTask"));

template <class Device>
void registerDevice(IZelPluginService& registry, const char* name) {
  IPtr<Device> device(new Device);
  registry.setDevice(ZelCString(name), device.get());
}

}  // namespace

void PluginDeviceStartupTask::run() {
  SPtr<IZelPluginService> registry;
  if (!registry) return;
  registerDevice<HardProbeDevice>(*registry, "HardProbe");
  registerDevice<HardProbeContinuousDevice>(*registry, "HardProbeContinuous");
  registerDevice<LaserScanDevice>(*registry, "LaserScan");
}

void PluginDeviceStartupTask::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelStartupTask>(this).end();
}
