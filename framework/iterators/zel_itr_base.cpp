#include "framework/iterators/zel_itr_base.h"

#include "framework/object/query_chain.h"

void ZelItrBase::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, static_cast<ZelItrBase*>(this), static_cast<IZelUnknown*>(this))
      .offer<IZelItr>(this)
      .end();
}
