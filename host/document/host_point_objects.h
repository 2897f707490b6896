#pragma once

// The stand-in host's point sets ("IZelPoints", which are point complexes "IComplex0D" too): the module looks
// them up by name and gets a fresh object each time (host classes, see HostRoot::HostClass). Each belongs to
// one thread at a time. The point itself is a feature (features/host_point.h).

#include "framework/object/iptr.h"
#include "host/api/point_regions.h"
#include "host/api/points.h"
#include "host/core/host_unknown.h"

// The points of one array: a point object's points and the point complex a region of points is made of.
class HostPoints : public IZelPoints, public IComplex0D, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostPoints";

  // Holds a reference on the array (null lets go of it).
  void setArray(RealPArray* points) override { array_ = points; }
  // The array without a reference for the caller, or null.
  RealPArray* array() override { return array_.get(); }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IPtr<RealPArray> array_;
};
