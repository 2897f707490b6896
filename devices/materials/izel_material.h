#pragma once

// One material of the library: its key (the narrow name stored in documents and scripts), its display name
// and its properties by name. Names are compared byte for byte, so case matters.

#include "basic_types/zel_cstring.h"
#include "basic_types/zel_string.h"
#include "devices/materials/izel_material_property.h"
#include "host_api/zel_unknown.h"

namespace Materials {

class IZelMaterial : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "Materials::IZelMaterial";

  // A copy of the key.
  virtual ZelCString name() = 0;
  // A copy of the display name; empty when the file gave none.
  virtual ZelString i18nName() = 0;
  // The property of that name, or null. No reference is added: the material keeps the property alive.
  virtual IZelMaterialProperty* property(const ZelCString& name) = 0;
  // Stores the property under a copy of the name, with a reference of the material's own, and gives up the
  // property stored there before. A null property leaves the name without one.
  virtual void setProperty(const ZelCString& name, IZelMaterialProperty* property) = 0;
};

}  // namespace Materials
