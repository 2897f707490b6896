#pragma once

// What a collector that could not make its feature at a stop still needs, said in words that name the
// feature, so that its touches are never set aside without a word: the touches it lacks when it holds fewer
// than its creators need, else touches spread wider, since the ones it holds fit no single feature of its
// kind (or more than one).

#include <cstdint>

#include "basic_types/zel_string.h"
#include "features/collectors/zel_feature_collector.h"

// The touches a collector holds and the least its creators need, its children's and components' counted.
struct TouchCount {
  int32_t taken = 0;
  int32_t required = 0;
};
TouchCount touchCount(IZelFeatureCollector& collector);

ZelString whatFeatureNeeds(const ZelString& feature, IZelFeatureCollector& collector);
