#pragma once

#include <cstdint>

#include "basic_types/zel_string.h"

// The user's length unit, for labelling and converting values in metres (the codes are the host's,
// host_api/unit_service.h).
namespace UnitService {

// The unit the host reports when it has no unit service.
inline constexpr int32_t kDefaultLengthUnit = 7;

int32_t currentLengthUnit();
// Values in metres times this factor give values in the unit; 1.0 without the host's unit service.
double unitFactor(int32_t unit);
// The factor from metres to the lengths the open document's model is kept in (0 names it); 1.0 without the
// host's unit service.
double modelScale(int32_t model);
// False without the host's unit service or for a code the host does not know.
bool setCurrentLengthUnit(int32_t unit);
// The unit's name ("mm"); empty without the host's unit service.
ZelString unitName(int32_t unit);

}  // namespace UnitService
