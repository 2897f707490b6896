#pragma once

// A material property: its values by name, each held with one reference. The reader fills it; afterwards
// users only read it. Releasing the property releases its values.

#include "basic_types/zel_cstring.h"
#include "devices/materials/izel_material_property.h"
#include "devices/materials/named_references.h"
#include "framework/object/zel_unknown_impl.h"

namespace Materials {

class ZelMaterialProperty : public IZelMaterialProperty, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "ZelMaterialProperty";

  IZelMaterialPropertyValue* value(const ZelCString& name) override;
  // Stores the value under a copy of the name with a reference of its own, replacing an earlier value of
  // that name.
  void setValue(const ZelCString& name, IZelMaterialPropertyValue* value);

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  NamedReferences<IZelMaterialPropertyValue> values_;
};

}  // namespace Materials
