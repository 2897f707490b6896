#pragma once

// The length units a STEP file declares for its shapes, worked out by the host itself: the kernel's own
// reading follows a conversion-based unit one step only, takes the last of two length units, and reads a unit
// it cannot resolve as none at all, each of which loads a part at a wrong size without a word.
//
// Each context of a shape representation gets the one length unit it lists, followed through the units it
// is defined by down to the metre. Anything else is refused by the entity at fault: a reference to an entity
// the file lacks, an entry of the unit list that is no unit, a unit that is no length, an unknown prefix, a
// conversion factor that is not a positive finite number, a unit defined through itself, or two length
// units of different sizes in one context.

#include <cstdint>
#include <map>
#include <string>

#include "host/cad/kernel/step_text.h"

struct StepLengthUnit {
  std::string name;   // as the file names it: "millimetre", "INCH"
  double metres = 1;  // the unit's length in metres
};

struct StepUnits {
  // Each context of a shape representation by its entity number; a context that declares no length unit
  // is left out.
  std::map<uint64_t, StepLengthUnit> contexts;
  // The units of the contexts that hold the solids (or faces), each once, in the file's order, with commas
  // between them; "none" for such a context that declares none.
  std::string solidUnits;
  // A context that holds solids declares no length unit, so its lengths are taken as metres.
  bool metresAssumed = false;
};

// Throws CadFileError(what, reason) naming the entity at fault.
StepUnits readLengthUnits(const StepText& text, const std::string& what);
