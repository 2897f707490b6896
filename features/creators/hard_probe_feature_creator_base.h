#pragma once

// What every feature creator shares: its class id, its parameter table (made on first use and kept for the
// creator's life; createFeature never changes it, so a collector overwrites its entries for the next
// feature), the reading of the keys, the fit of the sampled points through the host, and the finishing steps
// that store the probing record on the feature and hand it to the host's recreation modifier.
//
// A concrete creator derives from RegisteredCreator (registered_creator.h) and writes buildFeature: read,
// fit (point_fit.h), compensate, finish. Main thread only.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "basic_types/zel_id.h"
#include "features/creators/creator_parameter_keys.h"
#include "features/creators/point_fit.h"
#include "features/creators/zel_hard_probe_feature_creator.h"
#include "features/point_list.h"
#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "framework/object/zel_unknown_impl.h"
#include "host_api/feature_kinds.h"

class HardProbeFeatureCreatorBase : public IZelHardProbeFeatureCreator, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "HardProbeFeatureCreatorBase";

  bool setParameter(const ZelString& name, IZelParameter* value) override;
  IZelFeature* createFeature() override;
  ZelString refusal() override { return refusal_; }
  // The entry of that name in the creator's own table, without a reference; null when there is none.
  IZelParameter* parameter(const ZelString& name) {
    return parameters_ ? parameters_->getParameter(name) : nullptr;
  }

  // Stores the probing record "<ProbeConstruction>" on the feature: "<ZelID>" = this creator's class id and
  // "<Parameters>" = a copy of its table with "<CompensatedPoints>" = points. False, leaving the feature
  // untouched, when a value cannot be made or copied; a null feature is reported to the assertion handler.
  bool attachProbeParameters(IZelFeature* feature, PointList points);
  // Brings the feature in line with the host (its recreation modifier, when it has one) and answers it.
  IZelFeature* applyRecreationModifier(IZelFeature* feature);

  const ZelID& classId() const { return classId_; }

 protected:
  explicit HardProbeFeatureCreatorBase(const ZelID& classId) : classId_(classId) {}

  // The feature of the concrete creator, or none.
  virtual IPtr<IZelFeature> buildFeature() = 0;

  // The base's names in a query: "HardProbeFeatureCreatorBase", "IZelHardProbeFeatureCreator".
  QueryChain& offerBases(QueryChain& chain) {
    return chain.offer<HardProbeFeatureCreatorBase>(this).offer<IZelHardProbeFeatureCreator>(this);
  }

  // The keys read by the point creators, combined as flags.
  enum ProbingKey : uint32_t { kSampled = 1, kStop = 2, kRadius = 4, kPlane = 8 };
  struct Probing {
    PointList sampled;
    Vector3 stop;
    double radius = 0.0;
    IPtr<IZelPlane> workPlane;
  };
  // The table (made now when there is none) and the keys asked for, each present and of its kind; with
  // kSampled at least minPoints() points (else the refusal says how many are missing), all finite; with kStop
  // a finite point; with kRadius a finite radius not below 0. None otherwise.
  std::optional<Probing> readProbing(uint32_t keys);

  // The entry of that name as the value interface T; null when it is missing, of another kind or there is no
  // table.
  template <class T>
  T* parameterAs(const char16_t* key) {
    return queryPart<T>(parameter(ZelString(key)));
  }
  // The feature the entry embeds, as Kind; null otherwise.
  template <class Kind>
  Kind* embeddedFeature(const char16_t* key) {
    auto* value = parameterAs<IZelEmbeddedFeatureParameter>(key);
    return value ? queryPart<Kind>(value->feature()) : nullptr;
  }

  // Child `number` of a composite feature ("<FeatureN>" in "<ChildFeatures>") as Kind; null when the table,
  // the child or its kind is missing.
  template <class Kind>
  Kind* childFeature(int number) {
    auto* children = parameterAs<IZelParameterTable>(kChildFeaturesKey);
    const std::u16string name = std::u16string(kChildFeaturePrefix) + childNumber(number) + u">";
    auto* child =
        children ? queryPart<IZelEmbeddedFeatureParameter>(children->getParameter(ZelString(name.c_str())))
                 : nullptr;
    return child ? queryPart<Kind>(child->feature()) : nullptr;
  }

  // Children 1 .. count, each answering Kind, as features; none when one is missing or of another kind.
  template <class Kind>
  std::optional<std::vector<IPtr<IZelFeature>>> childFeatures(int count) {
    std::vector<IPtr<IZelFeature>> children;
    for (int number = 1; number <= count; ++number) {
      auto* child = queryPart<IZelFeature>(childFeature<Kind>(number));
      if (!child) return std::nullopt;
      children.emplace_back(child);
    }
    return children;
  }

  // No feature, for the reason given (translated), which refusal() then answers.
  IPtr<IZelFeature> refuse(const ZelString& reason);
  // fitPoints, the fitter's reason kept as the refusal when it gives no feature.
  IPtr<IZelFeature> fit(const PointList& points, const FitSetUp& setUp);

  // The finishing steps: the probing record with the compensated points, then the recreation modifier.
  IPtr<IZelFeature> finish(const IPtr<IZelFeature>& feature, const PointList& compensated);

 private:
  IZelParameterTable* parameterTable();
  static std::u16string childNumber(int number);

  ZelID classId_;
  IPtr<IZelParameterTable> parameters_;
  ZelString refusal_;
};
