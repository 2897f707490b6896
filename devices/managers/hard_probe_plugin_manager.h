#pragma once

// Chooses the plug-in that drives both hard-probe devices ("HardProbe" and "HardProbeContinuous"); the
// registry holds it under "HardProbe". The choice is kept by name in "Palpera/ActivePlugin", and
// "Palpera/Emulator/ExplicitlySet" says whether the user's last explicit choice was the emulator. Made by the
// manager start-up task, which runs select once; main thread only.

#include "devices/managers/plugin_manager_base.h"

class HardProbePluginManager : public PluginManagerBase {
 public:
  static constexpr const char* interfaceName = "HardProbePluginManager";

  HardProbePluginManager();

  // The start-up choice among the accepted loaded plug-ins: the one of the stored name, else the first. The
  // emulator gives way to a real probe unless the user chose it explicitly or it is the only one. An empty
  // stored name chooses nothing. The stored name is rewritten with the choice; without one it stays.
  void select();

  // Takes a plug-in that is accepted and loaded (or null, which chooses none) and notes whether it is the
  // emulator.
  bool setActivePlugin(IZelPlugin* plugin) override;
  // A plug-in with an available single-point or continuous hard-probe face.
  bool acceptsPlugin(IZelPlugin* plugin) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};
