#include "devices/emulator/emulator_plugin_startup_task.h"

#include "devices/emulator/emulator_plugin.h"
#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "framework/registrations/class_registration.h"
#include "host/api/plugin_handler.h"

namespace {

const ClassRegistration<EmulatorPluginStartupTask> registration(registeredClass("EmulatorPluginStartupTask"));

}  // namespace

void EmulatorPluginStartupTask::run() {
  SPtr<IZelPluginHandler> handler;
  if (!handler) return;
  IPtr<EmulatorPlugin> emulator(new EmulatorPlugin);
  handler->registerPlugin(static_cast<IZelPlugin*>(emulator.get()));
}

void EmulatorPluginStartupTask::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelStartupTask>(this).end();
}
