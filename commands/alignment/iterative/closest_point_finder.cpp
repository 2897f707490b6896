#include "commands/alignment/iterative/closest_point_finder.h"

#include <cfloat>

#include "commands/alignment/common/assertion_sites.h"
#include "framework/memory/assertion.h"
#include "framework/object/query_part.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_mesh.h"

using Cmd = PalperaIterativeAlignmentCmd;

Cmd::ClosestPointFinderCAD::ClosestPointFinderCAD(IPtr<IZelClosestPointOnCad> closestPoint,
                                                  IZelCadModel* model)
    : closestPoint_(std::move(closestPoint)), pc_(model) {
  if (!closestPoint_) reportAssertion("closestPoint_", assertion_sites::kIterativeSource, __LINE__);
  if (!pc_) reportAssertion("pc_", assertion_sites::kIterativeSource, __LINE__);
}

bool Cmd::ClosestPointFinderCAD::find(const Vector3& point, Vector3& closest, Vector3& normal) {
  Vector3 onFaces;
  if (!closestPoint_ || !pc_ || !closestPoint_->computeClosestPoint(point, onFaces)) return false;
  ZelMeshLocation location{0, FLT_MAX, FLT_MAX};
  if (!closestPoint_->locate(location, onFaces)) return false;
  double exact[3], facing[3];
  if (!pc_->evaluate(location, exact, facing)) return false;
  closest = {exact[0], exact[1], exact[2]};
  normal = {facing[0], facing[1], facing[2]};
  return true;
}

Cmd::ClosestPointFinderMesh::ClosestPointFinderMesh(IPtr<IZelClosestPointOnMesh> closestPoint)
    : closestPoint_(std::move(closestPoint)) {
  if (!closestPoint_) reportAssertion("closestPoint_", assertion_sites::kIterativeSource, __LINE__);
}

bool Cmd::ClosestPointFinderMesh::find(const Vector3& point, Vector3& closest, Vector3& normal) {
  return closestPoint_ && closestPoint_->closestPoint(point, closest, normal);
}

std::unique_ptr<Cmd::ClosestPointFinder> createPointFinder(IZelDocObject* refObj_) {
  if (!refObj_) {
    reportAssertion("refObj_", assertion_sites::kIterativeSource, __LINE__);
    return nullptr;
  }
  IZelUnknown* surface = refObj_->subObject("SurfModel");
  auto* mesh = queryPart<IZelMesh>(surface);
  auto* extension = queryPart<IZelMeshExt>(surface);
  if (!mesh || !extension) return nullptr;
  if (extension->isCad()) {
    IZelCadModel* model = extension->cadModel();
    IPtr<IZelClosestPointOnCad> closestPoint;
    closestPoint.getService();
    if (!model || !closestPoint || !closestPoint->setCadModel(model)) return nullptr;
    return std::make_unique<Cmd::ClosestPointFinderCAD>(std::move(closestPoint), model);
  }
  IPtr<IZelClosestPointOnMesh> closestPoint;
  closestPoint.getService();
  if (!closestPoint || !closestPoint->setMesh(mesh)) return nullptr;
  return std::make_unique<Cmd::ClosestPointFinderMesh>(std::move(closestPoint));
}
