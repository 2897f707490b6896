#include "framework/commands/command_context.h"

#include "host/api/component_command.h"

bool contextFlag(IZelUnknown* context, const char* name) {
  if (!context) return false;
  void* part = nullptr;
  context->queryInterface(IComponentCommandContainerV2::interfaceName, &part, false);
  return part && static_cast<IComponentCommandContainerV2*>(part)->flag(name);
}
