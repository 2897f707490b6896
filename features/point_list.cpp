#include "features/point_list.h"

#include <algorithm>

#include "basic_types/zel_array.h"

PointList pointsOf(IZelVectorsValue& value) {
  PointList points(static_cast<size_t>(std::max(value.count(), 0)));
  for (size_t i = 0; i < points.size(); ++i) value.vectorAt(static_cast<int32_t>(i) + 1, points[i]);
  return points;
}

void setPoints(IZelVectorsValue& value, const PointList& points) {
  ZelCountedArray<Vector3> items(ZelCountedArray<Vector3>::ItemCount{static_cast<int32_t>(points.size())});
  for (const Vector3& p : points) items.append(p);
  value.setValue(items);
}
