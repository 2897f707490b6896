#pragma once

// The thermal expansion coefficient (1/K) of a material of the module's materials library: the number under
// its property "ThermalExpansionCoefficient", value "Value". Main thread only, as the library.

#include <optional>

#include "basic_types/zel_cstring.h"

// Nothing for an empty name or a material the library does not hold; 0 for one without the coefficient as a
// number.
std::optional<double> thermalExpansionOf(const ZelCString& material);

// The reference temperature of the coefficients, degrees Celsius: a part at it needs no compensation.
inline constexpr double kExpansionReferenceTemperature = 20.0;

// The uniform scale that takes a part at celsius back to its size at the reference temperature:
// 1 / (1 - (20 - T) x alpha). Infinite or negative where that makes no sense (far below absolute zero).
inline double compensationScale(double celsius, double alpha) {
  return 1.0 / (1.0 - (kExpansionReferenceTemperature - celsius) * alpha);
}
// Whether a scale can serve in a device transform: within the bound of its checks (kLargestScale) either
// way, so that 1e308 degrees does not shrink every point to about nothing.
bool isSoundScale(double scale);
