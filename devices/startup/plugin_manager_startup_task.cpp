#include "devices/startup/plugin_manager_startup_task.h"

#include "devices/emulator/emulator_plugin_startup_task.h"
#include "devices/managers/hard_probe_plugin_manager.h"
#include "devices/managers/laser_scan_plugin_manager.h"
#include "devices/registry/izel_plugin_service.h"
#include "framework/object/query_chain.h"
#include "framework/registrations/class_registration.h"
#include "host_api/update_gui.h"

namespace {

const ClassRegistration<PluginManagerStartupTask> registration(registeredClass("PluginManagerStartupTask"));

// Everything the host's interface shows.
constexpr int32_t kRefreshAll = 0;

}  // namespace

void PluginManagerStartupTask::run() {
  SPtr<IZelPluginService> registry;
  if (!registry) return;
  loadModuleEmulator();
  IPtr<HardProbePluginManager> hardProbe(new HardProbePluginManager);
  registry->setManager(ZelCString("HardProbe"), hardProbe.get());
  hardProbe->select();
  IPtr<LaserScanPluginManager> laserScan(new LaserScanPluginManager);
  registry->setManager(ZelCString("LaserScan"), laserScan.get());
  laserScan->initialize();
  SPtr<IUpdateGui> gui;
  if (gui) gui->refresh(kRefreshAll);
}

void PluginManagerStartupTask::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelStartupTask>(this).end();
}
