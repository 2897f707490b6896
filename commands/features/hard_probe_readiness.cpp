#include "commands/features/hard_probe_readiness.h"

#include "devices/contracts/plugin.h"
#include "devices/registry/plugin_manager_lookup.h"
#include "framework/commands/command_context.h"
#include "framework/host_glue/user_error.h"
#include "framework/object/query_part.h"
#include "framework/translation/tr.h"

bool hardProbeReady(IZelUnknown* context) {
  IZelPlugin* plugin = getCurrentHardProbePlugin();
  if (!plugin) return false;
  return !queryPart<IZelEmulatorPlugin>(plugin) || !contextHoldsObject(context, "Result");
}

bool hardProbeHasModel(const ZelString& commandName) {
  auto* emulator = queryPart<IZelEmulatorPlugin>(getCurrentHardProbePlugin());
  if (!emulator || emulator->hasReferenceObject()) return true;
  reportNoReferenceModel(commandName);
  return false;
}

void reportNoReferenceModel(const ZelString& commandName) {
  reportUserError(tr("\"%1\" needs a reference model named \"RefObject\", loaded and active.", commandName));
}
