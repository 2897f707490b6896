#pragma once

// The host's fitters: a fresh fitter of each kind by its class id, which the registry holds under the
// fitter's path ("Features/Fitters/BestFitFitter/IZelPlane", ...), and the datum-based aligner with its
// pairs, fresh by class id and by interface name. It shares no service.

#include "host/core/service_family.h"

class FittingFamily : public ServiceFamily {
 public:
  std::vector<SharedService> sharedServices() const override { return {}; }
  std::vector<HostClass> hostClasses() const override;
  std::vector<RegistryEntry> registryEntries() const override;
};
