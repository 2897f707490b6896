#pragma once

// A probed feature beside its nominal one: the values that place, orient and size a feature of its kind, the
// probed feature's and the nominal's, and how far the one is from the other.

#include <optional>
#include <string>
#include <vector>

#include "basic_types/matrix4x4.h"
#include "host_api/zel_feature.h"

struct ComparedValue {
  std::string label;  // "centre", "normal", "axis", "axis point", "radius", "half angle"
  std::string fitted;
  std::string nominal;
  double difference;  // metres (a radius: fitted less nominal), or radians between two directions
  bool angle;
};

// A feature and the transform that places its object's own coordinates in the world.
struct PlacedFeature {
  IZelFeature& feature;
  const Matrix4x4& toWorld;
};

// The values of a plane, circle, sphere, cylinder or cone beside those of a nominal feature of the same kind, both
// where their objects stand in the world; none for features of two kinds, or of another kind.
std::optional<std::vector<ComparedValue>> compareWithNominal(const PlacedFeature& fitted,
                                                             const PlacedFeature& nominal);
