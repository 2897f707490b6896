#pragma once

// One state of the feature the edit command works on: the feature, which of its sampled points are selected
// (bit i for flat point i, from 1) and its point groups. The first state holds the document's own feature;
// every delete adds a state holding the refitted copy.

#include <memory>
#include <vector>

#include "basic_types/bit_vector.h"
#include "commands/edit_features/probed_point_groups.h"
#include "framework/object/iptr.h"
#include "host_api/zel_feature.h"

struct EditState {
  static constexpr int32_t kInitialSelectionBits = 10;

  IPtr<IZelFeature> feature;
  BitVector selection{kInitialSelectionBits};
  ProbedPointGroups groups;
};

using EditStates = std::vector<std::unique_ptr<EditState>>;
