#pragma once

// A region of points made as the feature creators make one for a fitter: a point array of 6 doubles an entry
// (the point, then a unit normal), a point complex holding it, and a region from a region handler set up
// with 0, -1, 0 and asked for (0, true). The region answers "IZelPointSetInterface".

#include <vector>

#include "framework/object/host_lookup.h"
#include "host_api/point_regions.h"

inline IPtr<IZelRegionHandler> pointRegion(const std::vector<Vector3>& points) {
  IPtr<RealPArray> array;
  array.takeOwnership(SPtr<IRealPArrayFactory>()->createArray(6, static_cast<int32_t>(points.size())));
  for (const Vector3& p : points) {
    const double entry[6] = {p.x, p.y, p.z, 0, 0, 1};
    array->append(entry);
  }
  SPtr<IComplex0D> complex;
  complex->setArray(array.get());
  SPtr<IZelCreateRegionHandler> handler;
  handler->setDimension(0);
  handler->setParentRegion(-1);
  handler->setOptions(0);
  IPtr<IZelRegionHandler> region;
  region.takeOwnership(handler->createRegion(complex.get(), 0, true));
  return region;
}
