#include "devices/materials/string_prop.h"

#include "framework/object/query_chain.h"

namespace Materials {

void StringProp::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<IZelStringMaterialPropertyValue>(this)
      .offer<IZelMaterialPropertyValue>(this)
      .end();
}

}  // namespace Materials
