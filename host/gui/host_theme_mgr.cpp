#include "host/gui/host_theme_mgr.h"

#include "framework/object/query_chain.h"

ZelString HostThemeMgr::mouseActionName(int32_t action) {
  switch (action) {
    case 0:
      return ZelString("Left Drag");
    case 1:
      return ZelString("Right Drag");
    default:
      return ZelString();
  }
}

void HostThemeMgr::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IGuiThemeMgr>(this).end();
}
