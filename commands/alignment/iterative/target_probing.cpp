// The iterative alignment's probing: which targets are probed and in which order, how each probed point is
// stored and realigns the device, how the view flies to the target to probe and zooms in as the probe comes
// near, how a point is taken back, free probing once every target is in tolerance, and the end of a pass.

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "commands/alignment/common/alignment_tolerance.h"
#include "commands/alignment/common/assertion_sites.h"
#include "commands/alignment/common/fit_spread.h"
#include "commands/alignment/common/part_corners.h"
#include "commands/alignment/iterative/camera_animators.h"
#include "commands/alignment/iterative/iterative_realignment.h"
#include "commands/alignment/iterative/palpera_iterative_alignment_cmd.h"
#include "commands/alignment/iterative/probe_receivers.h"
#include "commands/alignment/iterative/target_data.h"
#include "commands/alignment/iterative/target_spread.h"
#include "commands/alignment/iterative/view_point.h"
#include "devices/contracts/plugin.h"
#include "devices/contracts/plugin_device.h"
#include "devices/events/acquisition_error.h"
#include "framework/host_glue/renderer_scope.h"
#include "framework/host_glue/setting_on.h"
#include "framework/memory/assertion.h"
#include "framework/object/host_lookup.h"
#include "framework/object/query_part.h"
#include "framework/translation/tr.h"
#include "host_api/gui_dialog.h"
#include "host_api/gui_simple_dialog.h"
#include "host_api/module_class_ids.h"
#include "ui/probe/zel_hard_probe_probe_gfx.h"
#include "ui/tiles/hard_probe_tile_facade.h"
#include "ui/tiles/zel_hard_probe_tile.h"

namespace {

constexpr const char* kSourceFile = assertion_sites::kIterativeSource;
constexpr const char* kShowProbeKey = "Palpera/Gfx/ShowProbe";
constexpr const char* kShowInfoKey = "Palpera/Tile/ShowInfo";
// 1 - 1/φ: the share of the reference's size a target's view shows, before halving.
const double kViewShare = 1.0 - 2.0 / (std::sqrt(5.0) + 1.0);
const double kSinOneDegree = std::sin(std::numbers::pi / 180.0);

void showInfoTile(bool show, bool brief) {
  IPtr<IZelHardProbeTile> tile = tileFacade();
  if (!tile) return;
  tile->setFlag("ShowFeatureInfo", 0);
  tile->setFlag("ShowBriefInstructions", brief ? 1 : 0);
  tile->setActive(show);
  tile->showTile(ZelCString("hardprobe info tile"), show);
  if (!show) tile->clear();
}

void setBriefInstructions(const ZelString& text) {
  if (IPtr<IZelHardProbeTile> tile = tileFacade()) tile->setText("BriefInstructions", text);
}

bool sameMatrix(const Matrix4x4& a, const Matrix4x4& b) {
  return std::equal(std::begin(a.m), std::end(a.m), std::begin(b.m));
}

}  // namespace

using Cmd = PalperaIterativeAlignmentCmd;

TargetData* Cmd::entryOf(const Target* target) {
  for (TargetData& entry : targetData_) {
    if (entry.nominalTarget() == target) return &entry;
  }
  return nullptr;
}

void Cmd::enableForDevice(bool enabled) {
  if (!gui_) return;
  constexpr int32_t kDialogButton = IGuiDialog::kStandardControl1 - 1;
  const int32_t order[] = {kDialogButton, IGuiDialog::kStandardControl1, kOptionsBox, kStartProbing,
                           kShowPosition};
  if (enabled) {
    for (auto id = std::rbegin(order); id != std::rend(order); ++id)
      gui_->enableControl(*id, true, IGuiDialog::kEnableDefault);
  } else {
    for (int32_t id : order) gui_->enableControl(id, false, IGuiDialog::kEnableDefault);
  }
}

void Cmd::showProbe() {
  if (!settingOn(kShowProbeKey)) return;
  probeGraphics_.createInstance(kHardProbeProbeGfxClassId);
  if (!probeGraphics_) return;
  probeGraphics_->setParentObject(refObj_.get());
  probeGraphics_->attach();
}

void Cmd::dropProbe() {
  if (!probeGraphics_) return;
  probeGraphics_->detach();
  probeGraphics_.release();
}

void Cmd::removeReceivers() {
  if (receiver_) device_->removeReceiver(receiver_.get());
  if (freeReceiver_) device_->removeReceiver(freeReceiver_.get());
  receiver_.release();
  freeReceiver_.release();
}

void Cmd::startProbing(bool reset) {
  if (!device_) {
    reportAssertion("device_", kSourceFile, __LINE__);
    return;
  }
  if (!plugin_ || receiver_ || position_.isRunning()) return;
  if (targetData_.size() < static_cast<size_t>(kMinimumTargets)) {
    SPtr<IGuiSimpleDlg> dialog;
    if (dialog)
      dialog->show(IGuiSimpleDlg::kAcknowledgedStyle,
                   tr("Define at least %1 targets before probing.", ZelString("3")), ZelString(), false,
                   false, false);
    return;
  }
  probeQueue_.clear();
  for (const TargetData& entry : targetData_) {
    if (!entry.measured || !entry.inTolerance) probeQueue_.push_back(entry.nominal);
  }
  freeProbing_ = probeQueue_.empty();
  // The hardware matrix itself, not the combined one, which holds the temperature scale already.
  probingSnapshot_ = plugin_->hardwareMatrix();
  resetPass_ = false;
  if (!freeProbing_) {
    viewTheme_ = std::make_unique<TemporaryViewTheme>();
    viewTheme_->apply();
    if (reset && !isAligned()) {
      resetPass_ = true;
      setDeviceTransform(*plugin_, Matrix4x4::identity(), matrixDisplay_);
    }
  }
  showProbe();
  receiver_ = IPtr<HardProbeDataReceiver>(new HardProbeDataReceiver(*this));
  device_->addReceiver(receiver_.get());
  if (freeProbing_) {
    freeReceiver_ = IPtr<FreeHardProbeDataReceiver>(new FreeHardProbeDataReceiver(*this, targetData_));
    device_->addReceiver(freeReceiver_.get());
  }
  acquisitionHardware_ = plugin_->hardwareMatrix();
  if (!device_->startAcquisition()) {
    // Nothing of the pass may stay: receivers, probe, snapshot and identity, the view theme.
    removeReceivers();
    dropProbe();
    if (resetPass_) setDeviceTransform(*plugin_, probingSnapshot_, matrixDisplay_);
    viewTheme_.reset();
    probeQueue_.clear();
    freeProbing_ = false;
    return;
  }
  // Inside a pass the points must keep arriving untransformed when no alignment can be computed.
  if (realignment_) realignment_->setNoAlignmentMatrix(Matrix4x4::identity());
  enableForDevice(false);
  if (freeProbing_)
    showFreeProbingTile();
  else
    goToTarget(probeQueue_.front().get());
}

void Cmd::stopProbing(bool cancelled) {
  if (!receiver_) return;
  const IPtr<HardProbeDataReceiver> receiver = std::move(receiver_);
  const IPtr<FreeHardProbeDataReceiver> freeReceiver = std::move(freeReceiver_);
  showInfoTile(false, true);
  stopDetached(*device_, {receiver.get(), freeReceiver.get()});
  dropProbe();
  // A pass ending without an alignment, cancelled or not, gives back the matrix it found: the identity it
  // probed through must not stay for OK to commit. One ending aligned leaves that alignment, even a cancelled
  // reset pass: its touches stay in the table, whose statistics would otherwise describe another matrix.
  if (plugin_ && !isAligned()) setDeviceTransform(*plugin_, probingSnapshot_, matrixDisplay_);
  for (TargetData& entry : targetData_) {
    entry.setInZone(false);
    entry.setCurrent(false);
  }
  probeQueue_.clear();
  probedHistory_.clear();
  zoomDistance_ = 0;
  pendingViewPoint_.reset();
  lastViewSize_ = 0;
  freeProbing_ = false;
  if (realignment_) realignment_->setNoAlignmentMatrix(activationMatrix_.matrix());
  enableForDevice(true);
  if (viewTheme_ && viewTheme_->isApplied()) {
    moveCameraBack(*viewTheme_);
    viewTheme_->remove();
  }
  viewTheme_.reset();
  requestRedraw(false);
  if (cancelled) return;
  // A pass ended by a touch that arrived inside a restart's stop: the question, and the pass a "yes"
  // starts, wait until that stop is over.
  if (restarting_)
    reprobeQuestionDue_ = true;
  else
    askReprobeFailed();
}

void Cmd::askReprobeFailed() {
  tellLooseTargets();
  const bool anyFailed =
      std::ranges::any_of(targetData_, [](const TargetData& entry) { return !entry.isInTolerance(); });
  if (anyFailed && askToProbeFailedPointsAgain()) startProbing(false);
}

void Cmd::tellLooseTargets() {
  if (!realignment_ || !realignment_->isAligned()) return;
  const double spread = targetSpread(targetData_, ownBoxCorners(refObj_.get()), kProbingError);
  SPtr<IGuiSimpleDlg> message;
  if (spread <= tolerance_ || !message) return;
  const auto millimetres = [](double metres) {
    return ZelString::formatDouble(metres * 1000, {.precision = ".3"});
  };
  message->show(IGuiSimpleDlg::kMessageStyle,
                tr("The targets lie too close to one line or to each other: at a probing error of %1 mm the "
                   "alignment fitted to them may put the part off by up to %2 mm at its far corners, beyond "
                   "the alignment tolerance of %3 mm. Add a target further off the others and probe it.",
                   millimetres(kProbingError), millimetres(spread), millimetres(tolerance_)),
                ZelString(), false, false, false);
}

void Cmd::restartAcquisition() {
  // Asked for again by a touch delivered inside the stop below: that restart starts with the newest matrix.
  if (restarting_) return;
  restarting_ = true;
  // The touches in transit arrive here, each taken off with the matrix the stopped acquisition started with.
  device_->stopAcquisition();
  restarting_ = false;
  if (!receiver_) {
    if (std::exchange(reprobeQuestionDue_, false)) askReprobeFailed();
    return;
  }
  acquisitionHardware_ = plugin_->hardwareMatrix();
  if (device_->startAcquisition()) return;
  reportAcquisitionError();
  stopProbing(true);
}

void Cmd::flyTo(const ViewPoint& viewPoint) {
  moveCameraTo(viewPoint);
  requestRedraw(false);
}

void Cmd::goToTarget(Target* target) {
  if (!target) return;
  if (TargetData* entry = entryOf(target)) entry->setCurrent(true);
  double f = 0;
  bool zoomStep = false;
  if (freeProbing_) {
    f = kViewShare * 0.5;
  } else {
    f = kViewShare * 2.0;
    zoomStep = isAligned();
    if (!probedHistory_.empty()) {
      const Target& last = *probedHistory_.front();
      const Vector3 u = target->direction.normalized();
      const bool parallel = Vector3::isParallel(target->direction, last.direction, kSinOneDegree);
      const bool notAbove = u.dot(last.point) - u.dot(target->point) < 1e-6;
      if (parallel && notAbove && (target->point - last.point).length() < lastViewSize_) {
        f *= 0.5;
        zoomStep = false;
      }
    }
  }
  const double size = referenceSize_ * f * 0.5;
  flyTo(ViewPoint(refObj_.get(), target->point, target->direction, size));
  zoomDistance_ = 0;
  pendingViewPoint_.reset();
  lastViewSize_ = size;
  if (zoomStep) {
    zoomDistance_ = kViewShare * size;
    lastViewSize_ = size * 0.5;
    pendingViewPoint_ =
        std::make_unique<ViewPoint>(refObj_.get(), target->point, target->direction, lastViewSize_);
  }
  if (settingOn(kShowInfoKey)) showInfoTile(true, true);
  setBriefInstructions(tr("Probe %1", target->name));
}

void Cmd::showFreeProbingTile() {
  for (TargetData& entry : targetData_) entry.setCurrent(false);
  if (settingOn(kShowInfoKey)) showInfoTile(true, true);
  setBriefInstructions(tr("Probe targets"));
}

void Cmd::approachTarget(Target* target) {
  probeQueue_.push_front(IPtr<Target>(target));
  goToTarget(target);
}

void Cmd::dropFreeTarget() {
  if (!probeQueue_.empty()) probeQueue_.pop_front();
}

Vector3 Cmd::inModel(const Vector3& devicePoint) const {
  const Matrix4x4 deviceToModel =
      realignment_ ? realignment_->deviceToModel() * Matrix4x4::inverse(acquisitionHardware_) : Matrix4x4();
  return Matrix4x4::transformPoint(deviceToModel, devicePoint);
}

void Cmd::onMoved(const Vector3& point) {
  if (!isAligned() || probeQueue_.empty()) return;
  const Target& target = *probeQueue_.front();
  const Vector3 d = inModel(point) - target.point;
  const double dist = d.length();
  const double sideways = Vector3::perpendicularPart(d, target.direction).length();
  bool inZone = false;
  if (tolerance_ >= sideways) {
    // The first entry's probe radius, whichever target is probed.
    const double radius = targetData_.empty() ? 0.0 : targetData_.front().probeRadius;
    inZone = Vector3::projectOnto(d, target.direction).length() <= radius + tolerance_;
  }
  if (TargetData* entry = entryOf(&target)) entry->setInZone(inZone);
  const Vector3 towards = d.normalized();
  if (pendingViewPoint_ && zoomDistance_ >= dist && towards.dot(target.direction) > 0) {
    flyTo(*pendingViewPoint_);
    zoomDistance_ = 0;
    pendingViewPoint_.reset();
  }
}

void Cmd::onPointMeasured(const Vector3& point, const Vector3& direction, double radius) {
  if (probeQueue_.empty() || !plugin_) return;
  const IPtr<Target> target = probeQueue_.front();
  TargetData* entry = entryOf(target.get());
  if (!entry) return;
  // Only the hardware matrix comes off: the stored point keeps the temperature scale, so the alignment
  // fitted to the stored points is the whole hardware matrix the device needs. It is the one the device
  // converted the point with, the matrix its acquisition started with, though the command may have set a
  // newer one while the point was on its way.
  const Matrix4x4 toRaw = Matrix4x4::inverse(acquisitionHardware_);
  IPtr<Target> measured(new Target);
  measured->point = Matrix4x4::transformPoint(toRaw, point);
  measured->direction = Matrix4x4::transformVector(toRaw, direction).normalized();
  measured->criticalDistance = target->criticalDistance;
  entry->measured = measured;
  entry->probeRadius = radius;
  realignment_->updateAlignment();
  if (freeProbing_) {
    if (TargetData* current = entryOf(target.get())) current->setCurrent(true);
  }
  requestRedraw(false);
  refreshTable();
  // The running device keeps the matrix it started with: a changed one takes effect only on a new start,
  // whether the realignment succeeded or not.
  const bool hardwareChanged = !sameMatrix(plugin_->hardwareMatrix(), acquisitionHardware_);
  if (freeProbing_) {
    if (hardwareChanged) restartAcquisition();
    return;
  }
  probeQueue_.pop_front();
  if (probeQueue_.empty()) {
    stopProbing(false);
    return;
  }
  probedHistory_.push_front(target);
  if (hardwareChanged) restartAcquisition();
  if (!probeQueue_.empty()) goToTarget(probeQueue_.front().get());
}

void Cmd::undoLastSampled() {
  if (probedHistory_.empty() || freeProbing_ || targetData_.empty()) return;
  const IPtr<Target> target = probedHistory_.front();
  probedHistory_.pop_front();
  if (TargetData* entry = entryOf(target.get())) {
    entry->measured.release();
    entry->computeDeviation();
  }
  realignment_->updateAlignment();
  requestRedraw(false);
  refreshTable();
  // Queued again before the restart: a touch behind the undo, delivered during the restart's stop, probes
  // the target taken back, as it does when it arrives later.
  probeQueue_.push_front(target);
  restartAcquisition();
  if (receiver_ && !probeQueue_.empty()) goToTarget(probeQueue_.front().get());
}
