#pragma once

// How far a probe's ball lies from the CAD model: the contact point of the ball, the closest point of the
// model to the ball's centre, and the signed distance between them in the active coordinate system,
// positive where the surface stands proud of the model (material in excess) and negative where it lies
// below it (material missing). Lengths are metres. The probe's centre and the two points are the world's;
// the model is asked in its own coordinates, where its placement puts them. Main thread only, as the
// closest-point object.

#include <optional>

#include "basic_types/vector3.h"
#include "commands/features/closest_point_on_cad.h"
#include "framework/host_glue/object_placement.h"
#include "host_api/csys_service.h"
#include "host_api/zel_mesh.h"

struct ProbeDeviation {
  Vector3 contact;   // the ball's contact point: the compensated probe point
  Vector3 cad;       // the closest point of the model to the ball's centre
  double deviation;  // signed: (contact − cad) along the model's outward side
  bool pass;         // |deviation| below the tolerance
};

class ProbeDeviationMeter {
 public:
  // The closest-point object set up on mesh, where the model stands in the world, and the host's coordinate
  // systems (null: the world's axes).
  ProbeDeviationMeter(IZelClosestPointOnCad* closest, IZelMeshExt* mesh, const ObjectPlacement& placement,
                      ICSysService* csys)
      : closest_(closest), mesh_(mesh), placement_(placement), csys_(csys) {}

  // The deviation of a ball of radius at centre; nothing when the closest point or the model's normal there
  // cannot be found.
  std::optional<ProbeDeviation> measure(const Vector3& centre, double radius, double tolerance) const;

 private:
  // The model's outward normal at the closest point c, both in the model's coordinates.
  std::optional<Vector3> normalAt(const Vector3& c) const;
  // The length of a world vector in the active coordinate system.
  double activeLength(const Vector3& v) const;

  IZelClosestPointOnCad* closest_;
  IZelMeshExt* mesh_;
  ObjectPlacement placement_;
  ICSysService* csys_;
};
