#pragma once

// Operations over the two string classes: the natural order that sorts "Plane 2" before "Plane 10", a
// splitter that respects brackets and backslash escapes, and a lower-case copy. Pure functions of their
// arguments.

#include <vector>

#include "basic_types/zel_cstring.h"

// −1, 0 or 1. Runs of digits compare by value: leading zeros are skipped, a longer run is greater, and equal
// runs compare digit by digit. When the texts are otherwise equal, the one whose first digit run had more
// leading zeros comes first ("x007" before "x7"). A null text comes before any other; two nulls are equal.
int naturalCompare(const char16_t* a, const char16_t* b);

// The tokens of text between any of the separator bytes, where the separator stands outside every bracket
// pair "()", "[]", "{}" and "<>" and is not escaped by a backslash (the backslash stays in the token). Empty
// tokens never appear: runs of separators split once.
std::vector<ZelCString> splitOutsideBrackets(const ZelCString& text, const ZelCString& separators);

// An owned copy with every byte lower-cased in the "C" locale; a null string gives a null string.
ZelCString toLowerCopy(const ZelCString& s);
