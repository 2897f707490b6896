#pragma once

// The stand-in host's feature recreation modifier ("IZelFeatureRecreationModifier"). A host may rework a new
// feature here (tie it to the model it was made from, say); this one does the least that is sound: apply with
// mode 0 leaves the feature exactly as it came, so whatever the module built is what the document shows. The
// CAD recreation record of a feature is read from what the CAD fitters left on it.
// Every lookup answers a new modifier, which belongs to one thread at a time.

#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host_api/feature_types.h"

class HostRecreationModifier : public IZelFeatureRecreationModifier, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostRecreationModifier";

  bool setFeature(IZelFeature* feature) override;
  bool apply(int32_t mode) override;
  IZelCadRecreationRecord* cadRecord(IZelFeature* feature) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IPtr<IZelFeature> feature_;
};
