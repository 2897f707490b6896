#include "devices/materials/float_prop.h"

#include "framework/object/query_chain.h"

namespace Materials {

void FloatProp::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<IZelFloatMaterialPropertyValue>(this)
      .offer<IZelMaterialPropertyValue>(this)
      .end();
}

}  // namespace Materials
