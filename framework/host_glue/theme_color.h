#pragma once

// A colour of the user's current theme by name, looked up afresh each time (the theme may change between
// two drawings). Main thread only.

#include "basic_types/color.h"

// The fallback when no theme is chosen or it gives no colour of that name.
ColorRGBA themeColor(const char* name, const ColorRGBA& fallback);
