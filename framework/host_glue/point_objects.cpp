#include "framework/host_glue/point_objects.h"

#include "framework/object/host_lookup.h"
#include "framework/object/query_part.h"
#include "framework/translation/tr.h"

namespace {
// The empty point array a new point object starts with: the host makes entries of 3-D points for a width
// of 1, with room for 1024 of them.
constexpr int32_t kPointArrayEntryWidth = 1;
constexpr int32_t kPointArrayCapacity = 1024;
}  // namespace

IPtr<IZelPoints> createPointSet() {
  SPtr<IRealPArrayFactory> arrays;
  if (!arrays) return {};
  IPtr<RealPArray> array;
  array.takeOwnership(arrays->createArray(kPointArrayEntryWidth, kPointArrayCapacity));
  IPtr<IZelPoints> points;
  points.getService();
  if (!array || !points) return {};
  points->setArray(array.get());
  return points;
}

IZelPoints* pointsOf(IZelDocObject* object) {
  return object ? queryPart<IZelPoints>(object->subObject("PointModel")) : nullptr;
}

IPtr<IZelDocObject> createPointObject(const ZelString& name) {
  SPtr<IZelObjectBuilder> builder;
  if (!builder) return {};
  IPtr<IZelPoints> points = createPointSet();
  if (!points) return {};
  builder->beginObject("Point", name, true);
  builder->addData(points.get());
  IPtr<IZelDocObject> object;
  object.takeOwnership(builder->endObject(true));
  return object;
}

IPtr<IZelDocObject> createFeatureObject(IZelDoc& document) {
  IPtr<IZelDocObject> object = createPointObject(tr("Feature Object"));
  if (object) document.registerObject(object.get(), ZelString(u"TestObject"));
  return object;
}

IPtr<IZelPoint> createPoint() {
  IPtr<IZelPoint> point;
  point.getService();
  return point;
}
