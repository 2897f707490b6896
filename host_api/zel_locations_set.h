#pragma once

// A document object holding a set of named locations: points in the coordinates of the document's models,
// numbered from 1. Main thread only.

#include <cstdint>

#include "basic_types/vector3.h"
#include "basic_types/zel_string.h"
#include "host_api/zel_unknown.h"

class IZelLocationsSet : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelLocationsSet";

  virtual int32_t locationCount() = 0;
  // The name and point of location index (1 to locationCount()); false, with the outputs untouched, for any
  // other index.
  virtual bool location(int32_t index, ZelString& name, Vector3& point) = 0;
};
