#pragma once

// What the operator is told of touches that a command ends with, not made into a feature: how many, into
// which feature, and why. Translated.

#include <cstdint>

#include "basic_types/zel_string.h"

// "1 touch was not made into FEATURE: REASON." or "N touches were not made into FEATURE: REASON."
ZelString unmadeTouchesText(int32_t count, const ZelString& feature, const ZelString& reason);
