#include "features/point_list.h"

#include "basic_types/zel_array.h"

PointList pointsOf(IZelVectorsValue& value) {
  ZelCountedArray<Vector3> items;
  value.value(items);
  return items.count() > 0 ? PointList(&items[1], &items[1] + items.count()) : PointList();
}

void setPoints(IZelVectorsValue& value, const PointList& points) {
  ZelCountedArray<Vector3> items(ZelCountedArray<Vector3>::ItemCount{static_cast<int32_t>(points.size())});
  for (const Vector3& p : points) items.append(p);
  value.setValue(items);
}
