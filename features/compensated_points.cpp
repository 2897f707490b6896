#include "features/compensated_points.h"

#include "features/creators/creator_parameter_keys.h"
#include "framework/memory/assertion.h"
#include "framework/object/query_part.h"

std::optional<PointList> getCompensatedPoints(IZelFeature* feature) {
  if (!feature) {
    reportAssertion("feature", "featureutil", 143);
    return std::nullopt;
  }
  auto* record = queryPart<IZelParameterTable>(feature->getParameter(ZelString(kProbeConstructionKey)));
  auto* parameters =
      record ? queryPart<IZelParameterTable>(record->getParameter(ZelString(kParametersKey))) : nullptr;
  auto* points = parameters
                     ? queryPart<IZelVectorsValue>(parameters->getParameter(ZelString(kCompensatedPointsKey)))
                     : nullptr;
  if (!points) return std::nullopt;
  return pointsOf(*points);
}
