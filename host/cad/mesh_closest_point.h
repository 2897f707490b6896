#pragma once

// The closest point of a mesh to a point. A CAD model's surface model answers from its B-rep model: the
// nearest face, found through the faces' bounding boxes, then the exact surface within that face's bounds,
// with the normal out of the material on the side the point is on where solids touch. Any other mesh is
// projected onto element by element (IZelMeshExt) and the nearest answer wins.

#include "basic_types/vector3.h"
#include "host_api/zel_mesh.h"

// False, with the outputs untouched, for a mesh that answers no element.
bool closestOnMesh(IZelMeshExt& mesh, const Vector3& point, Vector3& closest, Vector3& normal);
// The nearest of the mesh's projections of the point onto each element in turn (on a CAD model's surface
// model, each triangle's whole surface, its face's bounds aside); false as closestOnMesh.
bool closestOnElements(IZelMeshExt& mesh, const Vector3& point, Vector3& closest, Vector3& normal);
