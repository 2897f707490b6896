#include "devices/devices/emulator_input_link.h"

#include <cstring>

#include "framework/object/query_part.h"

void EmulatorInputLink::attach(IZelPlugin* plugin) {
  if (!plugin || std::strcmp(plugin->className(), EmulatorPlugin::interfaceName) != 0) return;
  auto* emulator = queryPart<EmulatorPlugin>(plugin);
  if (emulator) manager_ = EmulatorPluginEventManager::forEmulator(emulator);
}
