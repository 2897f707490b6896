#pragma once

// A material: its key, its display name and its properties by name, each property held with one reference.
// Releasing the material releases its properties.

#include "basic_types/zel_cstring.h"
#include "basic_types/zel_string.h"
#include "devices/materials/izel_material.h"
#include "devices/materials/named_references.h"
#include "framework/object/zel_unknown_impl.h"

namespace Materials {

class ZelMaterial : public IZelMaterial, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "ZelMaterial";

  // Keeps copies of both names.
  ZelMaterial(const ZelCString& name, const ZelString& i18nName);

  ZelCString name() override { return name_; }
  ZelString i18nName() override { return i18nName_; }
  IZelMaterialProperty* property(const ZelCString& name) override;
  void setProperty(const ZelCString& name, IZelMaterialProperty* property) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  ZelCString name_;  // owned, so the key outlives the text it was made from
  ZelString i18nName_;
  NamedReferences<IZelMaterialProperty> properties_;
};

}  // namespace Materials
