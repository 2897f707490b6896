#pragma once

// The host's length units: the user's current unit, each unit's factor from metres and its name. Values in
// the module are in metres; multiplied by a unit's factor they are in that unit.
//
// The unit codes, one table for the whole host:
//
//   code  unit         name  factor from metres
//   0     inch         "in"  1 / 0.0254
//   1     millimetre   "mm"  1000
//   2     foot         "ft"  1 / 0.3048
//   3     centimetre   "cm"  100
//   4     micrometre   "µm"  1e6
//   7     metre        "m"   1
//
// 7 is the metre because a module without this service shows its values as they are, in metres, and calls
// the unit 7; 0 and 2 are the imperial units, for which a host opens temperatures in °F. Codes 5, 6 and
// any other are no unit: their factor is NaN, their name empty, and they cannot be made current.
//
// The operations, in order: currentLengthUnit, modelScale, unitFactor, setCurrentLengthUnit, unitName.
// modelScale(0) is the factor from metres to the lengths the open document's model is kept in; the module
// sizes what it adds to the model by it (a target point is 0.04 times it across). The host keeps its
// document in metres, so it answers 1: a target point is 0.04 m across whatever unit the user reads it in
// (1.575 in to a user in inches). Any other argument names no model and answers NaN.
//
// Safe on any thread.

#include <cstdint>

#include "basic_types/zel_string.h"
#include "host_api/zel_unknown.h"

class IUnitService : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IUnitService";

  virtual int32_t currentLengthUnit() = 0;
  virtual double modelScale(int32_t model) = 0;
  virtual double unitFactor(int32_t unit) = 0;
  // False, changing nothing, for a code that is no unit.
  virtual bool setCurrentLengthUnit(int32_t unit) = 0;
  virtual ZelString unitName(int32_t unit) = 0;
};
