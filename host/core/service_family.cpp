#include "host/core/service_family.h"

void installFamilies(HostRoot& root, std::span<const ServiceFamily* const> families) {
  for (const ServiceFamily* family : families) {
    for (const auto& [name, object] : family->sharedServices()) root.setService(name, object);
  }
  for (const ServiceFamily* family : families) {
    for (auto& [name, factory] : family->freshObjects()) root.setServiceFactory(name, std::move(factory));
  }
}

void withdrawFamilies(HostRoot& root, std::span<const ServiceFamily* const> families) {
  for (const ServiceFamily* family : families) {
    for (const auto& fresh : family->freshObjects()) root.setServiceFactory(fresh.name, nullptr);
  }
  for (const ServiceFamily* family : families) {
    for (const auto& shared : family->sharedServices()) root.setService(shared.name, nullptr);
  }
}
