#pragma once

// The module on a stand-in host of its own, started as a host starts it with one device plug-in installed:
// the module's settings registered and the ones given set, the plug-in registered, then the start-up tasks
// that make the devices and let the plug-in managers choose (the only plug-in becomes the current one).
// Shut down and detached when it goes. Main thread only.

#include <cstdint>
#include <initializer_list>
#include <utility>

#include "devices/contracts/plugin.h"
#include "framework/object/host_detach.h"
#include "framework/registrations/registered_classes.h"
#include "host/standin_host.h"
#include "host_api/zel_component.h"
#include "host_api/zel_initializer.h"

class ModuleWithPlugin {
 public:
  ModuleWithPlugin(IZelPlugin* plugin, std::initializer_list<std::pair<const char*, int32_t>> settings) {
    uint32_t version = 0;
    IZelComponent* raw = nullptr;
    EntryPoint(&version, &raw);
    component_ = raw;
    host.attach(component_.get());
    run<IZelInitializer>("PalperaDataItemAdder", &IZelInitializer::initialise);
    for (const auto& [key, value] : settings) host.core().dataStore().setInt(nullptr, key, value);
    host.devices().pluginHandler().registerPlugin(plugin);
    run<IZelStartupTask>("PluginDeviceStartupTask", &IZelStartupTask::run);
    run<IZelStartupTask>("PluginManagerStartupTask", &IZelStartupTask::run);
  }
  ModuleWithPlugin(const ModuleWithPlugin&) = delete;
  ModuleWithPlugin& operator=(const ModuleWithPlugin&) = delete;
  ~ModuleWithPlugin() {
    host.shutdown();
    detachFromHost();
  }

  StandinHost host;

 private:
  template <class Interface>
  void run(const char* className, void (Interface::*operation)()) {
    IPtr<Interface> object;
    object.createInstance(classIdOf(className));
    ((*object).*operation)();
  }

  IPtr<IZelComponent> component_;
};
