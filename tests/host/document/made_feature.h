#pragma once

// Features and point arrays made through the root, as the module makes them.

#include <functional>
#include <vector>

#include "framework/object/query_part.h"
#include "host_api/feature_kinds.h"
#include "host_api/points.h"
#include "support/made_by_name.h"

// The feature face of an object of a feature kind.
template <class T>
IPtr<IZelFeature> asFeature(const IPtr<T>& kind) {
  return IPtr<IZelFeature>(queryPart<IZelFeature>(kind.get()));
}

// A fresh feature of kind T, set by set.
template <class T>
IPtr<IZelFeature> feature(const std::function<void(T*)>& set = {}) {
  IPtr<T> kind = made<T>();
  if (set) set(kind.get());
  return asFeature(kind);
}

// The points as the feature creators hand them over: 6 doubles an entry, the normal up.
inline IPtr<RealPArray> pointArray(const std::vector<Vector3>& points) {
  IPtr<RealPArray> array;
  array.takeOwnership(SPtr<IRealPArrayFactory>()->createArray(6, static_cast<int32_t>(points.size())));
  for (const Vector3& p : points) {
    const double entry[6] = {p.x, p.y, p.z, 0, 0, 1};
    array->append(entry);
  }
  return array;
}
