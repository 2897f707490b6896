#include "host/gui/host_update_gui.h"

#include <map>
#include <string>

#include "framework/object/query_chain.h"

void HostUpdateGui::refresh(int32_t what) {
  lastRefreshed_ = what;
  ++refreshes_;
}

ZelString HostUpdateGui::shortcutText(const char* action) {
  static const std::map<std::string, const char*> kShortcuts = {
      {"Delete Points", "Del"}, {"Undo", "Ctrl+Z"},   {"Redo", "Ctrl+Y"},
      {"Select All", "Ctrl+A"}, {"Clear All", "Esc"}, {"Help", "F1"}};
  const auto found = action ? kShortcuts.find(action) : kShortcuts.end();
  return found == kShortcuts.end() ? ZelString() : ZelString(found->second);
}

void HostUpdateGui::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IUpdateGui>(this).end();
}
