#include "commands/measure/planar_points_command.h"

#include "framework/object/host_lookup.h"
#include "framework/object/query_chain.h"

bool PlanarPointsCommand::cancel() {
  SPtr<IZelObjectRemover> remover;
  if (remover) {
    for (const IPtr<IZelDocObject>& object : createdObjects_) remover->removeObject(object.get(), 0, true);
  }
  return true;
}

void PlanarPointsCommand::queryCommand(const char* name, void** out, const char* className, void* primary) {
  QueryChain(name, out)
      .classLeaf(className, primary, static_cast<IZelUnknown*>(this))
      .classLeaf(CompBaseCmdInt::interfaceName, static_cast<CompBaseCmdInt*>(this),
                 static_cast<IZelUnknown*>(this))
      .offer<IComponentCommand>(this)
      .end();
}
