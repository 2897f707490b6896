#pragma once

// Hands the kernel's STEP reader the length units the host worked out (step_units.h), so that the kernel's
// own reading of units, which goes wrong on some valid files, never decides a part's size.

#include <cstdint>
#include <map>

#include <StepData_StepModel.hxx>

#include "host/cad/kernel/step_units.h"

// Replaces the length units of each context the map names (by its entity number) with one unit of the same
// length, defined directly in metres, which the kernel's reader takes as it is; the context's other units
// stay. False when the kernel holds such a context as something other than a context with units: it would
// then take no unit for it.
bool putLengthUnits(const Handle(StepData_StepModel) & model,
                    const std::map<uint64_t, StepLengthUnit>& contexts);
