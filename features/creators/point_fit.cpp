#include "features/creators/point_fit.h"

#include "features/fitter_setup.h"
#include "framework/object/host_lookup.h"
#include "framework/object/query_part.h"

namespace {

// A point array entry is a point and a direction; the creators have only the point.
constexpr int32_t kPointEntryWidth = 6;

}  // namespace

IPtr<IZelRegionHandler> makePointRegion(const PointList& points) {
  SPtr<IRealPArrayFactory> arrays;
  if (!arrays) return {};
  IPtr<RealPArray> array;
  array.takeOwnership(arrays->createArray(kPointEntryWidth, static_cast<int32_t>(points.size())));
  if (!array) return {};
  for (const Vector3& p : points) {
    const double entry[kPointEntryWidth] = {p.x, p.y, p.z, 0.0, 0.0, 0.0};
    array->append(entry);
  }
  SPtr<IComplex0D> complex;
  SPtr<IZelCreateRegionHandler> handler;
  if (!complex || !handler) return {};
  complex->setArray(array.get());
  handler->setDimension(IZelCreateRegionHandler::kPointCells);
  handler->setParentRegion(IZelCreateRegionHandler::kNoParentRegion);
  handler->setOptions(IZelCreateRegionHandler::kNoOptions);
  IPtr<IZelRegionHandler> region;
  region.takeOwnership(handler->createRegion(complex.get(), 0, true));
  return region;
}

IPtr<IZelFeature> fitPoints(const PointList& points, const FitSetUp& setUp, ZelString* failure) {
  IPtr<IZelRegionHandler> region = makePointRegion(points);
  auto* pointSet = queryPart<IZelPointSetInterface>(region.get());
  if (!pointSet) return {};
  IPtr<IZelFeatureFitter> fitter = setRobustFitIterations(setUp.featureType);
  if (!fitter) return {};
  if (setUp.startFrom) setUp.startFrom(*fitter);
  setFitSelection(*fitter, pointSet);
  if (setUp.setsWorkPlane) setFitWorkPlane(*fitter, setUp.workPlane);
  if (setUp.prepare && !setUp.prepare(*fitter)) return {};
  IPtr<IZelFeature> fitted;
  fitted.takeOwnership(fitter->fit());
  if (!fitted && failure) *failure = fitter->failure();
  return fitted;
}
