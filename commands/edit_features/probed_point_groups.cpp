#include "commands/edit_features/probed_point_groups.h"

#include <vector>

#include "features/creators/creator_parameter_keys.h"
#include "framework/object/query_part.h"

namespace {

IZelParameterTable* tableOf(IZelParameter* value) {
  return queryPart<IZelParameterTable>(value);
}

IZelParameterTable* recordParameters(IZelFeature* feature) {
  auto* record = tableOf(feature->getParameter(ZelString(kProbeConstructionKey)));
  return record ? tableOf(record->getParameter(ZelString(kParametersKey))) : nullptr;
}

void flatten(ProbedPointGroups& groups) {
  groups.points.clear();
  groups.groupOf.clear();
  groups.groupOffset.clear();
  int32_t before = 0;
  for (size_t g = 0; g < groups.groups.size(); ++g) {
    for (const Vector3& point : groups.groups[g]) {
      groups.points.push_back(point);
      groups.groupOf.push_back(static_cast<int32_t>(g + 1));
      groups.groupOffset.push_back(before);
    }
    before += static_cast<int32_t>(groups.groups[g].size());
  }
}

}  // namespace

ProbedPointGroups loadPointGroups(IZelFeature* feature) {
  ProbedPointGroups groups;
  std::vector<IZelFeature*> pending;
  if (feature) pending.push_back(feature);
  while (!pending.empty()) {
    IZelFeature* next = pending.back();
    pending.pop_back();
    IZelParameterTable* parameters = recordParameters(next);
    if (!parameters) continue;
    if (auto* children = tableOf(parameters->getParameter(ZelString(kChildFeaturesKey)))) {
      for (int32_t i = 1; i <= children->count(); ++i) {
        auto* child = queryPart<IZelEmbeddedFeatureParameter>(children->parameterAt(i));
        auto* childFeature = child ? queryPart<IZelFeature>(child->feature()) : nullptr;
        if (childFeature) pending.push_back(childFeature);
      }
    } else if (auto* sampled =
                   queryPart<IZelVectorsValue>(parameters->getParameter(ZelString(kSampledPointsKey)))) {
      groups.groupValues.push_back(sampled);
      groups.groups.push_back(pointsOf(*sampled));
      auto* approaches = queryPart<IZelVectorsValue>(parameters->getParameter(ZelString(kApproachesKey)));
      const bool matches = approaches && pointsOf(*approaches).size() == groups.groups.back().size();
      groups.approachValues.push_back(matches ? approaches : nullptr);
    }
  }
  flatten(groups);
  return groups;
}

void removeSelectedPoints(ProbedPointGroups& groups, BitVector& selection) {
  const auto count = static_cast<int32_t>(groups.points.size());
  // From the highest index down, so that the indices still to come keep their places.
  int32_t index = selection.test(count) ? count : selection.findPrevious(count);
  while (index >= 1) {
    const int32_t g = groups.groupOf[index - 1];
    const int32_t k = index - groups.groupOffset[index - 1];
    PointList& group = groups.groups[g - 1];
    group.erase(group.begin() + (k - 1));
    setPoints(*groups.groupValues[g - 1], group);
    if (IZelVectorsValue* approaches = groups.approachValues[g - 1]) {
      PointList travelled = pointsOf(*approaches);
      travelled.erase(travelled.begin() + (k - 1));
      setPoints(*approaches, travelled);
    }
    index = selection.findPrevious(index);
  }
  flatten(groups);
  selection.clearAll();
}
