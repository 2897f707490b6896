#include "host/gui/host_event.h"

#include "framework/object/query_chain.h"

void HostEvent::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IHostEvent>(this).end();
}
