#pragma once

// The stand-in host's datum-based aligner ("IZelDatumBasedAlignModifier") on the fitting library: the pairs'
// features become datums (alignment_datums.h) and the scheme their kinds choose solves them.

#include <vector>

#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host_api/datum_align_modifier.h"
#include "host_api/zel_doc.h"

class HostDatumAlignModifier : public IZelDatumBasedAlignModifier, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostDatumAlignModifier";

  void setFixedObject(IZelDocObject* object) override { fixed_ = object; }
  void setFloatingObject(IZelDocObject* object) override { floating_ = object; }
  void setPairs(IZelAlignmentPair* const* pairs, int32_t count) override;
  bool run(int32_t reserved1, int32_t applyToFloating, int32_t reserved2) override;
  Matrix4x4 resultTransform() override { return result_; }
  void report(double& meanDeviation, double& maxDeviation, double& rmsDeviation, ZelString* text,
              int32_t& pairCount) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IPtr<IZelDocObject> fixed_;
  IPtr<IZelDocObject> floating_;
  std::vector<IPtr<IZelAlignmentPair>> pairs_;
  Matrix4x4 result_;
  std::vector<double> deviations_;  // of the last successful run, one per pair
};
