#include "info_action.h"

#include <cstdio>

#include "host/core/module_startup.h"
#include "host/core/zel_id_text.h"

int printInfo(HostSession& session) {
  IZelComponent* component = session.module.component();
  IZelCompInternal* registry = registryOf(component);
  if (!registry) {
    std::fprintf(stderr, "palpera-host: the module answers no IZelCompInternal\n");
    return 1;
  }
  std::printf("module: %s\n", registry->moduleName());
  std::printf("build stamp: %s\n", registry->buildStamp());
  std::printf("interface version: %u\n", session.module.interfaceVersion());
  std::printf("classes: %u\n", registry->classCount());
  for (const ZelID& id : registeredClassIds(component)) {
    const char* name = registry->className(&id);
    std::printf("%s %s\n", canonicalText(id).c_str(), name ? name : "");
  }
  return 0;
}
