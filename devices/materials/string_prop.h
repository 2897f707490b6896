#pragma once

// A material property value that is one wide text, kept as the file gave it.

#include "basic_types/zel_string.h"
#include "devices/materials/izel_material_property_value.h"
#include "framework/object/zel_unknown_impl.h"

namespace Materials {

class StringProp : public IZelStringMaterialPropertyValue, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "StringProp";

  explicit StringProp(const ZelString& value) : value_(value) {}

  ZelString value() override { return value_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  ZelString value_;
};

}  // namespace Materials
