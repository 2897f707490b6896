#pragma once

#include <string>

#include "basic_types/zel_id.h"

// The canonical text of an id: 8-4-4-4-12 lower-case hexadecimal digits.
std::string canonicalText(const ZelID& id);

// The registry's text form of an id: its eleven fields in hexadecimal, separated by commas, as
// ZelID::fromString reads them.
std::string registryText(const ZelID& id);

// The id of a canonical text (36 characters, hexadecimal digits in either case); the null id for any other
// text.
ZelID idFromCanonicalText(const std::string& text);
