#include "devices/managers/loaded_plugins.h"

#include "basic_types/zel_array.h"
#include "devices/contracts/plugin.h"
#include "framework/object/iptr.h"
#include "host_api/plugin_handler.h"

namespace {
// The handler appends to a list the caller makes with this many slots.
constexpr int32_t kInitialSlots = 21;
}  // namespace

std::optional<std::vector<IZelPlugin*>> loadedPlugins() {
  SPtr<IZelPluginHandler> handler;
  if (!handler) return std::nullopt;
  ZelCountedArray<IZelPlugin*> list(kInitialSlots);
  handler->getPlugins(list);
  std::vector<IZelPlugin*> plugins;
  for (int32_t i = 1; i <= list.count(); ++i) plugins.push_back(list[i]);
  return plugins;
}

bool isEmulatorPlugin(IZelPlugin* plugin) {
  if (!plugin) return false;
  void* part = nullptr;
  plugin->queryInterface(IZelEmulatorPlugin::interfaceName, &part, false);
  return part != nullptr;
}

IZelPlugin* findByName(const std::vector<IZelPlugin*>& plugins, const ZelString& name) {
  for (IZelPlugin* plugin : plugins) {
    if (plugin->getName() == name) return plugin;
  }
  return nullptr;
}

IZelPlugin* leastByName(const std::vector<IZelPlugin*>& plugins) {
  IZelPlugin* least = nullptr;
  for (IZelPlugin* plugin : plugins) {
    if (!least || plugin->getName() < least->getName()) least = plugin;
  }
  return least;
}
