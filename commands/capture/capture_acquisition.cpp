// The running side of "Probe Capture": starting and stopping a capture, the passes and the points taken
// into them, the view fit and the virtual camera.

#include <algorithm>
#include <cfloat>
#include <utility>

#include "commands/capture/capture_click.h"
#include "commands/capture/capture_counter.h"
#include "commands/capture/capture_info_tile.h"
#include "commands/capture/capture_sampling.h"
#include "commands/capture/capture_settings.h"
#include "commands/capture/palpera_capture_cmd.h"
#include "devices/contracts/plugin_device.h"
#include "devices/events/acquisition_error.h"
#include "framework/host_glue/point_objects.h"
#include "framework/host_glue/renderer_scope.h"
#include "framework/host_glue/setting_on.h"
#include "framework/memory/assertion.h"
#include "framework/object/query_part.h"
#include "framework/registrations/registered_classes.h"
#include "framework/subject/event_name.h"
#include "host_api/gfx_view.h"
#include "host_api/gui_status_bar.h"

namespace {

constexpr const char* kSourceFile = "palperacapturecmd";
// The scene and the view's normalised coordinates, which span -1 to 1 across what the view shows.
constexpr int32_t kSceneSpace = 4;
constexpr int32_t kViewSpace = 1;
constexpr int32_t kCurrentView = -1;
constexpr int32_t kAllViews = -1;
// A first capture fits the view once its first pass has this many points, wherever they lie, so that the
// view frames the part rather than the first few points.
constexpr int32_t kFirstPassFitCount = 75;

// The normalised view box, made once: a point is in view when each mapped coordinate lies within it.
struct ViewBox {
  Vector3 min{-1, -1, -1};
  Vector3 max{1, 1, 1};
  bool holds(const Vector3& p) const {
    return p.x >= min.x && p.x <= max.x && p.y >= min.y && p.y <= max.y && p.z >= min.z && p.z <= max.z;
  }
};
const ViewBox kViewBox;

void clearStatusBar(IZelUnknown* owner) {
  SPtr<IGuiStatusBar> statusBar;
  if (statusBar) statusBar->clearHelpText(owner);
}

// A new, empty point object in the document, named name; none without the host's builder.
IPtr<IZelDocObject> createPassObject(const ZelString& name) {
  SPtr<IZelObjectBuilder> builder;
  if (!builder) return {};
  IPtr<IZelPoints> points = createPointSet();
  if (!points) return {};
  builder->beginObject("Point", name, false);
  builder->addData(points.get());
  IPtr<IZelDocObject> object;
  object.takeOwnership(builder->endObject(false));
  return object;
}

void removeFromDocument(IZelDocObject* object) {
  SPtr<IZelObjectRemover> remover;
  if (!remover) return;
  remover->removeObject(object, 0, false);
  remover->finishRemoval();
}

}  // namespace

void PalperaCaptureCmd::startCapture() {
  if (!device_) {
    reportAssertion("device_", kSourceFile, __LINE__);
    return;
  }
  if (!soundPlayer_) soundPlayer_ = loadCaptureClick();
  firstPass_ = pointObjects_.empty();
  firstPassOfCapture_ = pointObjects_.size();
  if (settingOn(capture::kShowProbeKey)) {
    probeGfx_.getService();
    if (probeGfx_) {
      probeGfx_->attach();
      probeGfx_->fitView(false);
    }
  }
  device_->addReceiver(static_cast<IZelHardProbeContinuousDataReceiver*>(this));
  capturing_ = true;
  if (!device_->startAcquisition()) {
    stopCapture();
    return;
  }
  if (settingOn(capture::kShowInfoKey)) showInfoTile(true);
  enableCaptureControls(false);
}

void PalperaCaptureCmd::stopCapture() {
  IPtr<PalperaCaptureCmd> self(this);
  // Detached before the device stops: the events it delivers during its stop would open and fill a pass
  // after the capture ended, and a stop they cause finds the capture already over.
  if (std::exchange(capturing_, false) && device_) {
    IPtr<IZelPluginDevice> device = device_;
    stopDetached(*device, {static_cast<IZelHardProbeContinuousDataReceiver*>(this)});
  }
  // A device that stops, fails or is let go of in the middle of a pass sends no end of the pass: without
  // this the pass's object would stay empty, or keep the name the next pass is given.
  if (passOpen_) stopPass();
  showInfoTile(false);
  if (probeGfx_) {
    probeGfx_->detach();
    probeGfx_.release();
  }
  enableCaptureControls(true);
  clearStatusBar(static_cast<CompBaseCmd*>(this));
}

void PalperaCaptureCmd::onMoved(const Vector3& point, const Vector3& to, const Vector3& up) {
  followProbe(point, to, up);
}

void PalperaCaptureCmd::onPointSampled(const Vector3& point, const Vector3&, const Vector3&) {
  takePoint(point);
}

void PalperaCaptureCmd::onCustomEvent(const ZelCString& name, IZelUnknown*) {
  if (isEvent(name.data(), IZelHardProbeDataReceiver::kUndoLastSampledEvent)) return undoLastPoint();
  if (!isAcquisitionError(name)) return;
  stopCapture();
  reportAcquisitionError();
}

void PalperaCaptureCmd::undoLastPoint() {
  // A single point is a pass of its own; a continuous pass is no one point to take back.
  if (mode_ != kSinglePoint || passOpen_ || pointObjects_.size() <= firstPassOfCapture_) return;
  removeFromDocument(pointObjects_.back().get());
  pointObjects_.pop_back();
  requestRedraw(false);
}

void PalperaCaptureCmd::startPass() {
  beginPass();
  passOpen_ = true;
  if (mode_ == kTime) {
    timer_.start();
    firstPoint_ = true;
  } else if (mode_ == kDistance) {
    lastPoint_ = {FLT_MAX, FLT_MAX, FLT_MAX};
    firstPoint_ = true;
  }
}

void PalperaCaptureCmd::stopPass() {
  passOpen_ = false;
  if (mode_ == kTime) timer_.stop();
  endPass();
}

void PalperaCaptureCmd::takePoint(const Vector3& point) {
  switch (mode_) {
    case kSinglePoint:
      beginPass();
      addPoint(point, false);
      endPass();
      break;
    case kTime:
      if (timer_.elapsedSeconds() >= timeRate_ || firstPoint_) {
        timer_.stop();
        timer_.start();
        addPoint(point, true);
        firstPoint_ = false;
      }
      break;
    case kDistance: {
      // Measured from the last point taken, not the last sampled: slow sweeps still take a point per
      // interval.
      const Vector3 d = lastPoint_ - point;
      if (d.x * d.x + d.y * d.y + d.z * d.z > distanceRate2_ || firstPoint_) {
        lastPoint_ = point;
        addPoint(point, true);
        firstPoint_ = false;
      }
      break;
    }
    default:
      break;
  }
}

void PalperaCaptureCmd::followProbe(const Vector3& position, const Vector3& direction, const Vector3& up) {
  if (!virtualCamera_) return;
  virtualCamera_->setPosition(position);
  virtualCamera_->setTo(direction);
  virtualCamera_->setUp(up);
  virtualCamera_->update();
  requestRedraw(true);
}

void PalperaCaptureCmd::beginPass() {
  ZelString name;
  if (gui_) gui_->getControlText(kPointObjectName, name);
  IPtr<IZelDocObject> object = createPassObject(name);
  if (!object) return;
  SPtr<IZelDoc> document;
  if (document) {
    if (pointObjects_.empty())
      document->setCurrentObject(object.get());
    else
      document->addCurrentObject(object.get());
  }
  SPtr<IGfxDoc> graphics;
  passNode_ = graphics ? graphics->objectNode(object.get()) : nullptr;
  igp_ = pointsOf(object.get());
  pointObjects_.push_back(std::move(object));
}

void PalperaCaptureCmd::addPoint(const Vector3& point, bool click) {
  if (!igp_) return;
  if (click) playCaptureClick(soundPlayer_.get());
  const double xyz[3] = {point.x, point.y, point.z};
  igp_->appendPoint(xyz, 0, true);
  if (passNode_) passNode_->invalidate(0);
  igp_->update();
  const int32_t n = igp_->pointCount();
  // The first point of a first pass says nothing yet of where the part lies.
  const bool fitted = autoViewResize_ && (n >= 2 || pointObjects_.size() >= 2) && fitViewFor(point, n);
  requestRedraw(fitted);
}

bool PalperaCaptureCmd::fitViewFor(const Vector3& point, int32_t n) {
  SPtr<IGenGfxService> gfx;
  Matrix4x4 toView;
  if (!gfx || !gfx->spaceTransform(toView, kSceneSpace, kViewSpace, 0, kCurrentView)) return false;
  const bool inView = kViewBox.holds(Matrix4x4::transformPoint(toView, point));
  if (inView && !(firstPass_ && n == kFirstPassFitCount)) return false;
  gfx->fitAll(kAllViews, true, 0);
  firstPass_ = false;
  return true;
}

void PalperaCaptureCmd::endPass() {
  if (pointObjects_.empty()) reportAssertion("!pointObjects_.empty()", kSourceFile, __LINE__);
  IZelDocObject* object = pointObjects_.empty() ? nullptr : pointObjects_.back().get();
  if (!object) reportAssertion("obj", kSourceFile, __LINE__);
  if (!igp_) reportAssertion("igp_", kSourceFile, __LINE__);
  if (!object || !igp_) {
    passNode_ = nullptr;
    igp_ = nullptr;
    return;
  }
  const int32_t n = igp_->pointCount();
  if (n < 1) {
    removeFromDocument(object);
    pointObjects_.pop_back();
  } else {
    if (sampling_ && n >= 2) {
      RendererScope batch;
      if (samplePoints(igp_, spacing_)) clearStatusBar(static_cast<CompBaseCmd*>(this));
      requestRedraw(false);
    }
    if (ICounter* counter = captureCounter(capture::kPointObjectCounter)) counter->increment();
    updatePointObjectName();
  }
  passNode_ = nullptr;
  igp_ = nullptr;
}

void PalperaCaptureCmd::startVirtualCamera() {
  virtualCamera_.createInstance(classIdOf("VirtualCamera"));
  if (!virtualCamera_) return;
  double min[3] = {FLT_MAX, FLT_MAX, FLT_MAX};
  double max[3] = {-FLT_MAX, -FLT_MAX, -FLT_MAX};
  SPtr<IZelDoc> document;
  SPtr<IGenGfxService> gfx;
  for (int32_t i = 0; document && gfx && i < document->objectCount(); ++i) {
    double box[6];
    if (!gfx->objectBox(document->objectAt(i), box) || box[0] > box[3]) continue;
    for (int axis = 0; axis < 3; ++axis) {
      min[axis] = std::min(min[axis], box[axis]);
      max[axis] = std::max(max[axis], box[axis + 3]);
    }
  }
  const bool empty = min[0] > max[0];
  const Vector3 centre =
      empty ? Vector3() : Vector3{(min[0] + max[0]) / 2, (min[1] + max[1]) / 2, (min[2] + max[2]) / 2};
  virtualCamera_->setCameraPoint(centre);
}
