#include "host/gui/host_busy_block.h"

#include "framework/object/query_chain.h"

void HostBusyBlock::begin(const ZelString&) {
  ++open_;
  ++shown_;
}

void HostBusyBlock::end() {
  if (open_ > 0) --open_;
}

void HostBusyBlock::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IGuiBusyBlock>(this).end();
}
