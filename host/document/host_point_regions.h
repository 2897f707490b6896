#pragma once

// The stand-in host's points for the fitters: the region handler ("IZelCreateRegionHandler") and the regions
// it makes of point complexes (HostPoints, host_point_objects.h), which answer "IZelPointSetInterface". Every
// lookup of the handler answers a new one; each belongs to one thread at a time, as the arrays do.

#include <cstdint>

#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host_api/point_regions.h"

// Every point of one array, read in place: the region holds the array it was made from, not the complex, so
// a later array given to the complex leaves the region as it was.
class HostPointRegion : public IZelRegionHandler, public IZelPointSetInterface, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostPointRegion";

  // points is not null.
  explicit HostPointRegion(RealPArray* points) : points_(points) {}

  int32_t pointCount() override { return points_->count(); }
  bool pointAt(int32_t i, Vector3& out) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  const IPtr<RealPArray> points_;
};

class HostCreateRegionHandler : public IZelCreateRegionHandler, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostCreateRegionHandler";

  void setDimension(int32_t dimension) override { dimension_ = dimension; }
  void setParentRegion(int32_t region) override { parentRegion_ = region; }
  void setOptions(int32_t options) override { options_ = options; }
  IZelRegionHandler* createRegion(IComplex0D* complex, int32_t component, bool whole) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  bool makesRegionsOf(int32_t component, bool whole) const;

  // Unset, a set-up makes no region: a caller must choose what it asks for.
  static constexpr int32_t kUnset = -2;
  int32_t dimension_ = kUnset;
  int32_t parentRegion_ = kUnset;
  int32_t options_ = kUnset;
};
