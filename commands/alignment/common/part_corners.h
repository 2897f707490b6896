#pragma once

// The far ends of a part, for judging what a fitted move does across it: the corners of the box of its
// model as the host's "IObjectExtent" tells it. None where no host service answers or the object has no
// model. Main thread only.

#include <vector>

#include "basic_types/vector3.h"

class IZelDocObject;

// The eight corners in the object's own coordinates.
std::vector<Vector3> ownBoxCorners(IZelDocObject* object);
// The eight corners where the object stands in the world.
std::vector<Vector3> worldBoxCorners(IZelDocObject* object);
