#pragma once

// A document feature in words for "print document": its defining numbers and its probing record.

#include <string>
#include <vector>

#include "basic_types/vector3.h"
#include "host_api/points.h"
#include "host_api/zel_feature.h"

// A number with six significant digits, a negative zero as 0; a vector as "(x, y, z)" of such numbers.
std::string sixDigits(double value);
std::string vectorText(const Vector3& v);

// The numbers that define the feature, one field each ("centre (0, 0, 0.001)", "radius 0.005"), with six
// significant digits; none for a kind the host does not know.
std::vector<std::string> definingFields(IZelFeature& feature);
// "creator ID" and "points N" from the feature's "<ProbeConstruction>" record (the creator's class id, the
// count of its "<Parameters>" "<SampledPoints>"); none without a record, and each only when it is there.
std::vector<std::string> probingFields(IZelFeature& feature);
// "points N", then "first (x, y, z)" and "last (x, y, z)" when there are any.
std::vector<std::string> pointSetFields(IZelPoints& points);
