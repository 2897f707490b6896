#pragma once

// The 3-2-1 solve: the transform that carries three device planes onto three reference planes, found by the
// host's datum-based modifier on plane sub-objects: the reference planes, in the model's own coordinates, on
// the reference object (the fixed side, which the modifier takes where the object stands), the device planes
// on a temporary point object "float" (the floating side). Everything made for the
// solve is taken away again. Main thread only.

#include <array>

#include "basic_types/matrix4x4.h"
#include "basic_types/plane.h"
#include "framework/object/iptr.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_sub_objects.h"

struct AlignmentPlanes {
  IZelDocObject* reference = nullptr;
  std::array<Plane, 3> referencePlanes{};  // planes 1, 2, 3
  std::array<Plane, 3> devicePlanes{};
};

// The transform in m that carries the device planes onto the reference planes where the reference stands in
// the world: from device to world coordinates. False, with m the identity, when a plane is not valid, the
// host has no modifier or the modifier finds no solution.
bool computeAlignment(const AlignmentPlanes& planes, Matrix4x4& m);

// A plane feature (through the plane's point nearest the origin, along its normal, X its reference
// direction) added to owner as a sub-object of that name; empty when the host cannot make it.
IPtr<IZelSubObject> createPlaneSubObject(IZelDocObject* owner, const Plane& plane, const ZelString& name);
