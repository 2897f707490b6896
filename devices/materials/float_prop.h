#pragma once

// A material property value that is one double, such as a thermal expansion coefficient in 1/K.

#include "devices/materials/izel_material_property_value.h"
#include "framework/object/zel_unknown_impl.h"

namespace Materials {

class FloatProp : public IZelFloatMaterialPropertyValue, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "FloatProp";

  explicit FloatProp(double value) : value_(value) {}

  double value() override { return value_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  double value_;
};

}  // namespace Materials
