#pragma once

// The probed points a feature sub-object shows beside its feature, in document coordinates. Callers refill
// it whole: begin, then append each point.

#include <cstdint>

#include "basic_types/vector3.h"
#include "host_api/zel_unknown.h"

class IZelProbeArraySource : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelProbeArraySource";

  // Empties the source and makes room for count points; begin(0) clears it.
  virtual void begin(int32_t count) = 0;
  // Adds the point last; false, adding nothing, for a coordinate that is not finite.
  virtual bool append(const Vector3& point) = 0;
  virtual int32_t count() = 0;
  // Copies point i into out; false, leaving out, outside 1..count().
  virtual bool pointAt(int32_t i, Vector3& out) = 0;
};
