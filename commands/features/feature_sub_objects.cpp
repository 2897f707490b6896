#include "commands/features/feature_sub_objects.h"

#include "framework/host_glue/document_glue.h"
#include "framework/object/query_part.h"

FeatureSubObjects featureSubObjectsOf(IZelDocObject* object) {
  FeatureSubObjects found;
  auto* subObjects = queryPart<IZelSubObjectMgr>(getFeatureSubObjectMgr(object));
  const int32_t count = subObjects ? subObjects->subObjectCount() : 0;
  for (int32_t i = 0; i < count; ++i)
    if (auto* feature = queryPart<IZelFeatureSubObject>(subObjects->subObjectAt(i))) found.push_back(feature);
  return found;
}

FeatureSubObjects selectedOf(const FeatureSubObjects& subObjects, const BitVector& bits) {
  FeatureSubObjects selected;
  for (size_t i = 0; i < subObjects.size(); ++i)
    if (bits.test(static_cast<int32_t>(i))) selected.push_back(subObjects[i]);
  return selected;
}
