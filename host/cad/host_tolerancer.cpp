#include "host/cad/host_tolerancer.h"

#include "basic_types/bit_vector.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "host_api/points.h"

namespace {

IPtr<CadSurfaceModel> modelOf(IZelCadSurfaceData* data) {
  return IPtr<CadSurfaceModel>(queryPart<CadSurfaceModel>(data));
}

}  // namespace

bool HostDistanceEvaluator::setSurfaceData(IZelCadSurfaceData* data) {
  model_ = modelOf(data);
  return model_.get() != nullptr;
}

void HostDistanceEvaluator::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IToleranceDistanceEvaluator>(this).end();
}

bool HostSparseTolerancer::setSurfaceData(IZelCadSurfaceData* data, int32_t faces, int32_t edges) {
  model_ = modelOf(data);
  current_ = false;
  searchFaces_ = faces != 0;
  searchEdges_ = edges != 0;
  return model_.get() != nullptr;
}

bool HostSparseTolerancer::setToleranceHandle(ZelToleranceHandle handle, int32_t flag) {
  current_ = model_ && flag == 1 && handle == model_->toleranceHandle();
  return current_;
}

void HostSparseTolerancer::setEvaluator(IToleranceDistanceEvaluator* evaluator) {
  evaluator_ = IPtr<HostDistanceEvaluator>(queryPart<HostDistanceEvaluator>(evaluator));
}

const BrepModel* HostSparseTolerancer::searched() const {
  if (!model_ || !current_ || !evaluator_ || evaluator_->model() != model_.get()) return nullptr;
  return &model_->brep();
}

bool HostSparseTolerancer::run(RealPArray* points, const BitVector& selection) {
  queries_.clear();
  elements_.clear();
  points_.clear();
  if (!searched() || !points) return false;
  for (int32_t entry = 1; entry <= points->count(); ++entry) {
    if (!selection.test(entry)) continue;
    const double* p = points->at(entry);
    queries_.push_back({p[0], p[1], p[2]});
  }
  return true;
}

void HostSparseTolerancer::addResult(uint32_t element, const BrepModel::Point& point) {
  elements_.push_back(element);
  for (double c : point) points_.push_back(reportPoints_ ? static_cast<float>(c) : 0.0f);
}

bool HostSparseTolerancer::evaluateFaces() {
  const BrepModel* model = searched();
  if (!model) return false;
  if (!searchFaces_) return true;
  for (const BrepModel::Point& query : queries_) {
    if (std::optional<BrepModel::FacePoint> found = model->closestOnFaces(query)) {
      addResult(found->face, found->point);
    }
  }
  return true;
}

bool HostSparseTolerancer::evaluateEdges() {
  const BrepModel* model = searched();
  if (!model) return false;
  if (!searchEdges_) return true;
  for (const BrepModel::Point& query : queries_) {
    if (std::optional<BrepModel::EdgePoint> found = model->closestOnEdges(query)) {
      addResult(model->faceCount() + found->edge, found->point);
    }
  }
  return true;
}

void HostSparseTolerancer::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<ISparseTolerancer>(this).end();
}
