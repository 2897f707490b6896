#pragma once

#include <cstdint>

#include "host/api/zel_unknown.h"

// The host's units: the user's current length unit and each unit's factor from metres.
class IUnitService : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IUnitService";

  virtual int32_t currentLengthUnit() = 0;
  // Values in metres times the factor give values in the unit.
  virtual double unitFactor(int32_t unit) = 0;
};
