#pragma once

// The compensated points a creator stored on a probed feature, as the collectors, the statistics and the
// edit command read them back.

#include <optional>

#include "features/point_list.h"
#include "host_api/zel_feature.h"

// The feature's "<ProbeConstruction>" → "<Parameters>" → "<CompensatedPoints>", in order; none as soon as
// a level is missing or of another kind. A null feature is reported to the assertion handler and gives none.
std::optional<PointList> getCompensatedPoints(IZelFeature* feature);
