#include "features/creators/hard_probe_feature_creator_base.h"

#include <algorithm>
#include <cmath>

#include "features/creators/creator_parameter_keys.h"
#include "features/creators/probe_geometry.h"
#include "framework/memory/assertion.h"
#include "framework/object/host_lookup.h"
#include "framework/translation/tr.h"
#include "host_api/feature_types.h"

namespace {

bool isFinite(const Vector3& p) {
  return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

}  // namespace

std::u16string HardProbeFeatureCreatorBase::childNumber(int number) {
  const std::string digits = std::to_string(number);
  return std::u16string(digits.begin(), digits.end());
}

IZelParameterTable* HardProbeFeatureCreatorBase::parameterTable() {
  if (!parameters_) parameters_.getService();
  return parameters_.get();
}

bool HardProbeFeatureCreatorBase::setParameter(const ZelString& name, IZelParameter* value) {
  IZelParameterTable* table = parameterTable();
  return table && table->setParameter(name, value);
}

IZelFeature* HardProbeFeatureCreatorBase::createFeature() {
  refusal_ = ZelString();
  IPtr<IZelFeature> feature = buildFeature();
  if (feature) feature->addRef();  // the caller's reference, which outlives ours
  return feature.get();
}

IPtr<IZelFeature> HardProbeFeatureCreatorBase::refuse(const ZelString& reason) {
  refusal_ = reason;
  return {};
}

IPtr<IZelFeature> HardProbeFeatureCreatorBase::fit(const PointList& points, const FitSetUp& setUp) {
  return fitPoints(points, setUp, &refusal_);
}

std::optional<HardProbeFeatureCreatorBase::Probing> HardProbeFeatureCreatorBase::readProbing(uint32_t keys) {
  if (!parameterTable()) return std::nullopt;
  Probing probing;
  if (keys & kSampled) {
    auto* sampled = parameterAs<IZelVectorsValue>(kSampledPointsKey);
    if (!sampled) return std::nullopt;
    probing.sampled = pointsOf(*sampled);
    // The creators that place their feature on a sampled point without a fit would carry it into the
    // document.
    if (!std::all_of(probing.sampled.begin(), probing.sampled.end(), isFinite)) return std::nullopt;
  }
  if (keys & kStop) {
    auto* stop = parameterAs<IZelVectorValue>(kStopPointKey);
    // A stop point off every side would compensate towards a guessed one.
    if (!stop || !isFinite(stop->value())) return std::nullopt;
    probing.stop = stop->value();
  }
  if (keys & kRadius) {
    auto* radius = parameterAs<IZelDoubleValue>(kProbeRadiusKey);
    // A negative or undefined radius would compensate towards the stop point, or to nowhere.
    if (!radius || !(radius->value() >= 0.0) || !std::isfinite(radius->value())) return std::nullopt;
    probing.radius = radius->value();
  }
  if (keys & kPlane) {
    probing.workPlane = embeddedFeature<IZelPlane>(kWorkPlaneKey);
    if (!probing.workPlane) return std::nullopt;
  }
  const int64_t missing = minPoints() - static_cast<int64_t>(probing.sampled.size());
  if ((keys & kSampled) && missing > 0) {
    refuse(morePointsText(static_cast<int32_t>(missing)));
    return std::nullopt;
  }
  return probing;
}

bool HardProbeFeatureCreatorBase::attachProbeParameters(IZelFeature* feature, PointList points) {
  if (!feature) {
    reportAssertion("feature", "hardprobefeaturecreatorbase", 45);
    return false;
  }
  SPtr<IZelParameterTable> record;
  if (!record) return false;
  SPtr<IZelVectorsValue> compensated;
  SPtr<IZelIDValue> creatorId;
  IPtr<IZelParameter> copied;
  if (parameters_) copied.takeOwnership(parameters_->copy());
  auto* parameters = queryPart<IZelParameterTable>(copied.get());
  if (!compensated || !creatorId || !parameters) return false;
  setPoints(*compensated, points);
  parameters->setParameter(ZelString(kCompensatedPointsKey), compensated.get());
  creatorId->setValue(classId_);
  record->setParameter(ZelString(kCreatorIdKey), creatorId.get());
  record->setParameter(ZelString(kParametersKey), parameters);
  feature->setParameter(ZelString(kProbeConstructionKey), record.get());
  return true;
}

IZelFeature* HardProbeFeatureCreatorBase::applyRecreationModifier(IZelFeature* feature) {
  SPtr<IZelFeatureRecreationModifier> modifier;
  if (modifier) {
    modifier->setFeature(feature);
    modifier->apply(0);
  }
  return feature;
}

IPtr<IZelFeature> HardProbeFeatureCreatorBase::finish(const IPtr<IZelFeature>& feature,
                                                      const PointList& compensated) {
  attachProbeParameters(feature.get(), compensated);
  applyRecreationModifier(feature.get());
  return feature;
}
