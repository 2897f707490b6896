#pragma once

// The host's CAD services: a fresh sparse tolerancer and distance evaluator for each caller, the fitters that
// recreate a model's nominal features (by class id), and the registry
// entry through which the root answers "IZelClosestPointOnCad" with the module's closest-point object.
// The CAD models themselves are document objects (cad_model.h).

#include "host/core/service_family.h"

class CadFamily : public ServiceFamily {
 public:
  std::vector<SharedService> sharedServices() const override { return {}; }
  std::vector<HostClass> hostClasses() const override;
  std::vector<RegistryEntry> registryEntries() const override;
};
