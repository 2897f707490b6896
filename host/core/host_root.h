#pragma once

// The stand-in host's root: service lookup by interface name, object creation by class id (the module's own
// ids go back to the module's component), and thread-safe reference counting of every object on the field
// the object itself holds. Safe on any thread.
//
// A service is either one shared object or a factory that makes a fresh object for every lookup (the point
// values and point sets the module asks for by name). Either way the answer carries no reference: a fresh
// object starts at count 0, so the caller's first reference is its only one, and an object that does not
// answer to the name asked for is destroyed at once.

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "framework/object/iptr.h"
#include "host/api/zel_component.h"
#include "host/api/zel_root.h"
#include "host/core/host_unknown.h"

class HostRoot : public IZelRoot, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostRoot";

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
  // Answers lookups of name with the module's object of that class (its shared instance, for a singleton):
  // how a host offers the services a module implements.
  void serveFromModule(const std::string& name, const ZelID& classId);
  // Host side: the object behind a service name (its IZelUnknown part, no reference for the caller), or null.
  IZelUnknown* serviceObject(const std::string& name);
  // The component whose classes this root creates.
  void setComponent(IZelComponent* component);
  void setStatus(uint32_t status) { status_ = status; }

 private:
  IZelUnknown* findService(const std::string& name);
  std::optional<ZelID> findModuleService(const std::string& name);
  ServiceFactory findServiceFactory(const std::string& name);
  // Writes fresh's part for name into *out; destroys fresh when it has none.
  static bool answerFreshObject(IZelUnknown* fresh, const char* name, void** out);

  std::mutex mutex_;
  std::map<std::string, IPtr<IZelUnknown>> services_;  // guarded by mutex_
  std::map<std::string, ZelID> moduleServices_;        // guarded by mutex_
  std::map<std::string, ServiceFactory> factories_;    // guarded by mutex_
  IPtr<IZelComponent> component_;                      // guarded by mutex_
  std::atomic<uint32_t> status_{0};
};
