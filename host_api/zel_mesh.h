#pragma once

// The host's triangle meshes, such as the surface model ("SurfModel") of a CAD object. Coordinates are the
// mesh's own (its document object's); IGenGfxService maps them to the world. A mesh does not change once
// made, so every operation is safe on any thread.

#include <cstdint>

#include "host_api/zel_unknown.h"

class IZelCadModel;
class IZelCadTopology;

// A spot on one element (triangle) of a mesh: the element's index and the barycentric weights u and v of its
// second and third corners (the first corner weighs 1 - u - v). On the surface model of a CAD model, u and v
// are instead the parameters of the exact surface of the face the element lies on, so that a location
// stands for a point of the true geometry. A location that has not been projected yet carries the largest
// single-precision float (FLT_MAX) in u and v.
struct ZelMeshLocation {
  int32_t element = -1;
  double u = 0;
  double v = 0;
};

// Names one mesh for the operations of IZelMeshExt; valid while that mesh lives, meaningless to any other.
using ZelMeshHandle = const void*;

class IZelMesh : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelMesh";

  // True when the mesh has at least one element, every corner index names a vertex, every coordinate is
  // finite and no element is degenerate (of no area).
  virtual bool isValid() = 0;
};

class IZelMeshExt : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelMeshExt";

  virtual ZelMeshHandle handle() = 0;
  // Turns an element index into a location on it, not yet projected. False, with location untouched, for an
  // index that names no element or a handle of another mesh.
  virtual bool locate(ZelMeshHandle mesh, int32_t element, ZelMeshLocation* location) = 0;
  // Moves the location to the point of its element closest to point. False, with location untouched, when
  // the location's element is not one of the mesh's, or for a handle of another mesh.
  virtual bool project(ZelMeshHandle mesh, const double point[3], ZelMeshLocation* location) = 0;
  // The point at a projected location and the unit normal of its element (by the right-hand rule over its
  // corners in order). False, with the outputs untouched, for a location not projected or not on the mesh.
  // A CAD model's surface model projects onto and evaluates its exact surfaces, the normal pointing out of
  // the material.
  virtual bool evaluate(ZelMeshHandle mesh, const ZelMeshLocation& location, double point[3],
                        double normal[3]) = 0;
  // Whether the mesh is the surface model of a CAD model, and that model and its topology (null when not).
  virtual bool isCad() = 0;
  virtual IZelCadModel* cadModel() = 0;
  virtual IZelCadTopology* topology() = 0;
};
