#pragma once

// The materials library: the materials the module knows, in the order they were added, numbered from 1. The
// module serves one library, found by this interface name; it is read from the materials file when it is
// first asked for and lives as long as the module. Main thread only: it has no lock.

#include <cstdint>

#include "basic_types/zel_array.h"
#include "basic_types/zel_cstring.h"
#include "devices/materials/izel_material.h"
#include "devices/materials/izel_material_property_value.h"
#include "framework/object/iptr.h"
#include "host_api/zel_unknown.h"

namespace Materials {

class IZelMaterials : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "Materials::IZelMaterials";

  // The materials at positions 1 to count(); each entry holds one reference. Valid until the next add or
  // remove.
  virtual const ZelCountedArray<IPtr<IZelMaterial>>& items() = 0;
  virtual int32_t count() = 0;
  // Appends the material with a reference of the library's own and answers its position, the new count. A
  // null material is not added: the count comes back unchanged.
  virtual int32_t add(IZelMaterial* material) = 0;
  // Takes this very object out of the list (its last occurrence, should it be there twice), moves the later
  // materials down one position and gives up the library's reference, which may destroy the material. An
  // object that is not in the list changes nothing.
  virtual void remove(IZelMaterial* material) = 0;
  // The first material, from position 1 on, whose key is exactly name, or null. No reference is added.
  virtual IZelMaterial* find(const ZelCString& name) = 0;
  // The named value of the named property of the named material, or null when any of the three is missing.
  // No reference is added.
  virtual IZelMaterialPropertyValue* value(const ZelCString& material, const ZelCString& property,
                                           const ZelCString& value) = 0;
};

}  // namespace Materials
