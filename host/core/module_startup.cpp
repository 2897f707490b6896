#include "host/core/module_startup.h"

#include "framework/object/iptr.h"
#include "host_api/shutdown.h"
#include "host_api/zel_initializer.h"

namespace {

// What IZelComponent::createInstance answers for the one shared object of a singleton class.
constexpr int32_t kSharedObject = 2;

struct Created {
  IPtr<IZelUnknown> object;
  int32_t status = 0;
};

template <class T>
T* partOf(IZelUnknown* object) {
  void* part = nullptr;
  object->queryInterface(T::interfaceName, &part, false);
  return static_cast<T*>(part);
}

// Names ending so are the module's shared services, which read their settings when they are made.
bool isServiceName(std::string_view name) {
  return name.ends_with("Service");
}

// Creates each class of the round in walk order, initialising an initialiser as soon as it is made.
void createAndInitialise(HostRoot& root, const std::vector<ZelID>& classIds, std::vector<Created>& objects,
                         StartupReport& report) {
  ZelCString unknownName(IZelUnknown::interfaceName);
  for (const ZelID& id : classIds) {
    void* raw = nullptr;
    int32_t status = root.createInstance(&id, &unknownName, &raw);
    if (!raw) continue;
    Created& created =
        objects.emplace_back(Created{IPtr<IZelUnknown>(static_cast<IZelUnknown*>(raw)), status});
    if (auto* initializer = partOf<IZelInitializer>(created.object.get())) {
      initializer->initialise();
      report.initialised.emplace_back(created.object->className());
    }
  }
}

// A per-request object answering the listener would only be kept alive to be told of a shutdown it never
// takes part in; a shared one is the module's own service.
void enrolShutdownListeners(HostRoot& root, const std::vector<Created>& objects, StartupReport& report) {
  ZelCString serviceName(IShutdownService::interfaceName);
  void* raw = nullptr;
  root.getService(&serviceName, &raw);
  auto* service = static_cast<IShutdownService*>(raw);
  if (!service) return;
  for (const Created& created : objects) {
    auto* listener = partOf<IShutdownListener>(created.object.get());
    if (created.status != kSharedObject || !listener) continue;
    if (service->addListener(listener)) report.shutdownListeners.emplace_back(created.object->className());
  }
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

std::optional<ZelID> classIdNamed(IZelComponent* component, std::string_view name) {
  IZelCompInternal* registry = registryOf(component);
  if (!registry) return std::nullopt;
  for (const ZelID& id : registeredClassIds(component)) {
    const char* className = registry->className(&id);
    if (className && name == className) return id;
  }
  return std::nullopt;
}

StartupReport runModuleStartup(HostRoot& root, IZelComponent* component) {
  IZelCompInternal* registry = registryOf(component);
  std::vector<ZelID> others, services;
  for (const ZelID& id : registeredClassIds(component)) {
    const char* name = registry->className(&id);
    (name && isServiceName(name) ? services : others).push_back(id);
  }
  StartupReport report;
  std::vector<Created> objects;
  createAndInitialise(root, others, objects, report);
  createAndInitialise(root, services, objects, report);
  for (const Created& created : objects) {
    if (auto* task = partOf<IZelStartupTask>(created.object.get())) {
      task->run();
      report.tasksRun.emplace_back(created.object->className());
    }
  }
  enrolShutdownListeners(root, objects, report);
  return report;
}
