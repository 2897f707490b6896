#include "devices/managers/laser_scan_plugin_manager.h"

#include <algorithm>

#include "basic_types/zel_array.h"
#include "devices/contracts/plugin.h"
#include "devices/managers/loaded_plugins.h"
#include "framework/memory/assertion.h"
#include "framework/object/query_chain.h"
#include "host_api/data_store.h"

namespace {

constexpr const char* kScanningPlugin = "Plugins/ScanningPlugin";
constexpr const char* kInstalledPlugins = "Plugins/InstalledScanningPlugins";
constexpr int32_t kInitialSlots = 21;

std::vector<ZelString> readInstalledNames() {
  SPtr<IDataStore> store;
  if (!store) return {};
  ZelCountedArray<ZelString> list(kInitialSlots);
  store->getString(kInstalledPlugins).splitCounted(list);
  std::vector<ZelString> names;
  for (int32_t i = 1; i <= list.count(); ++i) names.push_back(list[i]);
  return names;
}

void writeInstalledNames(const std::vector<ZelString>& names) {
  ZelString text;
  for (const ZelString& name : names) text.appendCounted(name);
  SPtr<IDataStore> store;
  if (store) store->setString(nullptr, kInstalledPlugins, text);
}

bool contains(const std::vector<ZelString>& names, const ZelString& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// A plug-in that is no longer loaded is forgotten, so that it counts as new when it comes back.
void forgetUnloaded(std::vector<ZelString>& installed, const std::vector<IZelPlugin*>& loaded) {
  std::erase_if(installed, [&loaded](const ZelString& name) { return !findByName(loaded, name); });
}

}  // namespace

LaserScanPluginManager::LaserScanPluginManager() : PluginManagerBase(kScanningPlugin) {}

bool LaserScanPluginManager::setActivePlugin(IZelPlugin* plugin) {
  choose(plugin);
  return true;
}

bool LaserScanPluginManager::acceptsPlugin(IZelPlugin* plugin) {
  return !isEmulatorPlugin(plugin);
}

void LaserScanPluginManager::initialize() {
  std::optional<std::vector<IZelPlugin*>> loaded = loadedPlugins();
  if (!loaded) {
    reportAssertion("pluginHandler", "laserscanpluginmanager", 156);
    return;
  }
  if (loaded->empty()) return;
  std::vector<ZelString> installed = readInstalledNames();
  forgetUnloaded(installed, *loaded);
  chooseNewPlugin(*loaded, installed);
  if (!currentPlugin()) chooseStoredOrEmulator(*loaded);
  writeInstalledNames(installed);
}

void LaserScanPluginManager::chooseNewPlugin(const std::vector<IZelPlugin*>& loaded,
                                             std::vector<ZelString>& installed) {
  std::vector<IZelPlugin*> fresh;
  for (IZelPlugin* plugin : loaded) {
    if (acceptsPlugin(plugin) && !contains(installed, plugin->getName())) fresh.push_back(plugin);
  }
  if (fresh.empty()) return;
  setActivePlugin(leastByName(fresh));
  for (IZelPlugin* plugin : fresh) installed.push_back(plugin->getName());
}

void LaserScanPluginManager::chooseStoredOrEmulator(const std::vector<IZelPlugin*>& loaded) {
  // An empty stored choice means the user chose no scanner: not even the emulator is tried.
  ZelString stored = storedChoice();
  if (stored.isEmpty()) return;
  if (IZelPlugin* named = findByName(loaded, stored)) setActivePlugin(named);
  if (currentPlugin()) return;
  std::vector<IZelPlugin*> emulators;
  std::copy_if(loaded.begin(), loaded.end(), std::back_inserter(emulators), isEmulatorPlugin);
  if (!emulators.empty()) setActivePlugin(leastByName(emulators));
}

void LaserScanPluginManager::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelUnknown*>(this))
      .offer<IZelPluginManager>(this)
      .end();
}
