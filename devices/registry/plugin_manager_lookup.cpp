#include "devices/registry/plugin_manager_lookup.h"

#include "devices/managers/izel_plugin_manager.h"
#include "devices/registry/izel_plugin_service.h"
#include "framework/object/iptr.h"

namespace {

IZelPluginManager* managerNamed(const char* name) {
  SPtr<IZelPluginService> registry;
  return registry ? registry->getManager(ZelCString(name)) : nullptr;
}

}  // namespace

IZelPluginManager* getHardProbePluginManager() {
  return managerNamed("HardProbe");
}

IZelPluginManager* getLaserScanPluginManager() {
  return managerNamed("LaserScan");
}

IZelPlugin* getCurrentHardProbePlugin() {
  IZelPluginManager* manager = getHardProbePluginManager();
  return manager ? manager->currentPlugin() : nullptr;
}
