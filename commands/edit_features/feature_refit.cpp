#include "commands/edit_features/feature_refit.h"

#include <vector>

#include "features/creators/creator_parameter_keys.h"
#include "features/creators/zel_hard_probe_feature_creator.h"
#include "framework/object/query_part.h"

namespace {

// One feature of the tree to rebuild: its creator's class id, the recorded table and, for a child, the entry
// of its parent's "<ChildFeatures>" that takes the new feature.
struct RefitEntry {
  ZelID creatorId;
  IZelParameterTable* parameters;
  IZelEmbeddedFeatureParameter* link;
};

struct Pending {
  IZelFeature* feature;
  IZelEmbeddedFeatureParameter* link;
};

IZelParameterTable* tableOf(IZelParameter* value) {
  return queryPart<IZelParameterTable>(value);
}

// The entries parents before children; empty when a record in the tree lacks its creator id, since skipping
// it would leave a child's feature in the parent's place.
std::vector<RefitEntry> gather(IZelFeature* feature) {
  std::vector<RefitEntry> entries;
  std::vector<Pending> pending{{feature, nullptr}};
  while (!pending.empty()) {
    const Pending next = pending.back();
    pending.pop_back();
    auto* record = tableOf(next.feature->getParameter(ZelString(kProbeConstructionKey)));
    auto* parameters = record ? tableOf(record->getParameter(ZelString(kParametersKey))) : nullptr;
    if (!parameters) {
      if (next.feature == feature) return {};
      continue;  // a child probed without a record stays as it is
    }
    auto* creatorId = queryPart<IZelIDValue>(record->getParameter(ZelString(kCreatorIdKey)));
    if (!creatorId) return {};
    if (auto* children = tableOf(parameters->getParameter(ZelString(kChildFeaturesKey)))) {
      for (int32_t i = 1; i <= children->count(); ++i) {
        auto* link = queryPart<IZelEmbeddedFeatureParameter>(children->parameterAt(i));
        auto* child = link ? queryPart<IZelFeature>(link->feature()) : nullptr;
        if (child) pending.push_back({child, link});
      }
    }
    entries.push_back({creatorId->value(), parameters, next.link});
  }
  return entries;
}

IPtr<IZelFeature> rebuild(const RefitEntry& entry) {
  IPtr<IZelHardProbeFeatureCreator> creator;
  creator.createInstance(entry.creatorId);
  if (!creator) return {};
  for (int32_t i = 1; i <= entry.parameters->count(); ++i)
    creator->setParameter(entry.parameters->nameAt(i), entry.parameters->parameterAt(i));
  IPtr<IZelFeature> feature;
  feature.takeOwnership(creator->createFeature());
  return feature;
}

}  // namespace

IPtr<IZelFeature> refitFeature(IZelFeature* feature) {
  if (!feature) return {};
  const std::vector<RefitEntry> entries = gather(feature);
  IPtr<IZelFeature> made;
  // Children were gathered after their parent, so the reverse order rebuilds every child first.
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
    made = rebuild(*entry);
    if (!made) return {};
    if (entry->link) entry->link->setFeature(made.get());
  }
  return made;
}
