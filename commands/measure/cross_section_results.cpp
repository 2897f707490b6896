// How "Probe Sections" ends: apply writes the section points as point objects, cancel takes back what the
// command made, finish fits the curves anew.

#include <vector>

#include "commands/measure/palpera_cross_section_cmd.h"
#include "framework/host_glue/document_glue.h"
#include "framework/host_glue/point_objects.h"
#include "framework/host_glue/renderer_scope.h"
#include "framework/object/query_part.h"
#include "framework/registrations/static_constants.h"
#include "host_api/counter_store.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_object_extras.h"

bool PalperaCrossSectionCmd::apply() {
  if (pointObject_) {
    SPtr<ICounterStore> counters;
    if (ICounter* counter = counters ? counters->find(ZelCString(kSectionPointObjectCounter)) : nullptr)
      counter->increment();
  }
  if (checked(kMultiplePointObjects) && sections_.size() >= 2 && writeSectionPointObjects()) {
    SPtr<IZelObjectRemover> remover;
    if (remover && pointObject_) {
      remover->removeObject(pointObject_.get(), 0, false);
      remover->finishRemoval();
    }
    pointObject_.release();
    displayModel_.release();
  }
  writeSettings();
  return true;
}

bool PalperaCrossSectionCmd::writeSectionPointObjects() {
  SPtr<IZelObjectBuilder> builder;
  SPtr<IZelObjectRemover> remover;
  if (!builder || !remover) return false;
  ZelString base;
  if (gui_) gui_->getControlText(kPointObjectName, base);
  IPtr<IZelDocObject> group(createGroupInCurrentPhase(base));
  if (!group) return false;
  std::vector<IPtr<IZelDocObject>> built;
  for (size_t i = 0; i < sections_.size(); ++i) {
    const ZelString number = ZelString::number(static_cast<int32_t>(i + 1));
    const ZelString* args[] = {&base, &number};
    const ZelString name = ZelString(u"%1-%2").substituteArgs(args, 2);
    IPtr<IZelPoints> points;
    points.getService();
    IPtr<IZelDocObject> object;
    if (points && sections_[i]->pointArray() && builder->beginObject("Point", name, false)) {
      points->setArray(sections_[i]->pointArray());
      builder->addData(points.get());
      object.takeOwnership(builder->endObject(true));
    }
    if (!object) {
      // Nothing is lost: what was built goes again and the single object stays.
      for (const IPtr<IZelDocObject>& made : built) remover->removeObject(made.get(), 0, false);
      remover->removeObject(group.get(), 0, false);
      remover->finishRemoval();
      return false;
    }
    object->setGroup(group.get());
    built.push_back(object);
  }
  for (size_t i = 0; i < sections_.size(); ++i) {
    IPtr<RealPArray> moved;
    moved.takeOwnership(sections_[i]->giveUpArray());  // the object holds its own reference now
    sectionWritten_[i] = true;
  }
  return true;
}

bool PalperaCrossSectionCmd::cancel() {
  stopCapture(false);
  SPtr<IZelObjectRemover> remover;
  if (remover) {
    if (pointObject_) remover->removeObject(pointObject_.get(), 0, false);
    for (const IPtr<IZelDocObject>& curve : curveObjects_) remover->removeObject(curve.get(), 0, false);
    if (curveGroup_) remover->removeObject(curveGroup_.get(), 0, false);
    remover->finishRemoval();
  }
  pointObject_.release();
  displayModel_.release();
  curveObjects_.clear();
  curveGroup_.release();
  // The document gets back the objects it had at activation, the first as its current object.
  makeCurrentObjects(activationObjects_);
  return true;
}

void PalperaCrossSectionCmd::finish() {
  stopCapture(true);
  removeCurves();
  makeCurves();
  showCurveEnds();
}

void PalperaCrossSectionCmd::removeCurves() {
  SPtr<IZelObjectRemover> remover;
  if (remover) {
    for (const IPtr<IZelDocObject>& curve : curveObjects_) remover->removeObject(curve.get(), 0, false);
    if (curveGroup_) remover->removeObject(curveGroup_.get(), 0, false);
    remover->finishRemoval();
  }
  curveObjects_.clear();
  curveGroup_.release();
}

void PalperaCrossSectionCmd::showCurveEnds() {
  const bool on = checked(kShowCurveEnds);
  for (const IPtr<IZelDocObject>& curve : curveObjects_) {
    if (auto* ends = queryPart<IZelCurveEnds>(curve->subObject("PrimCurveEnds"))) ends->setVisible(on, true);
  }
  requestRedraw(false);
}
