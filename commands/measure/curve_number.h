#pragma once

// The number of a curve named as the curve-fitting panel names them ("Curves 7"), for proposing the next
// free one.

#include <cstdint>
#include <optional>
#include <string_view>

// The digits that follow "Curves" once every white space is taken out ("Curves 1 2" is 12, "Curves 3b" is 3);
// none without such digits, and none for a number whose successor does not fit in 32 bits, so that the next
// number always does.
std::optional<int32_t> curveNumber(std::u16string_view name);
