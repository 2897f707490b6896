#pragma once

// Starts a module the way a host does once the module's component knows the root. Every class of the
// component's registry is created through the root, one at a time, and one answering "IZelInitializer" is
// initialised as soon as it is made; those answering "IZelStartupTask" run only when every initialiser has
// run. A shared service (a class named "...Service", as the module names its services) reads the settings
// it depends on when it is made, so the services are made after the other classes have been made and
// initialised: by then the settings are registered and hold the stored values. Within each round the order
// is the registry walk's. An object answering both is initialised in the first phase and run in the second;
// every object lives until the second phase ends. Last, the module's shared objects (singletons) that answer
// "IShutdownListener" join the host's shutdown service, which keeps them until it has told them. Call it
// once, on the host's main thread, after StandinHost::attach.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "basic_types/zel_id.h"
#include "host/core/host_root.h"
#include "host_api/zel_component.h"

// The component's registry interface, or null when it has none.
IZelCompInternal* registryOf(IZelComponent* component);
// Every class id of the component's registry, in walk order (empty without a registry).
std::vector<ZelID> registeredClassIds(IZelComponent* component);
// The id of the component's class of that name, or nothing.
std::optional<ZelID> classIdNamed(IZelComponent* component, std::string_view name);

// What start-up did: the class names, in the order each phase called them.
struct StartupReport {
  std::vector<std::string> initialised;
  std::vector<std::string> tasksRun;
  std::vector<std::string> shutdownListeners;
};

StartupReport runModuleStartup(HostRoot& root, IZelComponent* component);
