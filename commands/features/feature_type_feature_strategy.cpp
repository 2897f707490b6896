#include "commands/features/feature_type_feature_strategy.h"

#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "framework/registrations/class_registration.h"

namespace {

const ClassRegistration<FeatureTypeFeatureStrategy> registration(
    registeredClass("FeatureTypeFeatureStrategy"));

// The list's usual length: a strategy rarely offers more kinds than this.
constexpr size_t kTypeNamesCapacity = 21;

}  // namespace

FeatureTypeFeatureStrategy::FeatureTypeFeatureStrategy() {
  typeNames_.reserve(kTypeNamesCapacity);
  visibility_.createInstance(classIdOf("SubObjectVisibilityMgr"));
}

void FeatureTypeFeatureStrategy::addType(const char* featureInterfaceName) {
  if (featureInterfaceName) typeNames_.emplace_back(featureInterfaceName);
}

bool FeatureTypeFeatureStrategy::isCandidate(IZelFeatureSubObject* subObject) const {
  IZelFeature* feature = subObject ? subObject->feature() : nullptr;
  if (!feature) return false;
  if (typeNames_.empty()) return true;
  for (const std::string& typeName : typeNames_) {
    void* part = nullptr;
    feature->queryInterface(typeName.c_str(), &part, false);
    if (part) return true;
  }
  return false;
}

void FeatureTypeFeatureStrategy::selectCandidates(const FeatureSubObjects& subObjects, BitVector& bits) {
  bits.clearAll();
  for (size_t i = 0; i < subObjects.size(); ++i)
    if (isCandidate(subObjects[i])) bits.set(static_cast<int32_t>(i));
}

void FeatureTypeFeatureStrategy::showCandidates(const FeatureSubObjects& subObjects, const BitVector& bits,
                                                bool hide) {
  if (!hide || !visibility_) return;
  for (size_t i = 0; i < subObjects.size(); ++i)
    visibility_->change(subObjects[i], bits.test(static_cast<int32_t>(i)));
  visibility_->apply();
}

void FeatureTypeFeatureStrategy::restoreVisibility() {
  if (visibility_) visibility_->restore();
}

void FeatureTypeFeatureStrategy::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<IZelHardProbeFeaturePickerFeatureStrategy>(this)
      .offer<IFeatureTypeFeatureStrategy>(this)
      .end();
}
