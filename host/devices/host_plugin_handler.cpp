#include "host/devices/host_plugin_handler.h"

#include <algorithm>

#include "framework/object/query_chain.h"

namespace {

constexpr const char* kPluginInterface = "IZelPlugin";

}  // namespace

void HostPluginHandler::getPlugins(ZelCountedArray<IZelPlugin*>& list) {
  std::lock_guard lock(mutex_);
  for (const Loaded& loaded : loaded_) list.append(loaded.plugin);
}

bool HostPluginHandler::registerPlugin(IZelUnknown* plugin) {
  if (!plugin) return false;
  void* part = nullptr;
  plugin->queryInterface(kPluginInterface, &part, false);
  if (!part) return false;
  IPtr<IZelUnknown> held(plugin);  // counted before the lock: counting is the root's business
  std::lock_guard lock(mutex_);
  auto same = [plugin](const Loaded& loaded) { return loaded.object.get() == plugin; };
  if (std::any_of(loaded_.begin(), loaded_.end(), same)) return false;
  loaded_.push_back({std::move(held), static_cast<IZelPlugin*>(part)});
  return true;
}

std::vector<IZelUnknown*> HostPluginHandler::plugins() {
  std::lock_guard lock(mutex_);
  std::vector<IZelUnknown*> objects;
  for (const Loaded& loaded : loaded_) objects.push_back(loaded.object.get());
  return objects;
}

void HostPluginHandler::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelPluginHandler>(this).end();
}
