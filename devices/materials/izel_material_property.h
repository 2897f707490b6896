#pragma once

// One property of a material, such as "ThermalExpansionCoefficient": named values ("Type", "Value",
// "RefTemp"). Names are narrow text compared byte for byte, so case matters.

#include "basic_types/zel_cstring.h"
#include "devices/materials/izel_material_property_value.h"
#include "host_api/zel_unknown.h"

namespace Materials {

class IZelMaterialProperty : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "Materials::IZelMaterialProperty";

  // The value of that name, or null. No reference is added: the property keeps the value alive.
  virtual IZelMaterialPropertyValue* value(const ZelCString& name) = 0;
};

}  // namespace Materials
