#pragma once

// The stand-in host's feature values ("IZelEmbeddedFeatureParameter"). A copy holds the same feature: the
// features themselves are not values of this family.

#include "host/document/parameters/host_parameter.h"

class HostEmbeddedFeatureParameter final
    : public HostParameter<HostEmbeddedFeatureParameter, IZelEmbeddedFeatureParameter> {
 public:
  static constexpr const char* interfaceName = "HostEmbeddedFeatureParameter";

  void setFeature(IZelUnknown* feature) override { feature_ = feature; }
  IZelUnknown* feature() override { return feature_.get(); }

  bool copyValueInto(HostEmbeddedFeatureParameter& copy) const {
    copy.feature_ = feature_;
    return true;
  }

 private:
  IPtr<IZelUnknown> feature_;
};
