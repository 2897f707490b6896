#include "devices/registry/plugin_service.h"

#include "framework/object/query_chain.h"
#include "framework/registrations/class_registration.h"

namespace {

const ClassRegistration<PluginService> registration(registeredClass("PluginService"));

template <class T>
void store(std::map<std::string, IPtr<T>>& entries, const ZelCString& name, T* object) {
  entries[name.c_str()] = object;  // assigning the held pointer again leaves its count alone
}

template <class T>
T* lookUp(const std::map<std::string, IPtr<T>>& entries, const ZelCString& name) {
  auto found = entries.find(name.c_str());
  return found == entries.end() ? nullptr : found->second.get();
}

}  // namespace

PluginService::~PluginService() {
  stopAllDevices();
  devices_.clear();
  managers_.clear();
}

void PluginService::setManager(const ZelCString& name, IZelPluginManager* manager) {
  store(managers_, name, manager);
}

IZelPluginManager* PluginService::getManager(const ZelCString& name) {
  return lookUp(managers_, name);
}

void PluginService::setDevice(const ZelCString& name, IZelPluginDevice* device) {
  store(devices_, name, device);
}

IZelPluginDevice* PluginService::getDevice(const ZelCString& name) {
  return lookUp(devices_, name);
}

void PluginService::onShutdown() {
  stopAllDevices();
}

void PluginService::stopAllDevices() {
  // A device's stop waits for its worker thread, which may reach the registry: walk a copy of the entries.
  std::vector<IPtr<IZelPluginDevice>> devices;
  for (const auto& [name, device] : devices_) {
    if (device) devices.push_back(device);
  }
  for (const IPtr<IZelPluginDevice>& device : devices) device->stopAcquisition();
}

void PluginService::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelUnknown*>(this))
      .offer<IZelPluginService>(this)
      .offer<IShutdownListener>(this)
      .end();
}
