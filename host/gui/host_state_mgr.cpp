#include "host/gui/host_state_mgr.h"

#include <algorithm>

#include "framework/object/query_chain.h"

void HostStateMgr::pushState(const char* name) {
  states_.emplace_back(name ? name : "");
}

bool HostStateMgr::popState(const char* name) {
  auto latest = std::find(states_.rbegin(), states_.rend(), std::string(name ? name : ""));
  if (latest == states_.rend()) return false;
  states_.erase(std::next(latest).base());
  return true;
}

void HostStateMgr::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IStateMgr>(this).end();
}
