#pragma once

// Touches that probe the nominal features of a part one after another, worked out from its B-rep model in
// the part's own coordinates: ball centres on every surface of a plane, cylinder, cone or sphere where no
// edge lies within quick probe's allowance, and on the walls square to a plane face just beside each of its
// hole and boss outlines, where the outline's edge is the nearest. Each feature ends with a stop on its air
// side.

#include <string>
#include <vector>

#include "basic_types/vector3.h"
#include "host/cad/brep_model.h"

struct FeatureTouches {
  std::string what;
  std::vector<Vector3> samples;
  Vector3 stop;
};

// The surfaces first, so that the planes beside the outlines are known when the outlines are probed.
std::vector<FeatureTouches> touchesOf(const BrepModel& model, double radius);
