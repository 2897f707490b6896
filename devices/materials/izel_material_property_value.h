#pragma once

// The values a material property holds. A value has no operations of its own: a user learns its type by
// querying it for one of the typed interface names and reads it through that interface. Values are made by
// the materials reader and never change afterwards.

#include "basic_types/zel_string.h"
#include "host_api/zel_unknown.h"

namespace Materials {

class IZelMaterialPropertyValue : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "Materials::IZelMaterialPropertyValue";
};

class IZelFloatMaterialPropertyValue : public IZelMaterialPropertyValue {
 public:
  static constexpr const char* interfaceName = "Materials::IZelFloatMaterialPropertyValue";

  virtual double value() = 0;
};

class IZelStringMaterialPropertyValue : public IZelMaterialPropertyValue {
 public:
  static constexpr const char* interfaceName = "Materials::IZelStringMaterialPropertyValue";

  // A copy of the text.
  virtual ZelString value() = 0;
};

}  // namespace Materials
