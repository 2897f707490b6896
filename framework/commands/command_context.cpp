#include "framework/commands/command_context.h"

#include <initializer_list>

#include "framework/object/query_part.h"
#include "host_api/component_command.h"

namespace {

IComponentCommandContainerV2* containerOf(IZelUnknown* context) {
  return context ? queryPart<IComponentCommandContainerV2>(context) : nullptr;
}

}  // namespace

bool contextFlag(IZelUnknown* context, const char* name) {
  IComponentCommandContainerV2* container = containerOf(context);
  return container && container->flag(name);
}

bool contextBusy(IZelUnknown* context) {
  for (const char* name :
       {IComponentCommandContainerV2::kInCommand, IComponentCommandContainerV2::kRecordingMacro,
        IComponentCommandContainerV2::kSectionCurrent, IComponentCommandContainerV2::kBoundaryCurrent}) {
    if (contextFlag(context, name)) return true;
  }
  return false;
}

bool contextHoldsObject(IZelUnknown* context, const char* name) {
  IComponentCommandContainerV2* container = containerOf(context);
  return container && container->holdsObject(name);
}

bool contextReady(IZelUnknown* context) {
  IComponentCommandContainerV2* container = containerOf(context);
  return container && container->ready();
}

bool contextAllowsType(IZelUnknown* context, const char* type) {
  IComponentCommandContainerV2* container = containerOf(context);
  return container && container->allowsType(type);
}

bool contextHasFeatures(IZelUnknown* context, int32_t count) {
  IComponentCommandContainerV2* container = containerOf(context);
  return container && container->hasFeatures(count);
}

void finishCommand(IZelUnknown* context, bool applied) {
  if (IComponentCommandContainerV2* container = containerOf(context)) container->finishCommand(applied);
}
