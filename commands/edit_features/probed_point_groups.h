#pragma once

// The sampled points of one probed feature as the edit command shows and deletes them: every
// "<SampledPoints>" list of the feature's probing record (a composite's children, in table order) is a group,
// and the groups laid end to end give the flat list whose points the view numbers from 1.

#include <cstdint>
#include <vector>

#include "basic_types/bit_vector.h"
#include "features/point_list.h"
#include "host_api/parameters.h"
#include "host_api/zel_feature.h"

struct ProbedPointGroups {
  // Flat point i (1-based) is points[i - 1].
  PointList points;
  // For flat point i, groupOf[i - 1] is the 1-based number of its group and groupOffset[i - 1] the number of
  // points in the groups before it, so i - groupOffset[i - 1] is its 1-based index within the group.
  std::vector<int32_t> groupOf;
  std::vector<int32_t> groupOffset;
  // The "<SampledPoints>" value each group was read from, owned by the feature's record.
  std::vector<IZelVectorsValue*> groupValues;
  std::vector<PointList> groups;
  // Each group's "<Approaches>" value, one per point, or null where the record holds none that matches.
  std::vector<IZelVectorsValue*> approachValues;
};

// The groups of the feature's record; a feature or child without a record, or a record without
// "<SampledPoints>", contributes none.
ProbedPointGroups loadPointGroups(IZelFeature* feature);

// Removes the selected flat points (bits 1 to the point count; higher bits are ignored) from their groups,
// writes each group (and its approaches, which stay one per point) back into the record it came from,
// rebuilds the flat list and clears the selection.
void removeSelectedPoints(ProbedPointGroups& groups, BitVector& selection);
