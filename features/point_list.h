#pragma once

// The module's working form of a point list (probe-tip centres, compensated points): a plain vector in
// probing order, turned into and out of the host's 1-based IZelVectorsValue at the seam.

#include <vector>

#include "basic_types/vector3.h"
#include "host_api/parameters.h"

using PointList = std::vector<Vector3>;

// Points 1..count of the value, in order.
PointList pointsOf(IZelVectorsValue& value);
// Replaces the value's list by the points, in order.
void setPoints(IZelVectorsValue& value, const PointList& points);
