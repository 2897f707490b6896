#include "devices/materials/zel_material_property.h"

#include "framework/object/query_chain.h"

namespace Materials {

IZelMaterialPropertyValue* ZelMaterialProperty::value(const ZelCString& name) {
  return values_.find(name);
}

void ZelMaterialProperty::setValue(const ZelCString& name, IZelMaterialPropertyValue* value) {
  values_.set(name, value);
}

void ZelMaterialProperty::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelMaterialProperty>(this).end();
}

}  // namespace Materials
