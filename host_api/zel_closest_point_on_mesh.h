#pragma once

// The closest point of a mesh to one point at a time, with the surface normal there. A fresh object per
// lookup of "IZelClosestPointOnMesh". Main thread only.

#include "basic_types/vector3.h"
#include "host_api/zel_unknown.h"

class IZelClosestPointOnMesh : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelClosestPointOnMesh";

  // The mesh to search (an object answering IZelMeshExt); false, with no mesh kept, for one that is not a
  // valid mesh. The object holds a reference on the mesh.
  virtual bool setMesh(IZelUnknown* mesh) = 0;
  // The closest point and the unit normal of the surface there (out of the material for a CAD model's
  // surface model, by the right-hand rule of the element otherwise); false without a mesh.
  virtual bool closestPoint(const Vector3& point, Vector3& closest, Vector3& normal) = 0;
};
