#include "host/standin_host.h"

#include <utility>

#include "host/core/zel_id_text.h"

StandinHost::StandinHost() : gui_(core_.dataStore()) {
  core_.enableAssertHandler(true);
  installFamilies(root(), families());
  core_.enableDirService(true);
  serveModuleServices();
}

StandinHost::~StandinHost() {
  root().setComponent(nullptr);
  for (CoreFamily::Optional service : CoreFamily::kOptionals) core_.enable(service, false);
  withdrawFamilies(root(), families());
  core_.enableDirService(false);
  core_.enableAssertHandler(false);
}

void StandinHost::serveModuleServices() {
  // The host's registry of the services the module implements, by the module's class ids.
  static constexpr std::pair<const char*, const char*> kModuleServices[] = {
      {"IZelPluginDeviceHardwareAlignmentService", "7c3966ab-c757-4788-bdbd-f639474b7928"},
      {"IZelPluginDeviceObjectAlignmentService", "56df55fe-bc59-479c-b4da-9bd6eeb693a9"},
      {"IZelPluginDeviceScaleAlignmentService", "bc1d2d2d-4ad1-4ac3-9c7e-ec0b54a80d6f"},
      {"Materials::IZelMaterials", "3bed067f-5cf6-4147-8b2f-32bda4b349bf"},
      {"IZelPluginService", "16942fa6-c94a-44fb-b05e-fae3edabb716"},
      {"IZelPluginManagerLogRecordUtil", "a6040466-b17a-4ed6-a5d9-9100a1fe1316"},
      {"IZelPluginManagerLogReplayUtil", "4ef0a1bf-13da-48e9-8ec5-8618e08e7877"},
  };
  for (const auto& [name, classId] : kModuleServices)
    root().serveFromModule(name, idFromCanonicalText(classId));
}

void StandinHost::attach(IZelComponent* component) {
  root().setComponent(component);
  component->initialise(&root());
}
