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
  return count();
}

void ZelMaterials::remove(IZelMaterial* material) {
  for (int32_t i = count(); i >= 1; --i) {
    if (items_[i].get() != material) continue;
    items_.removeAt(i);
    return;
  }
}

IZelMaterial* ZelMaterials::find(const ZelCString& name) {
  for (int32_t i = 1; i <= count(); ++i) {
    ZelCString key = items_[i]->name();
    if (key == name) return items_[i].get();
  }
  return nullptr;
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
