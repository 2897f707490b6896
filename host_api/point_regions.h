#pragma once

// Points for the fitters. A caller fills a point array (host_api/points.h), gives it to a point complex, and
// asks a region handler for a region of the complex; the region answers "IZelPointSetInterface", the point
// set a fitter is given. Each lookup of "IComplex0D" or "IZelCreateRegionHandler" answers a new object, which
// belongs to one thread at a time.

#include <cstdint>

#include "basic_types/vector3.h"
#include "host_api/points.h"
#include "host_api/zel_unknown.h"

// A cloud of points without connections: the points of one point array.
class IComplex0D : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IComplex0D";

  // Holds a reference on the array (null lets go of it).
  virtual void setArray(RealPArray* points) = 0;
  // The array without a reference for the caller, or null.
  virtual RealPArray* array() = 0;
};

// A region of a complex. It is released, never asked anything itself: callers query its point set.
class IZelRegionHandler : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelRegionHandler";
};

// The points of a region, numbered from 1 as the array they come from, in the array's order. The points are
// the array's own, read where they lie when asked: the region copies nothing, so a caller that changes the
// array after making the region changes the region too.
class IZelPointSetInterface : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelPointSetInterface";

  virtual int32_t pointCount() = 0;
  // Copies point i (x, y, z of its entry) into out; false, leaving out, outside 1..pointCount().
  virtual bool pointAt(int32_t i, Vector3& out) = 0;
};

// Makes regions of complexes. Three set-up calls choose what a region takes: its cells' dimension (0: the
// points), the region it lies in (-1: none, it stands alone) and option bits (0: none); the stand-in host
// makes regions of that set-up only. A region is then made of one component of a complex (0: its first and,
// for a point complex, only one), whole (true) or not.
class IZelCreateRegionHandler : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelCreateRegionHandler";

  static constexpr int32_t kPointCells = 0;
  static constexpr int32_t kNoParentRegion = -1;
  static constexpr int32_t kNoOptions = 0;

  virtual void setDimension(int32_t dimension) = 0;
  virtual void setParentRegion(int32_t region) = 0;
  virtual void setOptions(int32_t options) = 0;
  // A region of every point of the complex's array, in order; the caller holds a reference on it. Null for
  // a null complex, a complex without an array or with an empty one, and for a set-up or arguments other
  // than those above (0, -1, 0; component 0, whole).
  virtual IZelRegionHandler* createRegion(IComplex0D* complex, int32_t component, bool whole) = 0;
};
