#pragma once

// The closest point of a CAD model to one point at a time, with the model's edge and face nearest to it. The
// quick-probe command sets it up with the reference model's topology, real-time deviation with its surface
// model and iterative alignment with the CAD object: setCadModel takes any of the three. Points in and out
// are in the model's own coordinates, as every CAD query's (host_api/zel_cad.h): a caller holding world
// points maps them through the model object's placement (framework/host_glue/object_placement.h), as quick
// probe and real-time deviation do; iterative alignment's points are the model's already.

#include <cstdint>

#include "basic_types/vector3.h"
#include "host_api/zel_mesh.h"
#include "host_api/zel_unknown.h"

class IZelClosestPointOnCad : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelClosestPointOnCad";

  // Attaches a model (replacing the last one); null detaches. False, with no model attached, when the
  // object is no CAD model, a host service is missing or the model is refused.
  virtual bool setCadModel(IZelUnknown* model) = 0;
  // The closest point of the model to point; false without a model.
  virtual bool computeClosestPoint(const Vector3& point, Vector3& closest) = 0;
  // For the last query: the nearest edge and the closest point on the edges; false without an edge.
  virtual bool getClosestEdge(uint32_t& edge, Vector3& point) = 0;
  // For the last query: the nearest face and the closest point on the faces; false without a face.
  virtual bool getClosestFace(uint32_t& face, Vector3& point) = 0;
  // Where a point of the last query's face lies on the model's surface model: an element and the surface
  // parameters there, as the model's locate gives them.
  virtual bool locate(ZelMeshLocation& location, const Vector3& point) = 0;
};
