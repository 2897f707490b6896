#include "host/standin_host.h"

StandinHost::StandinHost()
    : scene_(document_.doc()),
      gui_(core_.dataStore(), document_.doc(), core_.units()),
      devices_(core_.errors()) {
  core_.enableAssertHandler(true);
  installFamilies(root(), families());
  core_.enableDirService(true);
}

StandinHost::~StandinHost() {
  root().setComponent(nullptr);
  for (CoreFamily::Optional service : CoreFamily::kOptionals) core_.enable(service, false);
  withdrawFamilies(root(), families());
  core_.enableDirService(false);
  core_.enableAssertHandler(false);
}

void StandinHost::attach(IZelComponent* component) {
  root().setComponent(component);
  component->initialise(&root());
}
