#pragma once

// The stand-in host's point sets ("IZelPoints", which are point complexes "IComplex0D" too): the module looks
// them up by name and gets a fresh object each time (host classes, see HostRoot::HostClass). Each belongs to
// one thread at a time; a set is closed for change until opened. The point itself is a feature
// (features/host_point.h).

#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host_api/point_regions.h"
#include "host_api/points.h"

// The points of one array: a point object's points and the point complex a region of points is made of.
class HostPoints : public IZelPoints, public IComplex0D, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostPoints";

  // Holds a reference on the array (null lets go of it).
  void setArray(RealPArray* points) override { array_ = points; }
  // The array without a reference for the caller, or null.
  RealPArray* array() override { return array_.get(); }
  int32_t pointCount() override;
  bool pointAt(int32_t index, double xyz[3]) override;
  bool appendPoint(const double xyz[3], int32_t flags, bool notify) override;
  void update() override;
  void extendBox(double min[3], double max[3], bool exact) override;
  int32_t state() override { return opened_; }
  void open() override { ++opened_; }
  void close() override;
  bool merge(IZelPoints* const* sets, int32_t count, int32_t flags, bool copy,
             IZelUnknown* progress) override;

  // Host side: how often the set told its views of a change.
  int32_t updates() const { return updates_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IPtr<RealPArray> array_;
  int32_t opened_ = 0;
  int32_t updates_ = 0;
};
