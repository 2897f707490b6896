#pragma once

// A number of the device-event log as its reader takes it, whatever string support the host offers: the
// whole text is one decimal number in the classic form ("0.003000", "-1.5e-07"), with blanks around it and a
// leading '+' allowed. Any other text is none: "0.003abc" or "0,003" would otherwise read as its leading
// part. Infinities and NaN are numbers here; the callers say what they take.

#include <optional>

#include "basic_types/zel_string.h"

std::optional<double> logNumber(const ZelString& text);
