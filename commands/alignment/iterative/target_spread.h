#pragma once

// How well the iterative alignment's targets fix the part, across the part: targets a little off one line,
// or close together on a large part, let the probing error alone turn the alignment, and the part's far
// corners move by that turn times their distance (fit_spread.h). Main thread only.

#include <vector>

#include "basic_types/vector3.h"
#include "commands/alignment/iterative/target_data.h"

// Metres: how far the alignment fitted to the counted targets (those with a nominal and a measured point)
// may put a corner of the part, or a target, off its place at the probing error: each target held as a pair
// while the fit is one of pairs, along its surface's normal once it is refined onto the surface.
double targetSpread(const std::vector<TargetData>& targets, const std::vector<Vector3>& partCorners,
                    double probingError);
