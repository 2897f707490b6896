#pragma once

// A family of the stand-in host's services, described as data: the shared objects it offers on the root, the
// host classes it makes fresh objects of (by class id and by interface name), and the registry paths it
// serves. The family owns the objects; installFamilies and withdrawFamilies put every family's tables on a
// root and take them off again, so a new service is a member of its family and one line in one of its tables.

#include <span>
#include <string>
#include <utility>
#include <vector>

#include "host/core/host_root.h"

class ServiceFamily {
 public:
  struct SharedService {
    const char* name;
    IZelUnknown* object;
  };
  using HostClass = HostRoot::HostClass;
  // A registry path (host_api/registry_paths.h) and the class id stored under it.
  struct RegistryEntry {
    std::string path;
    ZelID classId;
  };

  ServiceFamily() = default;
  ServiceFamily(const ServiceFamily&) = delete;
  ServiceFamily& operator=(const ServiceFamily&) = delete;
  virtual ~ServiceFamily() = default;

  // The services offered for the host's whole life, by interface name.
  virtual std::vector<SharedService> sharedServices() const = 0;
  // The host's classes whose every creation, by id or by one of their names, answers a new object.
  virtual std::vector<HostClass> hostClasses() const { return {}; }
  // The registry entries of the paths the family serves.
  virtual std::vector<RegistryEntry> registryEntries() const { return {}; }
};

// A host class of T under id, served under names; each object is made with new.
template <class T>
ServiceFamily::HostClass hostClassOf(const ZelID& id, std::vector<std::string> names) {
  return {id, std::move(names), [] { return static_cast<IZelUnknown*>(new T); }};
}

// Offers every family's services, then every family's host classes, then fills the registry.
void installFamilies(HostRoot& root, std::span<const ServiceFamily* const> families);
// Withdraws in the reverse order (registry entries, host classes, services), so that nothing found through
// the registry or a factory outlives the services it was offered beside.
void withdrawFamilies(HostRoot& root, std::span<const ServiceFamily* const> families);
