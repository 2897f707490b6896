#include "host/standin_host.h"

StandinHost::StandinHost()
    : scene_(document_.doc()),
      gui_(core_.dataStore(), document_.doc(), core_.units()),
      devices_(core_.errors()) {
  core_.enableAssertHandler(true);
  // The errors shown while the host records its log are part of what the log records.
  core_.errors().setWitness(
      [&logger = devices_.logger()](const ZelString& message) { logger.recordShownError(message); });
  installFamilies(root(), families());
  core_.enableDirService(true);
}

StandinHost::~StandinHost() {
  root().setComponent(nullptr);
  for (CoreFamily::Optional service : CoreFamily::kOptionals) core_.enable(service, false);
  withdrawFamilies(root(), families());
  core_.enableDirService(false);
  core_.enableAssertHandler(false);
  core_.errors().setWitness(nullptr);
}

void StandinHost::attach(IZelComponent* component) {
  root().setComponent(component);
  component->initialise(&root());
}
