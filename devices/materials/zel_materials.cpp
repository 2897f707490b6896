#include "devices/materials/zel_materials.h"

#include "devices/materials/zel_material_xml_reader.h"
#include "framework/object/query_chain.h"
#include "framework/registrations/class_registration.h"

namespace Materials {

namespace {

const ClassRegistration<ZelMaterials> registration(registeredClass("ZelMaterials"));

}  // namespace

ZelMaterials::ZelMaterials() {
  ZelMaterialXmlReader().read(ZelMaterialXmlReader::filePath(), *this);
}

int32_t ZelMaterials::add(IZelMaterial* material) {
  // A null entry would make every later find and value fail on it.
  if (!material) return count();
  items_.append(IPtr<IZelMaterial>(material));
  ZelCString name = material->name();
  if (!byName_.find(name)) {
    name.makeOwned();
    byName_.set(name, material);
  }
  return count();
}

void ZelMaterials::remove(IZelMaterial* material) {
  for (int32_t i = count(); i >= 1; --i) {
    if (items_[i].get() != material) continue;
    ZelCString name = material->name();
    name.makeOwned();
    items_.removeAt(i);  // may release the material
    indexFirstNamed(name);
    return;
  }
}

void ZelMaterials::indexFirstNamed(const ZelCString& name) {
  byName_.erase(name);
  for (int32_t i = 1; i <= count(); ++i) {
    if (items_[i]->name() == name) {
      byName_.set(name, items_[i].get());
      return;
    }
  }
}

IZelMaterial* ZelMaterials::find(const ZelCString& name) {
  IZelMaterial** found = byName_.find(name);
  return found ? *found : nullptr;
}

IZelMaterialPropertyValue* ZelMaterials::value(const ZelCString& material, const ZelCString& property,
                                               const ZelCString& value) {
  IZelMaterial* found = find(material);
  if (!found) return nullptr;
  IZelMaterialProperty* held = found->property(property);
  return held ? held->value(value) : nullptr;
}

void ZelMaterials::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelMaterials>(this).end();
}

}  // namespace Materials
