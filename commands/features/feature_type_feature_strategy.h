#pragma once

// The default feature strategy of picking: the candidates are the features of the listed kinds (all features
// when none is listed), and while picking lasts the other features may be hidden. Main thread only.

#include <string>
#include <vector>

#include "commands/features/zel_hard_probe_feature_picker.h"
#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"
#include "ui/visibility/zel_sub_object_visibility_mgr.h"

class FeatureTypeFeatureStrategy : public IZelHardProbeFeaturePickerFeatureStrategy,
                                   public IFeatureTypeFeatureStrategy,
                                   public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "FeatureTypeFeatureStrategy";

  // Makes its visibility manager; without one, showCandidates changes nothing.
  FeatureTypeFeatureStrategy();

  void selectCandidates(const FeatureSubObjects& subObjects, BitVector& bits) override;
  void showCandidates(const FeatureSubObjects& subObjects, const BitVector& bits, bool hide) override;
  void restoreVisibility() override;

  void clearTypes() override { typeNames_.clear(); }
  void addType(const char* featureInterfaceName) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  bool isCandidate(IZelFeatureSubObject* subObject) const;

  std::vector<std::string> typeNames_;
  IPtr<IZelSubObjectVisibilityMgr> visibility_;
};
