#pragma once

// How well the references of a move fix the move fitted to them, across the part it carries. Three
// references a little off one line, or close together on a large part, are enough for the fit to run, yet
// the probing error alone then turns the move about them, and the part's far corners move by that turn
// times their distance. The bound follows from the references' geometry and the part's extent alone, so it
// is known before the device or the part is moved, while more references can still be probed.

#include <vector>

#include "basic_types/vector3.h"
#include "commands/alignment/common/fit_spread.h"
#include "commands/alignment/move_device/move_device_point_container.h"

// Metres: how far a move fitted to the references, each probed once before and once after the move with the
// error probingError, may put a corner of the part, or a reference, off its true place, at two standard
// deviations (fit_spread.h); the references alone where the part's corners are not known. Infinite without
// a reference, or for references on one line, whose turn about it nothing fixes.
double moveUncertainty(const MoveDevicePointContainer& references, const std::vector<Vector3>& partCorners,
                       double probingError);
