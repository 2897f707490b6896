#include "host/core/service_family.h"

#include "host/core/zel_id_text.h"

void installFamilies(HostRoot& root, std::span<const ServiceFamily* const> families) {
  for (const ServiceFamily* family : families) {
    for (const auto& [name, object] : family->sharedServices()) root.setService(name, object);
  }
  for (const ServiceFamily* family : families) {
    for (const auto& hostClass : family->hostClasses()) root.addHostClass(hostClass);
  }
  for (const ServiceFamily* family : families) {
    for (const auto& [path, classId] : family->registryEntries())
      root.registry().add(path, registryText(classId));
  }
}

void withdrawFamilies(HostRoot& root, std::span<const ServiceFamily* const> families) {
  for (const ServiceFamily* family : families) {
    for (const auto& entry : family->registryEntries()) root.registry().remove(entry.path);
  }
  for (const ServiceFamily* family : families) {
    for (const auto& hostClass : family->hostClasses()) root.removeHostClass(hostClass);
  }
  for (const ServiceFamily* family : families) {
    for (const auto& shared : family->sharedServices()) root.setService(shared.name, nullptr);
  }
}
