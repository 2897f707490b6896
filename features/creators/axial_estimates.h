#pragma once

// What the cylinder and cone creators estimate their starts from: circles fitted to rings of probed points,
// the two rings an operator probes at either end of a bore or boss, the points' box and the map that stands
// an axis upright about the box's middle.

#include <optional>

#include "basic_types/box.h"
#include "basic_types/matrix4x4.h"
#include "features/point_list.h"
#include "framework/object/iptr.h"
#include "host_api/feature_kinds.h"

// The circle the host fits to the points, in the work plane when one is given; empty when there is none.
IPtr<IZelArc> makeInitialArc(const PointList& points, IZelPlane* workPlane);

// The circles of the first-probed and the last-probed ring.
struct RingCircles {
  IPtr<IZelArc> first;
  IPtr<IZelArc> last;
};
// The rings of at least 7 points: the first three and the last three points span a ring's plane each, and
// every point between joins the ring whose plane it lies near (within 0.15 of the rings' distance along
// their mean normal), the first ring before the last; points near neither are left out. None for fewer
// points, for ring planes more than 75° apart, for three collinear points that span no plane, when a ring's
// circle cannot be fitted, or for circles about one centre, which give no axis.
std::optional<RingCircles> fitProbingRings(const PointList& points);

// The smallest axis-aligned box holding the points; a box with its minimum above its maximum for none.
Box boundingBox(const PointList& points);

// The rotation about centre that turns axis onto +z: T(centre)·Rot(axis → z)·T(−centre).
Matrix4x4 axisUpright(const Vector3& centre, const Vector3& axis);
