#pragma once

// Meshes the stand-in host can load without a file: a box and a flat grid. Both are wound so that every
// element's normal (right-hand rule) points out of the box, or along the cross product of the grid's edges.

#include <cstdint>

#include "framework/object/iptr.h"
#include "host/cad/host_mesh.h"

// The axis-aligned box between two opposite corners, as 12 triangles.
IPtr<HostMesh> boxMesh(const HostMesh::Point& minimum, const HostMesh::Point& maximum);
// The parallelogram from origin along uEdge and vEdge, split into cells × cells quads of two triangles each.
IPtr<HostMesh> gridMesh(const HostMesh::Point& origin, const HostMesh::Point& uEdge,
                        const HostMesh::Point& vEdge, int32_t cells);
