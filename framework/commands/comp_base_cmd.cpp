#include "framework/commands/comp_base_cmd.h"

int32_t CompBaseCmd::setContext(IZelUnknown* context) {
  context_ = context;
  return context ? 1 : 0;
}

void CompBaseCmd::queryCommandChain(QueryChain& chain) {
  chain
      .classLeaf(CompBaseCmd::interfaceName, static_cast<CompBaseCmd*>(this), static_cast<IZelUnknown*>(this))
      .offer<IComponentCommand>(this)
      .end();
}

void CompBaseCmd::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  queryCommandChain(chain);
}

int32_t CompBaseCmdInt::setContext(IZelUnknown* context) {
  container_ = nullptr;
  context_ = nullptr;
  if (!context) return 0;
  void* part = nullptr;
  context->queryInterface(IComponentCommandContainerInt::interfaceName, &part, false);
  container_ = static_cast<IComponentCommandContainerInt*>(part);
  context_ = container_;
  return container_ ? 1 : 0;
}

void CompBaseCmdInt::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(CompBaseCmdInt::interfaceName, static_cast<CompBaseCmdInt*>(this),
                 static_cast<IZelUnknown*>(this))
      .offer<IComponentCommand>(this)
      .end();
}
