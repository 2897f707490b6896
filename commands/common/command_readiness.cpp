#include "commands/common/command_readiness.h"

#include "devices/contracts/plugin.h"
#include "devices/registry/plugin_manager_lookup.h"
#include "features/creators/creator_parameter_keys.h"
#include "framework/commands/command_context.h"
#include "framework/host_glue/document_glue.h"
#include "framework/host_glue/user_error.h"
#include "framework/object/host_lookup.h"
#include "framework/object/query_part.h"
#include "framework/translation/tr.h"
#include "host_api/parameters.h"
#include "host_api/vector_input.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_phase.h"
#include "host_api/zel_sub_objects.h"

namespace {

constexpr char16_t kReferenceName[] = u"RefObject";

bool hasHardProbe() {
  IZelPlugin* plugin = getCurrentHardProbePlugin();
  if (!plugin) return false;
  auto* emulator = queryPart<IZelEmulatorPlugin>(plugin);
  return !emulator || emulator->hasReferenceObject();
}

bool referenceIsActive() {
  SPtr<IZelDoc> document;
  IZelDocObject* active = document ? document->activeObject() : nullptr;
  return active && active == document->findObject(ZelString(kReferenceName)) && active->isType("CAD");
}

bool activeObjectHoldsProbedFeatures() {
  SPtr<IZelDoc> document;
  IZelDocObject* active = document ? document->activeObject() : nullptr;
  auto* subObjects = queryPart<IZelSubObjectMgr>(getFeatureSubObjectMgr(active));
  if (!subObjects) return false;
  for (int32_t i = 0; i < subObjects->subObjectCount(); ++i) {
    if (isProbedFeature(queryPart<IZelFeatureSubObject>(subObjects->subObjectAt(i)))) return true;
  }
  return false;
}

// A plug-in missing is told before the model it would probe: choosing one may bring the model with it.
ZelString missingNeed(const ZelString& commandName, const CommandNeeds& needs) {
  if (needs.hardProbe && !getCurrentHardProbePlugin())
    return tr("\"%1\" needs a hard probe plug-in: choose one as \"Palpera Plug-In\" on the options page.",
              commandName);
  if ((needs.hardProbe && !hasHardProbe()) || (needs.activeReference && !referenceIsActive()))
    return tr("\"%1\" needs a reference model named \"RefObject\", loaded and active.", commandName);
  if (needs.probedFeatures && !activeObjectHoldsProbedFeatures())
    return tr("\"%1\" needs the object holding its probed features as the active object.", commandName);
  return {};
}

}  // namespace

bool commandReady(const ZelString& commandName, const CommandNeeds& needs) {
  const ZelString missing = missingNeed(commandName, needs);
  if (missing.isEmpty()) return true;
  reportUserError(missing);
  return false;
}

bool resultBarsEmulator(IZelUnknown* context) {
  return queryPart<IZelEmulatorPlugin>(getCurrentHardProbePlugin()) && contextHoldsObject(context, "Result");
}

bool referencePickable(IZelVectorInput* input) {
  SPtr<IZelDoc> document;
  IZelDocObject* reference = document ? document->findObject(ZelString(kReferenceName)) : nullptr;
  SPtr<IPhaseService> phases;
  return input && (!reference || input->accept(phases.get(), reference));
}

bool isProbedFeature(IZelFeatureSubObject* subObject) {
  IZelFeature* feature = subObject ? subObject->feature() : nullptr;
  return feature && queryPart<IZelParameterTable>(feature->getParameter(ZelString(kProbeConstructionKey)));
}
