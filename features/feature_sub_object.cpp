#include "features/feature_sub_object.h"

#include "features/feature_matching.h"
#include "framework/host_glue/document_glue.h"
#include "framework/object/query_part.h"
#include "framework/translation/tr.h"
#include "host_api/feature_types.h"

namespace {

// The class id of the feature's type; the null id when the host does not know it.
ZelID featureTypeId(IZelFeature* feature) {
  SPtr<IZelFeatureTypeFinder> finder;
  auto* entity = finder ? queryPart<IZelEntity>(finder->featureType(feature)) : nullptr;
  return entity ? entity->classId() : ZelID();
}

// The reference feature's name when matching is on and one matches; else the type's next running number.
ZelString subObjectName(IZelFeatureSubObjectMgr& manager, const ZelID& typeId, IZelFeature* feature,
                        IZelFeatureCollector& collector) {
  ZelString name;
  if (isFeatureMatchingEnabled() && matchReferenceFeature(feature, name) && !name.isEmpty()) return name;
  manager.updateRunningNumber(typeId);
  return tr("%1 %2", collector.typeName(), ZelString::number(manager.runningNumber(typeId)));
}

}  // namespace

IPtr<IZelSubObject> addFeatureSubObject(IZelDocObject* target, IZelFeature* feature,
                                        IZelFeatureCollector* collector) {
  if (!feature || !collector) return {};
  const ZelID typeId = featureTypeId(feature);
  if (!GUIDUtils::isValid(typeId)) return {};
  IZelFeatureSubObjectMgr* manager = getFeatureSubObjectMgr(target);
  auto* subObjects = queryPart<IZelSubObjectMgr>(manager);
  if (!manager || !subObjects) return {};
  IPtr<IZelFeatureSubObject> made;
  made.takeOwnership(manager->createSubObject(feature));
  IPtr<IZelSubObject> subObject(queryPart<IZelSubObject>(made.get()));
  if (!subObject) return {};
  SPtr<IZelFeatureRecreationModifier> modifier;
  if (modifier) {
    modifier->setFeature(feature);
    modifier->apply(0);
  }
  subObject->setName(subObjectName(*manager, typeId, feature, *collector));
  fillProbeArraySource(subObject.get(), collector);
  subObjects->addSubObject(subObject.get());
  return subObject;
}
