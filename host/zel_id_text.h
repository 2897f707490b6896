#pragma once

#include <string>

#include "basic_types/zel_id.h"

// The canonical text of an id: 8-4-4-4-12 lower-case hexadecimal digits.
std::string canonicalText(const ZelID& id);
