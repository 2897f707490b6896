#pragma once

// The stand-in host's points ("IZelPoint") and point sets ("IZelPoints", which are point complexes
// "IComplex0D" too): the module looks each up by name and gets a fresh object each time (see
// HostRoot::setServiceFactory). Each belongs to one thread at a time.

#include <array>

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

// A point value that is a point feature too: it answers "IZelFeature", so a document object's feature
// sub-object manager can show it.
class HostPoint : public IZelPoint, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostPoint";

  void setPosition(double x, double y, double z) override { position_ = {x, y, z}; }
  void position(double xyz[3]) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::array<double, 3> position_{};
};
