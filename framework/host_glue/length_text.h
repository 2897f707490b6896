#pragma once

// Lengths as the user reads them in tables: in the user's length unit, rounded to the user's decimal places
// ("General/Decimal Places", taken as 0 to 17 whatever the setting holds), followed by the unit's name.

#include <cstdint>

#include "basic_types/zel_string.h"

// The user's decimal places, within 0 to 17.
int32_t userDecimalPlaces();
// tr("%1 %2") of the length in metres, converted and rounded, and the unit's name.
ZelString userLengthText(double metres);
