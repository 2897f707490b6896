#include "ui/triad/csys_visibility_source.h"

#include "devices/managers/izel_plugin_manager.h"
#include "devices/registry/plugin_manager_lookup.h"
#include "framework/object/query_chain.h"

bool DeviceCSYSGfx::VisibilitySource::isVisible() {
  // Looked up on every draw, as the matrix source does.
  IZelPluginManager* manager = getHardProbePluginManager();
  return manager && manager->currentPlugin();
}

void DeviceCSYSGfx::VisibilitySource::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelVisibilitySource>(this).end();
}
