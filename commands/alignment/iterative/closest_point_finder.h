#pragma once

// Finds the reference surface point nearest to an aligned measured point, with the surface normal there:
// on the exact faces of a CAD reference, or on a plain mesh. Made by createPointFinder from the reference's
// surface model. Main thread only.

#include <memory>

#include "basic_types/vector3.h"
#include "commands/alignment/iterative/palpera_iterative_alignment_cmd.h"
#include "commands/features/closest_point_on_cad.h"
#include "framework/object/iptr.h"
#include "host_api/zel_cad.h"
#include "host_api/zel_closest_point_on_mesh.h"

class IZelDocObject;

class PalperaIterativeAlignmentCmd::ClosestPointFinder {
 public:
  virtual ~ClosestPointFinder() = default;
  // False, with the outputs untouched, when the surface gives no answer.
  virtual bool find(const Vector3& point, Vector3& closest, Vector3& normal) = 0;
};

// The closest face point, located on the surface model, then evaluated on the exact surface.
class PalperaIterativeAlignmentCmd::ClosestPointFinderCAD : public ClosestPointFinder {
 public:
  // Both present: the model must outlive the finder.
  ClosestPointFinderCAD(IPtr<IZelClosestPointOnCad> closestPoint, IZelCadModel* model);
  bool find(const Vector3& point, Vector3& closest, Vector3& normal) override;

 private:
  IPtr<IZelClosestPointOnCad> closestPoint_;
  IZelCadModel* pc_;
};

class PalperaIterativeAlignmentCmd::ClosestPointFinderMesh : public ClosestPointFinder {
 public:
  explicit ClosestPointFinderMesh(IPtr<IZelClosestPointOnMesh> closestPoint);
  bool find(const Vector3& point, Vector3& closest, Vector3& normal) override;

 private:
  IPtr<IZelClosestPointOnMesh> closestPoint_;
};

// The finder for the reference's surface model ("SurfModel"): on its CAD model when it has one, else on the
// mesh. Null when the model or a closest-point service is missing or refuses it; a null reference is a
// failed assertion ("refObj_").
std::unique_ptr<PalperaIterativeAlignmentCmd::ClosestPointFinder> createPointFinder(IZelDocObject* refObj_);
