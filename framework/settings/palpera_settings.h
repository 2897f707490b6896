#pragma once

// The bounds the settings of the group "Palpera" are registered with.

#include <cfloat>

// The largest single-precision value, the open bound of lengths and statistics.
inline constexpr double kFloatMax = FLT_MAX;
// The default of a feature statistic that has not been computed yet: a value of its own, below kFloatMax.
inline constexpr double kNotComputed = 3.4e38;
// Flags of a user setting and of a run-time value.
inline constexpr uint32_t kUserSettingFlags = 3;
inline constexpr uint32_t kRunTimeValueFlags = 0;
