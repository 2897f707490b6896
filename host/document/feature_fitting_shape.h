#pragma once

// A feature seen as the fitting library's shape of its kind, so that the library's distances serve the
// document's features. Any thread the feature may be read on.

#include <optional>
#include <variant>

#include "host/fitting/geometry/shapes.h"
#include "host_api/zel_feature.h"

using FittingShape = std::variant<fitting::Plane, fitting::Line, fitting::Circle, fitting::Sphere,
                                  fitting::Cylinder, fitting::Cone, fitting::ParallelPlanes>;

// The shape of the feature's kind from the feature's own values. A point (or target point) is a sphere of
// radius 0, so its distances are those from the point. None for a null feature, a slot (the library has no
// outline shape), a line whose ends coincide or a value that is not finite.
std::optional<FittingShape> fittingShapeOf(IZelFeature* feature);
