#include "host/gui/host_update_gui.h"

#include "framework/object/query_chain.h"

void HostUpdateGui::refresh(int32_t what) {
  lastRefreshed_ = what;
  ++refreshes_;
}

void HostUpdateGui::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IUpdateGui>(this).end();
}
