#include "devices/materials/thermal_expansion.h"

#include <cmath>

#include "basic_types/transform_checks.h"
#include "devices/materials/izel_materials.h"

std::optional<double> thermalExpansionOf(const ZelCString& material) {
  if (material.isEmpty()) return std::nullopt;
  SPtr<Materials::IZelMaterials> library;
  if (!library || !library->find(material)) return std::nullopt;
  Materials::IZelMaterialPropertyValue* value =
      library->value(material, ZelCString("ThermalExpansionCoefficient"), ZelCString("Value"));
  void* number = nullptr;
  if (value) value->queryInterface(Materials::IZelFloatMaterialPropertyValue::interfaceName, &number, false);
  return number ? static_cast<Materials::IZelFloatMaterialPropertyValue*>(number)->value() : 0.0;
}

bool isSoundScale(double scale) {
  return std::isfinite(scale) && scale >= 1.0 / kLargestScale && scale <= kLargestScale;
}
