#pragma once

// The closest point of a mesh to a point, through the mesh's own projections (IZelMeshExt): every element
// is projected onto and the nearest answer wins, so a CAD model's surface model answers on its exact
// surfaces with the normal out of the material.

#include "basic_types/vector3.h"
#include "host_api/zel_mesh.h"

// False, with the outputs untouched, for a mesh that answers no element.
bool closestOnMesh(IZelMeshExt& mesh, const Vector3& point, Vector3& closest, Vector3& normal);
