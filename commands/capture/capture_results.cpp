// How "Probe Capture" ends: apply turns the passes into the command's result, cancel takes them away.

#include <vector>

#include "commands/capture/capture_counter.h"
#include "commands/capture/capture_settings.h"
#include "commands/capture/palpera_capture_cmd.h"
#include "framework/host_glue/document_glue.h"
#include "framework/host_glue/point_objects.h"
#include "framework/host_glue/renderer_scope.h"
#include "framework/translation/tr.h"
#include "host_api/gfx_view.h"

namespace {

constexpr const char* kTestObjectName = "TestObject";
constexpr const char* kPointType = "Point";
constexpr int32_t kAllViews = -1;

void setTestObject(IZelDoc& document, IZelDocObject* object) {
  document.registerObject(object, ZelString(kTestObjectName));
}

// The counter's value before it advances; 0 without a counter.
int32_t takeNumber(const char* counterName) {
  ICounter* counter = captureCounter(counterName);
  if (!counter) return 0;
  const int32_t value = counter->value();
  counter->increment();
  return value;
}

void fitAllViews() {
  SPtr<IGenGfxService> gfx;
  if (gfx) gfx->fitAll(kAllViews, true, 0);
}

}  // namespace

bool PalperaCaptureCmd::apply() {
  IPtr<PalperaCaptureCmd> self(this);
  // A pass still open is closed first and becomes part of the result; nothing arrives in the passes while
  // they are merged or taken away.
  stopCapture();
  RendererScope batch;
  SPtr<IZelDoc> document;
  const size_t n = pointObjects_.size();
  if (merge_ && n > 1) {
    if (appendToTestObject()) {
      removeAll();
      if (document) document->setCurrentObject(document->findObject(ZelString(kTestObjectName)));
    } else {
      mergePasses();
    }
  } else if (n >= 2) {
    groupPasses();
  } else if (n == 1 && document) {
    if (appendToTestObject()) {
      removeAll();
      document->setCurrentObject(document->findObject(ZelString(kTestObjectName)));
    } else {
      setTestObject(*document, pointObjects_.front().get());
    }
  }
  writeSettings();
  return true;
}

bool PalperaCaptureCmd::appendToTestObject() {
  SPtr<IZelDoc> document;
  IZelDocObject* test = document ? document->findObject(ZelString(kTestObjectName)) : nullptr;
  if (!test || !test->isType(kPointType)) return false;
  IZelPoints* target = pointsOf(test);
  if (!target) return false;
  // Captured points are in document coordinates; a moved test object keeps its points in its own frame.
  Matrix4x4 toObject = Matrix4x4::identity();
  SPtr<IGenGfxService> gfx;
  Matrix4x4 toWorld;
  if (gfx && gfx->worldTransform(test, toWorld.m)) toObject = Matrix4x4::inverse(toWorld);
  for (const IPtr<IZelDocObject>& pass : pointObjects_) {
    IZelPoints* points = pointsOf(pass.get());
    double xyz[3];
    for (int32_t i = 1; points && i <= points->pointCount(); ++i) {
      if (!points->pointAt(i, xyz)) continue;
      const Vector3 q = Matrix4x4::transformPoint(toObject, {xyz[0], xyz[1], xyz[2]});
      const double mapped[3] = {q.x, q.y, q.z};
      target->appendPoint(mapped, 0, true);
    }
  }
  target->update();
  SPtr<IGfxDoc> graphics;
  if (IZelGroupNode* node = graphics ? graphics->objectNode(test) : nullptr) node->invalidate(0);
  return true;
}

void PalperaCaptureCmd::mergePasses() {
  SPtr<IZelObjectBuilder> builder;
  SPtr<IZelDoc> document;
  if (!builder || !document) return;
  const ZelString name = tr("Merged Points %1", ZelString::number(takeNumber(capture::kMergedObjectCounter)));
  // 1-based, as the point set's merge reads it.
  std::vector<IZelPoints*> sets{nullptr};
  for (const IPtr<IZelDocObject>& pass : pointObjects_) {
    if (IZelPoints* points = pointsOf(pass.get())) sets.push_back(points);
  }
  const int32_t attribute = pointObjects_.back()->attribute();
  IPtr<IZelPoints> points = createPointSet();
  if (!points) return;
  points->merge(sets.data(), static_cast<int32_t>(sets.size() - 1), 0, true, nullptr);
  builder->beginObject(kPointType, name, true);
  builder->addData(points.get());
  builder->setAttribute(attribute);
  for (const IPtr<IZelDocObject>& pass : pointObjects_) builder->addSourceObject(pass.get(), false);
  IPtr<IZelDocObject> merged;
  merged.takeOwnership(builder->endObject(true));
  // Without the merged object the passes are all the captured points there are: they stay.
  if (!merged) return;
  setTestObject(*document, merged.get());
  removeAll();
  fitAllViews();
}

void PalperaCaptureCmd::groupPasses() {
  SPtr<IZelDoc> document;
  if (!document) return;  // no group can be made: the counter keeps its number for the next name used
  // The number is taken only once the group exists, so that a group the document cannot make uses none up.
  IZelDocObject* group = createGroupInCurrentPhase(ZelString(), true);
  if (group)
    group->setObjectName(tr("Scan Objects %1", ZelString::number(takeNumber(capture::kGroupObjectCounter))));
  for (const IPtr<IZelDocObject>& pass : pointObjects_) pass->setGroup(group);
}

void PalperaCaptureCmd::removeAll() {
  SPtr<IZelObjectRemover> remover;
  if (remover) {
    for (const IPtr<IZelDocObject>& pass : pointObjects_) remover->removeObject(pass.get(), 0, false);
    remover->finishRemoval();
  }
  pointObjects_.clear();
}

bool PalperaCaptureCmd::cancel() {
  IPtr<PalperaCaptureCmd> self(this);
  // Stopped before the passes go: the events the device delivers during its stop would otherwise open a
  // new pass that nothing removes.
  stopCapture();
  removeAll();
  makeCurrentObjects(activationObjects_);
  return true;
}
