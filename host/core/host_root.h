#pragma once

// The stand-in host's root: service lookup by interface name, object creation by class id, the host registry,
// and thread-safe reference counting of every object on the field the object itself holds. Safe on any
// thread.
//
// createInstance makes an object of one of the host's own classes when the id is in the root's class table,
// and asks the module's component otherwise. getService answers, in this order: the shared service of that
// name; a fresh object of the host class served under the name (the value objects the module asks for
// by name); the module's object of the class the registry names under "Services/" and the name.
// Either way the answer carries no reference: a fresh object starts at count 0, so the caller's first
// reference is its only one, and an object that does not answer to the name asked for is destroyed at once.

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "framework/object/iptr.h"
#include "host/core/host_registry.h"
#include "host/core/host_unknown.h"
#include "host_api/zel_component.h"
#include "host_api/zel_root.h"

class HostRoot : public IZelRoot, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostRoot";

  HostRoot();

  void addRef(int32_t* count) override;
  bool release(int32_t* count) override;
  int32_t createInstance(const ZelID* classId, const ZelCString* interfaceName, void** out) override;
  int32_t getService(const ZelCString* interfaceName, void** out) override;
  uint32_t status() override { return status_.load(); }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
  using IZelRoot::addRef;
  using IZelRoot::release;

  // Offers service under name (it must answer queryInterface for that name); null withdraws it. A module that
  // still holds the old service keeps it alive by its own reference.
  void setService(const std::string& name, IZelUnknown* service);
  // Makes every lookup of name answer a new object from factory (which answers a new object at count 0, or
  // null); an empty factory withdraws it. A shared service of the same name is found first.
  using ServiceFactory = std::function<IZelUnknown*()>;
  void setServiceFactory(const std::string& name, ServiceFactory factory);
  // A class of the host's own: its factory answers a new object (at count 0) for every creation by id and
  // every lookup of one of the interface names (which the object answers).
  struct HostClass {
    ZelID id;
    std::vector<std::string> interfaceNames;
    ServiceFactory factory;
  };
  // Puts the class in the class table and serves it under its names (setServiceFactory); remove takes both
  // off again.
  void addHostClass(const HostClass& hostClass);
  void removeHostClass(const HostClass& hostClass);
  // The registry the families fill; its "Services/" entries name the module's classes the root serves.
  HostRegistry& registry() { return *registry_; }
  // Host side: the object behind a service name, shared or the module's (its IZelUnknown part, no reference
  // for the caller), or null.
  IZelUnknown* serviceObject(const std::string& name);
  // The component whose classes this root creates.
  void setComponent(IZelComponent* component);
  void setStatus(uint32_t status) { status_ = status; }

 private:
  struct IdHash {
    size_t operator()(const ZelID& id) const { return hashZelID(id); }
  };
  IZelUnknown* findService(const std::string& name);
  // The class the registry names for the module's service of that name; the null id when there is none.
  ZelID moduleServiceClass(const std::string& name);
  ServiceFactory findServiceFactory(const std::string& name);
  ServiceFactory findHostClass(const ZelID& classId);
  // Writes fresh's part for name into *out; destroys fresh when it has none.
  static bool answerFreshObject(IZelUnknown* fresh, const char* name, void** out);

  std::mutex mutex_;
  std::map<std::string, IPtr<IZelUnknown>> services_;              // guarded by mutex_
  std::map<std::string, ServiceFactory> factories_;                // guarded by mutex_
  std::unordered_map<ZelID, ServiceFactory, IdHash> hostClasses_;  // guarded by mutex_
  IPtr<IZelComponent> component_;                                  // guarded by mutex_
  const IPtr<HostRegistry> registry_;
  std::atomic<uint32_t> status_{0};
};
