#include "commands/features/zel_closest_point_on_cad.h"

#include "basic_types/bit_vector.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "framework/registrations/class_registration.h"

namespace {

const ClassRegistration<ZelClosestPointOnCad> registration(registeredClass("ZelClosestPointOnCad"));

// The query array: plain points, made once per model with room to spare.
constexpr int32_t kQueryEntryWidth = 1;
constexpr int32_t kQueryCapacity = 1024;

// What each caller hands over: the CAD object itself, its surface model, or its topology.
IZelCadModel* cadModelOf(IZelUnknown* model) {
  if (IZelCadModel* cad = queryPart<IZelCadModel>(model)) return cad;
  if (IZelMeshExt* mesh = queryPart<IZelMeshExt>(model)) return mesh->cadModel();
  return nullptr;
}

Vector3 widened(const float* xyz) {
  return {xyz[0], xyz[1], xyz[2]};
}

}  // namespace

bool ZelClosestPointOnCad::findServices() {
  if (!tolerancer_) tolerancer_.getService();
  if (!evaluator_) evaluator_.getService();
  return tolerancer_ && evaluator_;
}

bool ZelClosestPointOnCad::setCadModel(IZelUnknown* model) {
  model_ = nullptr;
  closestElement_ = closestEdgeElement_ = 0;
  IZelCadModel* cad = cadModelOf(model);
  if (!findServices() || !cad) return false;
  IZelCadSurfaceData* surface = cad->surfaceData();
  if (!surface || !tolerancer_->setSurfaceData(surface, 1, 1)) return false;
  SPtr<IRealPArrayFactory> arrays;
  if (!arrays) return false;
  queryPoints_.takeOwnership(arrays->createArray(kQueryEntryWidth, kQueryCapacity));
  if (!queryPoints_) return false;
  const bool accepted = evaluator_->setSurfaceData(surface);
  IZelCadTolerance* tolerance = surface->tolerance();
  if (!tolerance || !tolerancer_->setToleranceHandle(tolerance->toleranceHandle(), 1)) return false;
  tolerancer_->setOption(1);
  queryPoints_->clear();
  const double origin[3] = {0, 0, 0};
  queryPoints_->append(origin);
  tolerancer_->setEvaluator(evaluator_.get());
  if (accepted) model_ = cad;
  return accepted;
}

bool ZelClosestPointOnCad::computeClosestPoint(const Vector3& point, Vector3& closest) {
  if (!model_) return false;
  closestElement_ = closestEdgeElement_ = 0;
  double at[3];
  point.copyTo(at);
  queryPoints_->set(1, at);
  BitVector selection(1);
  selection.set(1);
  tolerancer_->run(queryPoints_.get(), selection);
  tolerancer_->evaluateFaces();
  tolerancer_->evaluateEdges();
  const int32_t count = tolerancer_->resultCount();
  const uint32_t* elements = tolerancer_->resultElements();
  const float* points = tolerancer_->resultPoints();
  closestPoint_ = count > 0 ? widened(points) : Vector3();
  if (count > 0 && model_->faceIdOf(elements[0])) closestElement_ = elements[0];
  // The edge answer is the query's own closest point on the edges, not the edge nearest the face point.
  for (int32_t i = 0; i < count; ++i) {
    if (model_->edgeIdOf(elements[i])) {
      closestEdgeElement_ = elements[i];
      closestEdgePoint_ = widened(points + 3 * i);
      break;
    }
  }
  closest = closestPoint_;
  return true;
}

bool ZelClosestPointOnCad::getClosestEdge(uint32_t& edge, Vector3& point) {
  if (!model_ || !closestEdgeElement_) return false;
  const uint32_t id = model_->edgeIdOf(closestEdgeElement_);
  if (!id) return false;
  edge = id;
  point = closestEdgePoint_;
  return true;
}

bool ZelClosestPointOnCad::getClosestFace(uint32_t& face, Vector3& point) {
  if (!model_ || !closestElement_) return false;
  const uint32_t id = model_->faceIdOf(closestElement_);
  IZelCadTopology* topology = model_->topology();
  if (!id || !topology) return false;
  double at[3], parameter[2] = {-1.0, -1.0}, onFace[3];
  closestPoint_.copyTo(at);
  if (!topology->parameterOf(id, at, parameter)) return false;
  if (!topology->evaluate(id, onFace, parameter)) return false;
  face = id;
  point = Vector3(onFace[0], onFace[1], onFace[2]);
  return true;
}

bool ZelClosestPointOnCad::locate(ZelMeshLocation& location, const Vector3& point) {
  if (!model_ || !closestElement_) return false;
  double at[3];
  point.copyTo(at);
  return model_->locate(closestElement_, at, &location);
}

void ZelClosestPointOnCad::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelClosestPointOnCad>(this).end();
}
