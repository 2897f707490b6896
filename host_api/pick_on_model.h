#pragma once

// Picking a document object with the ray under the mouse. Each lookup of "IZelPickOnModel" hands out a fresh
// picker, so users do not share its state; one picker belongs to one thread at a time.

#include <cstdint>

#include "host_api/zel_unknown.h"

class IZelDocObject;
class IZelMouseData;

class IZelPickOnModel : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelPickOnModel";

  // Takes the world ray of the mouse data. False (and no ray) when the data has none.
  virtual bool prepare(IZelMouseData* mouse) = 0;
  // Casts the prepared ray at the object's surface model: true when it hits in front of the ray's origin. The
  // hit is the nearest one along the ray. False without a prepared ray, for an object without a valid surface
  // model, or when the object's world transform cannot be inverted.
  virtual bool pick(IZelDocObject* object) = 0;
  // The last hit, in the object's own coordinates: its point, the unit normal of the element hit (by the
  // right-hand rule over its corners, so outward on a closed model wound that way) and that element's index.
  // Each is false (or -1) when the last pick missed.
  virtual bool hitPoint(double point[3]) = 0;
  virtual bool hitNormal(double normal[3]) = 0;
  virtual int32_t hitElement() = 0;
};
