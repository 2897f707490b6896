#include "host/document/host_phase_service.h"

#include "framework/object/query_chain.h"

int32_t HostPhaseService::kindByName(const char* typeName) {
  return typeName ? HostDocument::kindOf(typeName) : 0;
}

bool HostPhaseService::putInPhase(IZelDocObject* object, int32_t phase) {
  for (const IPtr<HostDocObject>& held : document_->objects()) {
    if (static_cast<IZelDocObject*>(held.get()) != object) continue;
    held->setPhase(phase);
    return true;
  }
  return false;
}

void HostPhaseService::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IPhaseService>(this).end();
}
