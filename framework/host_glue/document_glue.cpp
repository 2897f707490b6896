#include "framework/host_glue/document_glue.h"

#include "host_api/host_class_ids.h"
#include "host_api/zel_phase.h"

namespace {
// The display mode in which the reference object is shown while commands probe against it.
constexpr int32_t kReferenceDisplayMode = 1;
}  // namespace

void makeCurrentObjects(const std::vector<IPtr<IZelDocObject>>& objects) {
  SPtr<IZelDoc> document;
  if (!document || objects.empty()) return;
  document->setCurrentObject(objects.front().get());
  for (size_t i = 1; i < objects.size(); ++i) document->addCurrentObject(objects[i].get());
}

void removeObjectFromDocument(IZelDocObject* object) {
  SPtr<IZelObjectRemover> remover;
  if (remover) remover->removeObject(object, 0, true);
}

IZelDocObject* createGroupInCurrentPhase(const ZelString& name, bool unique) {
  SPtr<IZelDoc> document;
  IZelDocObject* group = document ? document->createGroup(unique) : nullptr;
  if (!group) return nullptr;
  if (!name.isEmpty()) group->setObjectName(name);
  SPtr<IPhaseService> phases;
  if (phases) phases->putInPhase(group, phases->currentPhase());
  return group;
}

IZelFeatureSubObjectMgr* getFeatureSubObjectMgr(IZelDocObject* object) {
  if (!object) return nullptr;
  IZelUnknown* attached = object->attachedObject(kFeatureSubObjectsClassId);
  if (!attached) return nullptr;
  void* part = nullptr;
  attached->queryInterface(IZelFeatureSubObjectMgr::interfaceName, &part, false);
  return static_cast<IZelFeatureSubObjectMgr*>(part);
}

ShownReference showReferenceObject() {
  SPtr<IZelDoc> document;
  SPtr<IGfxDoc> graphicsDocument;
  if (!document || !graphicsDocument) return {};
  IZelDocObject* reference = document->findObject(ZelString(u"RefObject"));
  if (!reference) return {};
  IPtr<IGfxObject> graphics(graphicsDocument->graphicsOf(reference));
  if (!graphics) return {};
  int32_t previous = graphics->displayMode();
  if (previous == kReferenceDisplayMode) return {};
  graphics->setDisplayMode(kReferenceDisplayMode);
  return {graphics, previous};
}
