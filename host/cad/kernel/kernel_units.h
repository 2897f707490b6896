#pragma once

// Hands the kernel's STEP reader the length and plane angle units the host worked out (step_units.h), so
// that the kernel's own reading of units, which goes wrong on some valid files, never decides a part's size
// or angles.

#include <StepData_StepModel.hxx>

#include "host/cad/kernel/step_units.h"

// Replaces the length and plane angle units of each context the units name (by its entity number) with one
// unit of the same size, defined directly in metres or radians, which the kernel's reader takes as it is;
// the context's other units stay. False when the kernel holds such a context as something other than a
// context with units: it would then take no unit for it.
bool putUnits(const Handle(StepData_StepModel) & model, const StepUnits& units);
