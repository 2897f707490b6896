// The probing run of "3-2-1 Device Alignment": the device probes the three planes with its transform set
// aside, and the run's end aligns on them or gives the transform back; and the live position shown between
// runs.

#include <memory>
#include <utility>

#include "commands/alignment/device_to_part/palpera_device_to_part_alignment_cmd.h"
#include "commands/alignment/plane_probing/plane_colors.h"
#include "commands/alignment/plane_probing/plane_probing_instructions.h"
#include "commands/alignment/plane_probing/probed_points_frame.h"
#include "framework/host_glue/renderer_scope.h"
#include "framework/host_glue/setting_on.h"
#include "framework/object/host_lookup.h"
#include "framework/translation/tr.h"
#include "host_api/gui_simple_dialog.h"
#include "host_api/module_class_ids.h"

void PalperaDeviceToPartAlignmentCmd::startProbing() {
  if (receiver_ || position_.isRunning() || !device_ || !plugin_) return;
  // Touches without a reference plane to match would have the operator probe faces no pick has named yet.
  if (!data_ || !data_->referencePlanes[0].isValid()) {
    SPtr<IGuiSimpleDlg> message;
    if (message)
      message->show(IGuiSimpleDlg::kAcknowledgedStyle,
                    tr("Pick three points on the Reference object to define the first plane before probing."),
                    ZelString(), false, false, false);
    return;
  }
  // The device copies its transform when acquisition starts: the identity, so the points arrive as the
  // device measures them.
  savedMatrix_.keep(*plugin_);
  plugin_->setHardwareMatrix(Matrix4x4::identity());
  if (settingOn("Palpera/Gfx/ShowProbe")) {
    probeGraphics_.createInstance(kHardProbeProbeGfxClassId);
    if (probeGraphics_) {
      probeGraphics_->setParentObject(refObj_.get());
      probeGraphics_->attach();
    }
    sampledMarkers_ = std::make_unique<SampledPointMarkers>(refObj_.get());
  }
  receiver_ = IPtr<HardProbeDataReceiver>(new HardProbeDataReceiver(*this));
  receiver_->setReferences(referenceFaces());
  device_->addReceiver(receiver_.get());
  if (!device_->startAcquisition()) {
    device_->removeReceiver(receiver_.get());
    receiver_->detach();
    receiver_.release();
    dropProbeGraphics();
    savedMatrix_.giveBack(*plugin_, matrixWidget_.get());
    return;
  }
  probing_.clear();
  probedPoints_.clear();
  probedGraphics_.clear();
  if (markers_) markers_->setVisible(false);
  enableForDevice(false);
  if (settingOn("Palpera/Tile/ShowInstructions")) showPlaneInstructionsTile(true);
  showPlaneProbingInstructions(1);
}

void PalperaDeviceToPartAlignmentCmd::onProbeSampled(const Vector3& point, int step) {
  const ProbedPoint probed{point, planeColor(step)};
  probing_.push_back(probed);
  if (sampledMarkers_) sampledMarkers_->add(probed.point, probed.color);
}

void PalperaDeviceToPartAlignmentCmd::onProbeSampleUndone() {
  if (!probing_.empty()) probing_.pop_back();
  if (sampledMarkers_) sampledMarkers_->removeLast();
}

void PalperaDeviceToPartAlignmentCmd::onProbeStep(int step) {
  showPlaneProbingInstructions(step);
}

void PalperaDeviceToPartAlignmentCmd::finishProbing(bool cancelled) {
  if (!receiver_) return;
  IPtr<HardProbeDataReceiver> receiver = std::move(receiver_);
  showPlaneInstructionsTile(false);
  stopDetached(*device_, {receiver.get()});
  receiver->detach();
  dropProbeGraphics();
  if (markers_) markers_->setVisible(true);
  bool applied = false;
  // A finished run keeps its planes and points even when they cannot be solved yet (the references not all
  // picked): the pick that completes the references aligns on them, and the device keeps its transform.
  if (!cancelled) {
    devicePlanes_ = receiver->devicePlanes();
    probedFaces_ = receiver->probedFaces();
    probedPoints_ = probing_;
    applied = applyAlignment();
  }
  if (applied)
    savedMatrix_.forget();
  else
    savedMatrix_.giveBack(*plugin_, matrixWidget_.get());
  probing_.clear();
  receiver.release();
  fitViewWithRoom();
  updateAlignButton();
  enableForDevice(true);
  requestRedraw(false);
}

void PalperaDeviceToPartAlignmentCmd::dropProbeGraphics() {
  sampledMarkers_.reset();
  if (!probeGraphics_) return;
  probeGraphics_->detach();
  probeGraphics_.release();
}

void PalperaDeviceToPartAlignmentCmd::startShowPosition() {
  if (receiver_ || position_.isRunning() || !device_) return;
  if (position_.start(*device_, *this, refObj_.get())) enableForDevice(false);
}

void PalperaDeviceToPartAlignmentCmd::stopShowPosition() {
  if (!position_.isRunning()) return;
  position_.stop();
  enableForDevice(true);
}
