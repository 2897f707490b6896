#pragma once

// A feature moved by a rigid transform (a rotation and a shift): a nominal recreated in a CAD model's own
// coordinates placed where the model stands in the world, or back.

#include "basic_types/matrix4x4.h"
#include "framework/object/iptr.h"
#include "host_api/zel_feature.h"

// A copy of the feature, its parameters copied too, with its positions and directions mapped by rigid and
// its sizes kept. Null for a null feature, one that cannot be copied, or a kind that has no placement here
// (anything but a point, target point, plane, parallel planes, line, circle, sphere, cylinder, cone or
// slot).
IPtr<IZelFeature> placedFeature(IZelFeature* feature, const Matrix4x4& rigid);
