#include "devices/materials/zel_material.h"

#include "framework/object/query_chain.h"

namespace Materials {

ZelMaterial::ZelMaterial(const ZelCString& name, const ZelString& i18nName)
    : name_(name), i18nName_(i18nName) {
  name_.makeOwned();
}

IZelMaterialProperty* ZelMaterial::property(const ZelCString& name) {
  return properties_.find(name);
}

void ZelMaterial::setProperty(const ZelCString& name, IZelMaterialProperty* property) {
  properties_.set(name, property);
}

void ZelMaterial::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelMaterial>(this).end();
}

}  // namespace Materials
