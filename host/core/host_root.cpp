#include "host/core/host_root.h"

#include "framework/object/query_chain.h"
#include "host_api/registry_paths.h"

HostRoot::HostRoot() : registry_(new HostRegistry) {}

void HostRoot::addRef(int32_t* count) {
  std::atomic_ref<int32_t>(*count).fetch_add(1, std::memory_order_relaxed);
}

bool HostRoot::release(int32_t* count) {
  return std::atomic_ref<int32_t>(*count).fetch_sub(1, std::memory_order_acq_rel) == 1;
}

void HostRoot::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelRoot>(this).end();
}

void HostRoot::setService(const std::string& name, IZelUnknown* service) {
  IPtr<IZelUnknown> previous;  // released outside the lock
  std::lock_guard lock(mutex_);
  IPtr<IZelUnknown>& slot = services_[name];
  previous = slot;
  slot = service;
  if (!service) services_.erase(name);
}

void HostRoot::setServiceFactory(const std::string& name, ServiceFactory factory) {
  ServiceFactory previous;  // destroyed outside the lock, with whatever it captured
  std::lock_guard lock(mutex_);
  previous = std::move(factories_[name]);
  factories_[name] = std::move(factory);
  if (!factories_[name]) factories_.erase(name);
}

void HostRoot::addHostClass(const HostClass& hostClass) {
  for (const std::string& name : hostClass.interfaceNames) setServiceFactory(name, hostClass.factory);
  std::lock_guard lock(mutex_);
  hostClasses_[hostClass.id] = hostClass.factory;
}

void HostRoot::removeHostClass(const HostClass& hostClass) {
  for (const std::string& name : hostClass.interfaceNames) setServiceFactory(name, nullptr);
  ServiceFactory previous;  // destroyed outside the lock
  std::lock_guard lock(mutex_);
  auto it = hostClasses_.find(hostClass.id);
  if (it == hostClasses_.end()) return;
  previous = std::move(it->second);
  hostClasses_.erase(it);
}

void HostRoot::setComponent(IZelComponent* component) {
  IPtr<IZelComponent> previous;
  std::lock_guard lock(mutex_);
  previous = component_;
  component_ = component;
}

IZelUnknown* HostRoot::findService(const std::string& name) {
  std::lock_guard lock(mutex_);
  auto it = services_.find(name);
  return it == services_.end() ? nullptr : it->second.get();
}

HostRoot::ServiceFactory HostRoot::findServiceFactory(const std::string& name) {
  std::lock_guard lock(mutex_);
  auto it = factories_.find(name);
  return it == factories_.end() ? ServiceFactory() : it->second;
}

HostRoot::ServiceFactory HostRoot::findHostClass(const ZelID& classId) {
  std::lock_guard lock(mutex_);
  auto it = hostClasses_.find(classId);
  return it == hostClasses_.end() ? ServiceFactory() : it->second;
}

bool HostRoot::answerFreshObject(IZelUnknown* fresh, const char* name, void** out) {
  *out = nullptr;
  if (!fresh) return false;
  fresh->queryInterface(name, out, false);
  if (*out) return true;
  // The caller cannot hold an object it cannot use: let a new one die rather than leak.
  fresh->addRef();
  fresh->release();
  return false;
}

int32_t HostRoot::getService(const ZelCString* interfaceName, void** out) {
  *out = nullptr;
  if (IZelUnknown* service = findService(interfaceName->c_str())) {
    service->queryInterface(interfaceName->c_str(), out, false);
    return *out ? 1 : 0;
  }
  if (ServiceFactory factory = findServiceFactory(interfaceName->c_str()))
    return answerFreshObject(factory(), interfaceName->c_str(), out) ? 1 : 0;
  ZelID classId = moduleServiceClass(interfaceName->c_str());
  if (!GUIDUtils::isValid(classId)) return 0;
  return createInstance(&classId, interfaceName, out);
}

ZelID HostRoot::moduleServiceClass(const std::string& name) {
  return registry_->classId(kServicesPath + name);
}

int32_t HostRoot::createInstance(const ZelID* classId, const ZelCString* interfaceName, void** out) {
  *out = nullptr;
  // A host class has status 1, as a module class that makes a new object per request has.
  if (ServiceFactory factory = findHostClass(*classId))
    return answerFreshObject(factory(), interfaceName->c_str(), out) ? 1 : 0;
  IPtr<IZelComponent> component;
  {
    std::lock_guard lock(mutex_);
    component = component_;
  }
  if (!component) return 0;
  IZelUnknown* object = nullptr;
  uint32_t status = component->createInstance(classId, &object);
  if (!object) return 0;
  return answerFreshObject(object, interfaceName->c_str(), out) ? static_cast<int32_t>(status) : 0;
}

IZelUnknown* HostRoot::serviceObject(const std::string& name) {
  if (IZelUnknown* service = findService(name)) return service;
  ZelID classId = moduleServiceClass(name);
  if (!GUIDUtils::isValid(classId)) return nullptr;
  ZelCString unknown(IZelUnknown::interfaceName);
  void* part = nullptr;
  createInstance(&classId, &unknown, &part);
  return static_cast<IZelUnknown*>(part);
}
