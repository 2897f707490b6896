#include "host/gui/host_status_bar.h"

#include "framework/object/query_chain.h"

void HostStatusBar::setHelpText(IZelUnknown* owner, const ZelString& text) {
  clearHelpText(owner);
  texts_.emplace_back(owner, text.c_str());
}

void HostStatusBar::clearHelpText(IZelUnknown* owner) {
  std::erase_if(texts_, [owner](const auto& entry) { return entry.first == owner; });
}

void HostStatusBar::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IGuiStatusBar>(this).end();
}
