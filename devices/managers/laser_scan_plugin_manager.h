#pragma once

// Chooses the plug-in that drives the laser-scan device ("LaserScan" in the registry). It remembers which
// plug-ins it has seen in "Plugins/InstalledScanningPlugins" (a counted list of names), so that a real
// scanning plug-in loaded for the first time becomes the choice once; otherwise the stored choice
// "Plugins/ScanningPlugin" holds, and an emulator is the fallback. Made by the manager start-up task, which
// runs initialize once; main thread only.

#include <vector>

#include "devices/managers/plugin_manager_base.h"

class LaserScanPluginManager : public PluginManagerBase {
 public:
  static constexpr const char* interfaceName = "LaserScanPluginManager";

  LaserScanPluginManager();

  // The start-up choice. With no plug-in loaded nothing is chosen and nothing is written.
  void initialize();

  // Takes any plug-in, null included, and stores its name.
  bool setActivePlugin(IZelPlugin* plugin) override;
  // Anything but an emulator counts as a real device here.
  bool acceptsPlugin(IZelPlugin* plugin) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  // The least-named of the loaded plug-ins not yet installed, which join the installed names.
  void chooseNewPlugin(const std::vector<IZelPlugin*>& loaded, std::vector<ZelString>& installed);
  // The loaded plug-in of the stored choice; without one, the least-named emulator.
  void chooseStoredOrEmulator(const std::vector<IZelPlugin*>& loaded);
};
