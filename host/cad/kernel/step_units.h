#pragma once

// The length and plane angle units a STEP file declares for its shapes, worked out by the host itself: the
// kernel's own reading follows a conversion-based unit one step only, takes the last of two units, and reads
// a unit it cannot resolve as none at all, each of which loads a part at a wrong size or shape without a
// word.
//
// Each context of a shape representation gets the one length unit and the one plane angle unit it lists,
// followed through the units they are defined by down to the metre and the radian. Anything else is refused
// by the entity at fault: a reference to an entity the file lacks, an entry of the unit list that is no unit,
// a unit that is not of its kind, an unknown prefix, a conversion factor that is not a positive finite
// number, a unit defined through itself, two units of one kind and different sizes in one context, or a
// plane angle unit larger than a whole turn.

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "host/cad/kernel/step_text.h"

struct StepUnit {
  std::string name;  // as the file names it: "millimetre", "INCH", "DEGREE"
  double size = 1;   // the unit's size in metres, or radians
};

// The units one context declares; either may be missing.
struct StepContextUnits {
  std::optional<StepUnit> length;
  std::optional<StepUnit> planeAngle;
};

struct StepUnits {
  // Each context of a shape representation by its entity number; a context that declares neither unit is
  // left out.
  std::map<uint64_t, StepContextUnits> contexts;
  // The units of the contexts that hold the solids (or faces), each once, in the file's order, with commas
  // between them; "none" for such a context that declares none.
  std::string solidUnits;
  // A context that holds solids declares no length unit, so its lengths are taken as metres.
  bool metresAssumed = false;
};

// Throws CadFileError(what, reason) naming the entity at fault.
StepUnits readLengthUnits(const StepText& text, const std::string& what);
