#pragma once

// The stand-in host's feature types and their finder (the service "IZelFeatureTypeFinder"). A feature's kind
// is the first kind interface it answers, asked by name, so the finder needs none of the features' code. The
// finder makes one type per kind and keeps it for its whole life. Safe on any thread: nothing changes after
// construction.

#include <span>
#include <string>
#include <vector>

#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host_api/feature_types.h"

// A kind of feature: the interface a feature of the kind answers, the class id of its type (the id the
// registry holds under "Features/Types/" and the interface name) and its display name.
struct FeatureKind {
  const char* interfaceName;
  ZelID classId;
  const char16_t* displayName;
};
// Every kind the host knows, the more special kind first.
std::span<const FeatureKind> featureKinds();

class HostFeatureType : public IZelFeatureType, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostFeatureType";

  HostFeatureType(const ZelID& classId, std::u16string displayName)
      : classId_(classId), displayName_(std::move(displayName)) {}

  ZelID classId() override { return classId_; }
  ZelString displayName() override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  const ZelID classId_;
  const std::u16string displayName_;
};

class HostFeatureTypeFinder : public IZelFeatureTypeFinder, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostFeatureTypeFinder";

  HostFeatureTypeFinder();

  IZelFeatureType* featureType(IZelFeature* feature) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  struct Kind {
    const char* interfaceName;
    IPtr<HostFeatureType> type;
  };
  // In the order features are asked, the more special kind first.
  std::vector<Kind> kinds_;
};
