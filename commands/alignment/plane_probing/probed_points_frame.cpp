#include "commands/alignment/plane_probing/probed_points_frame.h"

#include "commands/alignment/plane_probing/plane_fit_and_view.h"
#include "framework/host_glue/document_glue.h"
#include "framework/host_glue/point_objects.h"
#include "framework/host_glue/renderer_scope.h"
#include "framework/object/query_part.h"
#include "host_api/gfx_view.h"
#include "host_api/points.h"

namespace {

constexpr int32_t kAllViews = -1;
constexpr int32_t kCurrentView = -1;
// The camera's scale after a fit is multiplied by this.
constexpr double kCameraScale = 0.7;
constexpr int32_t kPointsBeforeRefit = 3;

}  // namespace

void fitViewWithRoom() {
  SPtr<IGenGfxService> graphics;
  if (!graphics || !graphics->fitAll(kAllViews, true, 0)) return;
  const double half = 1.0 / kCameraScale;
  const double window[4] = {-half, -half, half, half};
  graphics->setViewWindow(kCurrentView, window);
}

namespace {

IZelPoints* modelOf(IZelDocObject* object) {
  return object ? queryPart<IZelPoints>(object->subObject("PointModel")) : nullptr;
}

}  // namespace

ProbedPointsFrame::ProbedPointsFrame(const ZelString& name) : points_(createPointObject(name)) {
  if (points_) points_->setProperty("Visible", false);
}

ProbedPointsFrame::~ProbedPointsFrame() {
  removeObjectFromDocument(points_.get());
}

void ProbedPointsFrame::addPoint(const Vector3& point) {
  IZelPoints* model = modelOf(points_.get());
  RealPArray* array = model ? model->array() : nullptr;
  if (!array) return;
  const double entry[3] = {point.x, point.y, point.z};
  array->append(entry);
  model->update();
  keepInView(*array);
}

void ProbedPointsFrame::removeLastPoint() {
  IZelPoints* model = modelOf(points_.get());
  RealPArray* array = model ? model->array() : nullptr;
  if (!array || !array->removeLast()) return;
  model->update();
}

void ProbedPointsFrame::showPoints(const std::vector<Vector3>& points) {
  IZelPoints* model = modelOf(points_.get());
  RealPArray* array = model ? model->array() : nullptr;
  if (!array) return;
  array->clear();
  for (const Vector3& point : points) {
    const double entry[3] = {point.x, point.y, point.z};
    array->append(entry);
  }
  model->update();
  keepInView(*array);
}

void ProbedPointsFrame::keepInView(RealPArray& array) {
  const int32_t count = array.count();
  if (count < kPointsBeforeRefit) return;
  for (int32_t i = count; i >= 1; --i) {
    const double* p = array.at(i);
    if (!isPointInView({p[0], p[1], p[2]})) {
      refit();
      return;
    }
  }
}

void ProbedPointsFrame::refit() {
  SPtr<IZelDoc> document;
  if (!document) return;
  IPtr<IZelDocObject> active(document->activeObject());
  document->setActiveObject(points_.get());
  points_->setProperty("Visible", true);
  fitViewWithRoom();
  points_->setProperty("Visible", false);
  if (active) document->setActiveObject(active.get());
  requestRedraw(false);
}
