#pragma once

// The flat point list of the edited feature as one run of points, in flat order, so that the view numbers
// the points it picks as the command does (from 1).

#include "commands/edit_features/palpera_edit_features_cmd.h"
#include "features/point_list.h"
#include "framework/iterators/vertex_runs_itr.h"

class PalperaEditFeaturesCmd::PointIterator : public VertexRunsItr {
 public:
  static constexpr const char* interfaceName = "PointIterator";
  static constexpr int32_t kHint = 16;

  explicit PointIterator(const PointList& points) {
    setHint(kHint);
    setRuns({{ZelPrimitiveType::Points, points}});
  }
  const char* className() override { return interfaceName; }
};
