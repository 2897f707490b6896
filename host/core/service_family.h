#pragma once

// A family of the stand-in host's services, described as data: the shared objects it offers on the root and
// the names whose every lookup makes a fresh object. The family owns the objects; installFamilies and
// withdrawFamilies put every family's tables on a root and take them off again, so a new service is a member
// of its family and one line in that family's table.

#include <span>
#include <vector>

#include "host/core/host_root.h"

class ServiceFamily {
 public:
  struct SharedService {
    const char* name;
    IZelUnknown* object;
  };
  struct FreshObject {
    const char* name;
    HostRoot::ServiceFactory factory;
  };

  ServiceFamily() = default;
  ServiceFamily(const ServiceFamily&) = delete;
  ServiceFamily& operator=(const ServiceFamily&) = delete;
  virtual ~ServiceFamily() = default;

  // The services offered for the host's whole life, by interface name.
  virtual std::vector<SharedService> sharedServices() const = 0;
  // The names whose every lookup answers a new object (at count 0) from its factory.
  virtual std::vector<FreshObject> freshObjects() const { return {}; }
};

// Offers every family's services, then every family's fresh objects.
void installFamilies(HostRoot& root, std::span<const ServiceFamily* const> families);
// Withdraws every family's fresh objects first, then their services, so that no factory outlives the
// services it was offered beside.
void withdrawFamilies(HostRoot& root, std::span<const ServiceFamily* const> families);
