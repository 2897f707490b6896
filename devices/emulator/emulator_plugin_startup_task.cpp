#include "devices/emulator/emulator_plugin_startup_task.h"

#include <algorithm>
#include <cstring>

#include "devices/emulator/emulator_plugin.h"
#include "devices/managers/loaded_plugins.h"
#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "framework/registrations/class_registration.h"
#include "host_api/plugin_handler.h"

namespace {

const ClassRegistration<EmulatorPluginStartupTask> registration(registeredClass("EmulatorPluginStartupTask"));

bool isModuleEmulator(IZelPlugin* plugin) {
  return std::strcmp(plugin->className(), EmulatorPlugin::interfaceName) == 0;
}

}  // namespace

void loadModuleEmulator() {
  SPtr<IZelPluginHandler> handler;
  std::optional<std::vector<IZelPlugin*>> loaded = loadedPlugins();
  if (!handler || !loaded || std::any_of(loaded->begin(), loaded->end(), isModuleEmulator)) return;
  IPtr<EmulatorPlugin> emulator(new EmulatorPlugin);
  handler->registerPlugin(static_cast<IZelPlugin*>(emulator.get()));
}

void EmulatorPluginStartupTask::run() {
  loadModuleEmulator();
}

void EmulatorPluginStartupTask::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelStartupTask>(this).end();
}
