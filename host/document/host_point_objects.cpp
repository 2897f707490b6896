#include "host/document/host_point_objects.h"

#include "framework/object/query_chain.h"

void HostPoints::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<IZelPoints>(this)
      .offer<IComplex0D>(this)
      .end();
}
