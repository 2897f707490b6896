#include "host/module_startup.h"

#include "framework/object/iptr.h"
#include "host/api/zel_initializer.h"

namespace {

template <class T>
T* partOf(IZelUnknown* object) {
  void* part = nullptr;
  object->queryInterface(T::interfaceName, &part, false);
  return static_cast<T*>(part);
}

std::vector<IPtr<IZelUnknown>> createEach(HostRoot& root, const std::vector<ZelID>& classIds) {
  std::vector<IPtr<IZelUnknown>> objects;
  ZelCString unknownName(IZelUnknown::interfaceName);
  for (const ZelID& id : classIds) {
    void* raw = nullptr;
    root.createInstance(&id, &unknownName, &raw);
    if (raw) objects.emplace_back(static_cast<IZelUnknown*>(raw));
  }
  return objects;
}

}  // namespace

IZelCompInternal* registryOf(IZelComponent* component) {
  return component ? partOf<IZelCompInternal>(component) : nullptr;
}

std::vector<ZelID> registeredClassIds(IZelComponent* component) {
  std::vector<ZelID> ids;
  IZelCompInternal* registry = registryOf(component);
  if (!registry) return ids;
  ZelID id;
  for (bool more = registry->firstClassId(&id); more; more = registry->nextClassId(&id)) ids.push_back(id);
  return ids;
}

StartupReport runModuleStartup(HostRoot& root, IZelComponent* component) {
  std::vector<IPtr<IZelUnknown>> objects = createEach(root, registeredClassIds(component));
  StartupReport report;
  for (const IPtr<IZelUnknown>& object : objects) {
    if (auto* initializer = partOf<IZelInitializer>(object.get())) {
      initializer->initialise();
      report.initialised.emplace_back(object->className());
    }
  }
  for (const IPtr<IZelUnknown>& object : objects) {
    if (auto* task = partOf<IZelStartupTask>(object.get())) {
      task->run();
      report.tasksRun.emplace_back(object->className());
    }
  }
  return report;
}
