#pragma once

// A dialog control in words for "print dialog": its id, kind, name, value, enabled or disabled and text,
// then only what applies to it: "entry N TEXT" per list entry (with " (disabled)"), "shown TEXT" (a length in
// the user's unit) and "range [MIN, MAX]" of a number field with a format, "group ID" and "picture N" of a
// radio button, "font N", "own receiver" for a control built for a receiver of its own, "row R: CELL | CELL"
// per row of the table a table control shows, "current" for the focused control.

#include <cstdint>
#include <string>
#include <vector>

#include "host/gui/dialog_controls.h"

std::vector<std::string> dialogControlFields(int32_t id, const DialogControl& control, bool current,
                                             double shownFactor);
