#include "host/core/host_script_factory.h"

#include "framework/object/query_chain.h"
#include "host/core/host_script_command.h"

IScriptCommand* HostScriptFactory::create(const char* name, int32_t) {
  if (!name || !*name) return nullptr;
  auto* command = new HostScriptCommand(name);
  command->addRef();
  return command;
}

void HostScriptFactory::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IScriptFactory>(this).end();
}
