#pragma once

// The default pick strategy: each candidate is its feature's axis-aligned box, and of the boxes holding the
// probe the one whose centre lies nearest wins, so that of a small feature inside a large one the small one
// can still be picked. The host knows no class id for it: the picker makes its own. Main thread only.

#include <vector>

#include "commands/features/zel_hard_probe_feature_picker.h"
#include "framework/object/zel_unknown_impl.h"

class CenterDistancePickStrategy : public IZelHardProbeFeaturePickerPickStrategy, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "CenterDistancePickStrategy";

  void setCandidates(const FeatureSubObjects& candidates) override;
  void clear() override;
  void inflateBoxes(double radius) override;
  void pick(const Vector3& point) override;
  IZelSubObject* picked() override { return picked_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  // The candidates are the document's, which outlive a picking run; the records hold no reference.
  struct Record {
    IZelSubObject* subObject;
    Vector3 min;
    Vector3 max;
  };

  std::vector<Record> records_;
  IZelSubObject* picked_ = nullptr;
};
