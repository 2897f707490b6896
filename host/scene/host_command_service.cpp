#include "host/scene/host_command_service.h"

#include <cstring>

#include "framework/object/query_chain.h"

namespace {

constexpr const char* kResetView = "GenResetViewCmd";

}  // namespace

bool HostCommandService::runCommand(const char* name) {
  if (!name || std::strcmp(name, kResetView) != 0) return false;
  graphics_.resetViews();
  ++runs_[name];
  return true;
}

int HostCommandService::runs(const std::string& name) const {
  auto found = runs_.find(name);
  return found == runs_.end() ? 0 : found->second;
}

void HostCommandService::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IHostCommandService>(this).end();
}
