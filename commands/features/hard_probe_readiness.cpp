#include "commands/features/hard_probe_readiness.h"

#include "devices/contracts/plugin.h"
#include "devices/registry/plugin_manager_lookup.h"
#include "framework/commands/command_context.h"
#include "framework/object/query_part.h"

bool hardProbeReady(IZelUnknown* context) {
  IZelPlugin* plugin = getCurrentHardProbePlugin();
  if (!plugin) return false;
  if (auto* emulator = queryPart<IZelEmulatorPlugin>(plugin))
    return emulator->hasReferenceObject() && !contextHoldsObject(context, "Result");
  return true;
}
