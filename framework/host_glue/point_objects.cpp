#include "framework/host_glue/point_objects.h"

#include "framework/object/host_lookup.h"

namespace {
// The shape of the empty point array a new point object starts with.
constexpr int32_t kPointArrayDimension = 1;
constexpr int32_t kPointArrayCapacity = 1024;
}  // namespace

IPtr<IZelDocObject> createPointObject(const ZelString& name) {
  SPtr<IZelObjectBuilder> builder;
  SPtr<IRealPArrayFactory> arrays;
  if (!builder || !arrays) return {};
  IPtr<RealPArray> array;
  array.takeOwnership(arrays->createArray(kPointArrayDimension, kPointArrayCapacity));
  IPtr<IZelPoints> points;
  points.getService();
  if (!array || !points) return {};
  points->setArray(array.get());
  builder->beginObject("Point", name, true);
  builder->addData(points.get());
  IPtr<IZelDocObject> object;
  object.takeOwnership(builder->endObject(true));
  return object;
}

IPtr<IZelPoint> createPoint() {
  IPtr<IZelPoint> point;
  point.getService();
  return point;
}
