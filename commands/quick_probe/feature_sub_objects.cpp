#include "commands/quick_probe/feature_sub_objects.h"

#include "framework/object/host_lookup.h"
#include "framework/translation/tr.h"
#include "host_api/feature_types.h"

bool isHidden(IZelSubObject& subObject) {
  return subObject.displayFlag(IZelSubObject::kHiddenDisplayFlag);
}

void setVisible(IZelSubObject* subObject, bool visible) {
  if (subObject) subObject->setDisplayFlag(IZelSubObject::kHiddenDisplayFlag, !visible);
}

bool holdsName(IZelDocObject* object, const ZelString& name) {
  auto* subObjects = queryPart<IZelSubObjectMgr>(getFeatureSubObjectMgr(object));
  for (int32_t i = 0; subObjects && i < subObjects->subObjectCount(); ++i) {
    if (subObjects->subObjectAt(i)->name() == name) return true;
  }
  return false;
}

ZelString untakenName(IZelFeatureSubObjectMgr& manager, IZelFeature& feature, const NameTaken& taken) {
  SPtr<IZelFeatureTypeFinder> finder;
  auto* type = queryPart<IZelEntity>(finder ? finder->featureType(&feature) : nullptr);
  if (!type) return {};
  ZelString name;
  do {
    manager.updateRunningNumber(type->classId());
    name = tr("%1 %2", type->displayName(), ZelString::number(manager.runningNumber(type->classId())));
  } while (taken(name));
  return name;
}

IPtr<IZelSubObject> addFeatureSubObject(IZelDocObject* object, IZelFeature* feature, const ZelString& name,
                                        bool visible, const NameTaken& taken) {
  IZelFeatureSubObjectMgr* manager = getFeatureSubObjectMgr(object);
  auto* subObjects = queryPart<IZelSubObjectMgr>(manager);
  if (!manager || !subObjects || !feature) return {};
  IPtr<IZelFeatureSubObject> made;
  made.takeOwnership(manager->createSubObject(feature));
  IPtr<IZelSubObject> subObject(queryPart<IZelSubObject>(made.get()));
  if (!subObject) return {};
  ZelString given = name;
  if (given.isEmpty()) given = untakenName(*manager, *feature, taken);
  if (given.isEmpty()) return {};
  subObject->setName(given);
  setVisible(subObject.get(), visible);
  subObjects->addSubObject(subObject.get());
  return subObject;
}
