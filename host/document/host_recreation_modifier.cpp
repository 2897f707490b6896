#include "host/document/host_recreation_modifier.h"

#include "framework/object/query_chain.h"

namespace {

// The one mode callers apply: bring a new feature in line before it is shown.
constexpr int32_t kNewFeature = 0;

}  // namespace

bool HostRecreationModifier::setFeature(IZelFeature* feature) {
  if (!feature) return false;
  feature_ = feature;
  return true;
}

bool HostRecreationModifier::apply(int32_t mode) {
  if (!feature_ || mode != kNewFeature) return false;
  feature_ = nullptr;
  return true;
}

void HostRecreationModifier::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelFeatureRecreationModifier>(this).end();
}
