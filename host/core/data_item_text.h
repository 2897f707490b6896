#pragma once

// The one-line text form of a data-store registration, as the command-line host's --settings prints it:
// key, kind, default, minimum, maximum and flags, separated by tabs, without a line end.
//
//   kind     group, event, int, double, string, blob or object
//   numbers  integers in decimal, doubles as the shortest text that reads back to the same double
//   string   the default in UTF-8 with backslash, tab, CR and LF written \\, \t, \r, \n; the maximum is the
//            maximum length in UTF-16 code units; no minimum
//   blob     the default in lower-case hexadecimal, empty when there is none; the maximum is the size in
//            bytes; no minimum
//   object   flags only
//   group    key and kind only; so is an event
//
// A field a kind lacks is empty, so every line has exactly six fields.

#include <optional>
#include <string>

#include "host/core/data_item.h"

std::string registrationLine(const DataItemRegistration& item);

// A value in the form of the default field above (integers in decimal, doubles as doubleText, escaped UTF-8
// text, hexadecimal bytes); empty for no value.
std::string valueText(const DataValue& value);

// The shortest text that reads back (strtod) to the same double: 0.006, not 0.0060000000000000001; "inf",
// "-inf" and "nan" for the values that are not finite.
std::string doubleText(double value);

// Why the item refuses a value the user's settings file holds for it, as the end of a sentence ("1e+308 lies
// outside 0 to 3.4028234663852886e+38", "nan is not a finite number"); nothing when the item takes it (a text
// too long is cut, as a write cuts it). A stored value beyond the range is not clamped as a write is: it is
// a slip or a damaged file, and the range's end would serve as a setting nobody chose.
std::optional<std::string> whyItemRefuses(const DataItemRegistration::Shape& shape, const DataValue& value);
