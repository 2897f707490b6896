#include "devices/managers/hard_probe_plugin_manager.h"

#include <algorithm>

#include "devices/contracts/plugin.h"
#include "devices/managers/loaded_plugins.h"
#include "framework/object/query_chain.h"
#include "host_api/data_store.h"

namespace {

constexpr const char* kActivePlugin = "Palpera/ActivePlugin";
constexpr const char* kExplicitlySet = "Palpera/Emulator/ExplicitlySet";

template <class Face>
bool faceAvailable(IZelPlugin* plugin) {
  void* part = nullptr;
  plugin->queryInterface(Face::interfaceName, &part, false);
  return part && static_cast<Face*>(part)->isAvailable();
}

bool emulatorExplicitlySet() {
  SPtr<IDataStore> store;
  return store && store->getInt(kExplicitlySet, 0) != 0;
}

// The emulator gives way to real probes, unless the user chose it or nothing else is there.
void dropFirstEmulator(std::vector<IZelPlugin*>& candidates) {
  bool onlyTheEmulator = candidates.size() == 1 && isEmulatorPlugin(candidates.front());
  if (emulatorExplicitlySet() || onlyTheEmulator) return;
  auto emulator = std::find_if(candidates.begin(), candidates.end(), isEmulatorPlugin);
  if (emulator != candidates.end()) candidates.erase(emulator);
}

}  // namespace

HardProbePluginManager::HardProbePluginManager() : PluginManagerBase(kActivePlugin) {}

bool HardProbePluginManager::acceptsPlugin(IZelPlugin* plugin) {
  if (!plugin) return false;
  bool single = faceAvailable<IZelHardProbePlugin>(plugin);
  bool continuous = faceAvailable<IZelHardProbeContinuousPlugin>(plugin);
  return single || continuous;
}

void HardProbePluginManager::select() {
  ZelString stored = storedChoice();
  std::optional<std::vector<IZelPlugin*>> loaded = stored.isEmpty() ? std::nullopt : loadedPlugins();
  // With nothing to choose from the stored name stays, so a start before the probe is loaded (or without a
  // plug-in handler) does not make every later start forget the user's choice.
  if (!loaded) return;
  std::vector<IZelPlugin*> candidates;
  std::copy_if(loaded->begin(), loaded->end(), std::back_inserter(candidates),
               [this](IZelPlugin* plugin) { return acceptsPlugin(plugin); });
  dropFirstEmulator(candidates);
  IZelPlugin* choice = findByName(candidates, stored);
  if (!choice && !candidates.empty()) choice = candidates.front();
  if (choice) choose(choice);
}

bool HardProbePluginManager::setActivePlugin(IZelPlugin* plugin) {
  if (!plugin) {
    choose(nullptr);
    return true;
  }
  if (!acceptsPlugin(plugin)) return false;
  std::optional<std::vector<IZelPlugin*>> loaded = loadedPlugins();
  if (!loaded || std::find(loaded->begin(), loaded->end(), plugin) == loaded->end()) return false;
  choose(plugin);
  SPtr<IDataStore> store;
  if (store) store->setInt(nullptr, kExplicitlySet, isEmulatorPlugin(plugin) ? 1 : 0);
  return true;
}

void HardProbePluginManager::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelUnknown*>(this))
      .offer<IZelPluginManager>(this)
      .end();
}
