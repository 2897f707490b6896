#pragma once

#include <cstdint>

// The user's length unit, for labelling and converting values in metres.
namespace UnitService {

// The unit the host reports when it has no unit service.
inline constexpr int32_t kDefaultLengthUnit = 7;

int32_t currentLengthUnit();
// Values in metres times this factor give values in the unit; 1.0 without the host's unit service.
double unitFactor(int32_t unit);

}  // namespace UnitService
