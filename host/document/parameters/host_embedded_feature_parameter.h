#pragma once

// The stand-in host's feature values ("IZelEmbeddedFeatureParameter"). A copy holds a copy of the feature, so
// a copied table never shares a child feature with its original; an object that is no feature cannot be
// copied, and neither can the value holding it.

#include "framework/object/query_part.h"
#include "host/document/parameters/host_parameter.h"
#include "host_api/zel_feature.h"

class HostEmbeddedFeatureParameter final
    : public HostParameter<HostEmbeddedFeatureParameter, IZelEmbeddedFeatureParameter> {
 public:
  static constexpr const char* interfaceName = "HostEmbeddedFeatureParameter";

  void setFeature(IZelUnknown* feature) override { feature_ = feature; }
  IZelUnknown* feature() override { return feature_.get(); }

  bool copyValueInto(HostEmbeddedFeatureParameter& copy) const {
    if (!feature_) return true;
    IZelFeature* feature = queryPart<IZelFeature>(feature_.get());
    if (feature) copy.feature_.takeOwnership(feature->copy());
    return copy.feature_.get() != nullptr;
  }

 private:
  IPtr<IZelUnknown> feature_;
};
