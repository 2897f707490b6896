#include "commands/alignment/device_to_part/palpera_device_to_part_alignment_cmd.h"

#include <algorithm>
#include <cstring>

#include "commands/alignment/common/assertion_sites.h"
#include "commands/alignment/device_to_part/plane_alignment_solve.h"
#include "commands/alignment/device_to_part/probed_point_graphics.h"
#include "commands/alignment/device_to_part/touches_on_faces.h"
#include "commands/common/command_readiness.h"
#include "devices/managers/izel_plugin_manager.h"
#include "devices/registry/izel_plugin_service.h"
#include "framework/commands/command_context.h"
#include "framework/host_glue/object_placement.h"
#include "framework/host_glue/renderer_scope.h"
#include "framework/host_glue/user_error.h"
#include "framework/memory/assertion.h"
#include "framework/object/host_lookup.h"
#include "framework/object/query_part.h"
#include "framework/registrations/class_registration.h"
#include "framework/registrations/registered_classes.h"
#include "framework/translation/tr.h"
#include "host_api/gui_dialog.h"
#include "host_api/host_class_ids.h"
#include "host_api/module_class_ids.h"
#include "host_api/zel_doc.h"
#include "ui/instructions/zel_user_instructions.h"
#include "ui/tiles/hard_probe_tile_facade.h"
#include "ui/tiles/zel_hard_probe_tile.h"

namespace {

const ClassRegistration<PalperaDeviceToPartAlignmentCmd> registration(
    registeredClass("PalperaDeviceToPartAlignmentCmd"));

constexpr const char* kSource = assertion_sites::kDeviceToPartSource;
constexpr const char* kDevice = "HardProbe";

// The dialog's controls.
enum Control : int32_t {
  kMainBox = 0,
  kInstructionsLabel = 1,
  kPlane1Radio = 2,
  kPlane2Radio = 3,
  kPlane3Radio = 4,
  kPointRadioBox = 8,
  kPoint1Radio = 9,
  kPoint2Radio = 10,
  kPoint3Radio = 11,
  kPointWidget = 12,
  kFlip = 13,
  kStartProbing = 14,
  kAlign = 15,
  kShowPosition = 16,
  kStandardControl0 = IGuiDialog::kStandardControl1 - 1,
};

constexpr const char* kInstructions =
    "<b>1.</b> Pick three points on the Reference object to define the first plane.\n<b>2.</b> Pick two "
    "points "
    "on the Reference object to define the second plane.\n<b>3.</b> Pick one point on the Reference object "
    "to "
    "define the third plane.\n<b>4.</b> Click <b>Probe Points</b> to define corresponding planes on the Test "
    "object.";

constexpr const char* kTouchesOffFacesText =
    "No alignment was made: the points of planes 2 and 3 cannot all lie on the faces picked for them at "
    "the heights they were probed. Nothing was stored; probe the planes again, each on the face picked for "
    "it.";

}  // namespace

PalperaDeviceToPartAlignmentCmd::PalperaDeviceToPartAlignmentCmd() {
  name_ = tr("3-2-1 Device Alignment");
  surfaceInput_.createInstance(kHostVectorInputClassId);
  if (!surfaceInput_) reportAssertion("surfaceInput_", kSource, assertion_sites::kSurfaceInputLine);
}

bool PalperaDeviceToPartAlignmentCmd::canRun(IZelUnknown* context) {
  return !contextBusy(context) && referencePickable(surfaceInput_.get());
}

void PalperaDeviceToPartAlignmentCmd::createGui(IGuiDialog* dialog) {
  gui_ = dialog;
  if (!dialog) return;
  dialog->registerPicture(5, "three_321");
  dialog->registerPicture(6, "two_321");
  dialog->registerPicture(7, "one_321");
  const ZelString none;
  dialog->beginGroupBox("MainBox", kMainBox, none);
  dialog->beginFramedGroupBox("Instructions", dialog->reserveControlIds(1), true, tr("Instructions"), true);
  dialog->addControl(kInstructionsLabel, "label", ZelString("InstructionsLabel"));
  dialog->setControlText(kInstructionsLabel, tr(kInstructions));
  dialog->endGroup();

  dialog->beginFramedGroupBox("Planes", dialog->reserveControlIds(1), true, tr("Planes"), true);
  planeGroupId_ = dialog->reserveControlIds(1);
  dialog->addControl(planeGroupId_, "radiogroup", ZelString("PlaneRadios"));
  dialog->addRadio(planeGroupId_, kPlane1Radio, tr("3"), 5);
  dialog->addRadio(planeGroupId_, kPlane2Radio, tr("2"), 6);
  dialog->addRadio(planeGroupId_, kPlane3Radio, tr("1"), 7);
  dialog->addControl(kPointRadioBox, "radiogroup", ZelString("PointRadioBox"));
  dialog->addRadio(kPointRadioBox, kPoint1Radio, tr("First Point"), 0);
  dialog->addRadio(kPointRadioBox, kPoint2Radio, tr("Second Point"), 0);
  dialog->addRadio(kPointRadioBox, kPoint3Radio, tr("Third Point"), 0);
  pointWidget_.createInstance(kHostVectorWidgetClassId);
  if (pointWidget_)
    pointWidget_->build(dialog, kPointWidget, "PointWidget", tr("X,Y,Z"));
  else
    reportAssertion("pointWidget_", kSource, assertion_sites::kPointWidgetLine);
  dialog->addButtonAt("Flip", kFlip, tr("Flip"), true);
  dialog->endGroup();

  dialog->beginFramedGroupBox("Probe", dialog->reserveControlIds(1), true, tr("Probe"), true);
  dialog->addButtonAt("StartProbing", kStartProbing, tr("Probe Points"), true);
  dialog->addButtonAt("ShowPositionButton", kShowPosition, tr("Show Position"), true);
  dialog->endGroup();
  matrixWidget_.createInstance(classIdOf("MatrixWidget"));
  if (matrixWidget_) matrixWidget_->buildGui(dialog, nullptr);
  dialog->addButtonAt("Align", kAlign, tr("Align"), true);
  dialog->endGroup();

  enable(IGuiDialog::kStandardControl2, false);
  enable(kPointRadioBox, false);
  enable(kAlign, false);
  if (pointWidget_) pointWidget_->setEditable(false);
}

bool PalperaDeviceToPartAlignmentCmd::connectDevice() {
  SPtr<IZelPluginService> service;
  IZelPluginManager* manager = service ? service->getManager(ZelCString(kDevice)) : nullptr;
  IZelPluginDevice* device = service ? service->getDevice(ZelCString(kDevice)) : nullptr;
  if (!manager || !device || !device->connect()) {
    reportUserError(tr("Unable to connect to hard probe device."));
    return false;
  }
  device_ = device;
  plugin_ = manager->currentPlugin();
  if (!plugin_) {
    reportUserError(tr("No plug-ins are installed."));
    device_->disconnect();
    device_.release();
    return false;
  }
  return true;
}

bool PalperaDeviceToPartAlignmentCmd::activate() {
  if (!commandReady(name_, {.hardProbe = true, .activeReference = true}) || !connectDevice()) return false;
  SPtr<IZelDoc> document;
  refObj_ = document ? document->findObject(ZelString(u"RefObject")) : nullptr;
  if (!refObj_) {
    reportAssertion("refObj_", kSource, assertion_sites::kReferenceObjectLine);
    device_->disconnect();
    device_.release();
    plugin_ = nullptr;
    return false;
  }
  refObj_->setProperty("Visible", true);
  document->setActiveObject(refObj_.get());
  data_ = IPtr<Data>(new Data);
  devicePlanes_ = {};
  probedFaces_ = {};

  enable(kPlane1Radio, true);
  enable(kPlane2Radio, false);
  enable(kPlane3Radio, false);
  select(kPlane1Radio);
  enable(kPointRadioBox, true);
  for (int32_t id : {kPoint1Radio, kPoint2Radio, kPoint3Radio}) enable(id, true);
  select(kPoint1Radio);
  if (surfaceInput_) surfaceInput_->activate();
  if (pointWidget_) {
    pointWidget_->activate();
    pointWidget_->setEditable(true);
  }
  showReferencePoint(1, 0);
  enable(kFlip, false);
  enable(kAlign, false);
  planeGfx_ = IPtr<PlaneGfx>(new PlaneGfx(refObj_.get()));
  SPtr<IGfxDoc> graphics;
  markers_ = IPtr<Markers>(new Markers(graphics ? graphics->objectNode(refObj_.get()) : nullptr));
  data_->attach(planeGfx_.get());
  data_->attach(markers_.get());
  data_->attach(this);

  if (matrixWidget_) matrixWidget_->activate();
  activationMatrix_.keep(*plugin_);
  showDeviceTransform(*plugin_, matrixWidget_.get());
  return true;
}

void PalperaDeviceToPartAlignmentCmd::deactivate() {
  finishProbing(true);
  stopShowPosition();
  probedGraphics_.clear();
  if (matrixWidget_) matrixWidget_->deactivate();
  if (data_) {
    data_->detach(this);
    data_->detach(markers_.get());
    data_->detach(planeGfx_.get());
  }
  markers_.release();
  planeGfx_.release();
  data_.release();
  if (pointWidget_) pointWidget_->deactivate();
  if (surfaceInput_) surfaceInput_->stop();
  refObj_.release();
  plugin_ = nullptr;
  activationMatrix_.forget();
  probedPoints_.clear();
  if (device_) device_->disconnect();
  device_.release();
}

bool PalperaDeviceToPartAlignmentCmd::cancel() {
  finishProbing(true);
  stopShowPosition();
  if (plugin_) activationMatrix_.giveBack(*plugin_, matrixWidget_.get());
  return true;
}

void PalperaDeviceToPartAlignmentCmd::onGuiEvent(int32_t controlId, int32_t) {
  if (!data_) return;
  switch (controlId) {
    case kPlane1Radio:
    case kPlane2Radio:
    case kPlane3Radio:
      choosePlane(controlId);
      break;
    case kPoint1Radio:
    case kPoint2Radio:
    case kPoint3Radio:
      showReferencePoint(selectedPlane(), controlId - kPoint1Radio);
      break;
    case kFlip:
      data_->flipPlane(selectedPlane());
      applyAlignment();
      break;
    case kStartProbing:
      startProbing();
      break;
    case kAlign:
      applyAlignment();
      break;
    case kShowPosition:
      startShowPosition();
      break;
    default:
      break;
  }
}

void PalperaDeviceToPartAlignmentCmd::onGuiValueByReference(int32_t controlId, void* value) {
  if (controlId != kPointWidget || !value || !pointWidget_ || !data_) return;
  if (pointWidget_->takeText(*static_cast<ZelString*>(value))) typePoint(pointWidget_->vector());
}

bool PalperaDeviceToPartAlignmentCmd::onMousePress(IGfxMouseData*) {
  if (receiver_ || position_.isRunning() || !surfaceInput_) return false;
  surfaceInput_->pointerPressed();
  return false;
}

bool PalperaDeviceToPartAlignmentCmd::onMouseMove(IGfxMouseData*) {
  if (receiver_ || position_.isRunning() || !surfaceInput_) return false;
  surfaceInput_->pointerMoved();
  return false;
}

bool PalperaDeviceToPartAlignmentCmd::onMouseRelease(IGfxMouseData* mouse) {
  if (receiver_ || position_.isRunning() || !surfaceInput_ || !data_) return false;
  pick(mouse);
  return true;
}

void PalperaDeviceToPartAlignmentCmd::pick(IGfxMouseData* mouse) {
  Vector3 point;
  if (!surfaceInput_->pick(mouse, refObj_.get(), point)) return;
  const int plane = selectedPlane();
  int index = selectedPointIndex();
  if (plane == 0 || index < 0) return;
  Vector3 normal;
  if (auto* normals = queryPart<ITripletInputNormal>(surfaceInput_.get())) normals->normal(normal);
  if (!faceCanServe(plane, index, normal)) return;
  int next = plane;
  if (plane == 1) {
    if (index < 2) {
      select(kPoint1Radio + index + 1);
    } else {
      data_->plane1Direction = normal;
      enable(kPlane2Radio, true);
      select(kPlane2Radio);
      enable(kPoint3Radio, false);
      select(kPoint1Radio);
      next = 2;
    }
    data_->clearPlane(2);
  } else if (plane == 2) {
    if (index == 0) {
      select(kPoint2Radio);
    } else {
      index = 1;
      data_->plane2Direction = normal;
      enable(kPlane3Radio, true);
      select(kPlane3Radio);
      enable(kPoint2Radio, false);
      enable(kPoint3Radio, false);
      select(kPoint1Radio);
      next = 3;
    }
    data_->clearPlane(3);
  } else {
    index = 0;
    data_->plane3Direction = normal;
  }
  if (markers_) markers_->setPlane(next);
  data_->setPoint(plane, index, point);
  if (next != plane)
    showReferencePoint(next, 0);
  else if (pointWidget_)
    pointWidget_->setVector(point);
}

void PalperaDeviceToPartAlignmentCmd::typePoint(const Vector3& point) {
  const int plane = selectedPlane();
  const int index = selectedPointIndex();
  if (plane == 1 && index >= 0) {
    data_->clearPlane(2);
    data_->setPoint(1, index, point);
  } else if (plane == 2 && index >= 0) {
    data_->clearPlane(3);
    data_->setPoint(2, index == 0 ? 0 : 1, point);
  } else if (plane == 3) {
    data_->plane3Direction = {};
    data_->setPoint(3, 0, point);
  }
}

void PalperaDeviceToPartAlignmentCmd::choosePlane(int radio) {
  const int plane = radio - kPlane1Radio + 1;
  enable(kPoint1Radio, true);
  enable(kPoint2Radio, plane <= 2);
  enable(kPoint3Radio, plane == 1);
  select(kPoint1Radio);
  showReferencePoint(plane, 0);
  updateFlipButton();
  showMarkersOf(plane);
}

void PalperaDeviceToPartAlignmentCmd::showMarkersOf(int plane) {
  if (!markers_) return;
  markers_->setPlane(plane);
  markers_->update(*data_);
}

int PalperaDeviceToPartAlignmentCmd::selectedPlane() {
  double value = 0;
  if (!gui_ || !gui_->getControlValue(planeGroupId_, &value)) return 0;
  const int radio = static_cast<int>(value);
  return radio >= kPlane1Radio && radio <= kPlane3Radio ? radio - kPlane1Radio + 1 : 0;
}

int PalperaDeviceToPartAlignmentCmd::selectedPointIndex() {
  double value = 0;
  if (!gui_ || !gui_->getControlValue(kPointRadioBox, &value)) return -1;
  const int radio = static_cast<int>(value);
  return radio >= kPoint1Radio && radio <= kPoint3Radio ? radio - kPoint1Radio : -1;
}

void PalperaDeviceToPartAlignmentCmd::showReferencePoint(int plane, int index) {
  if (pointWidget_ && data_) pointWidget_->setVector(data_->point(plane, index));
}

void PalperaDeviceToPartAlignmentCmd::updateFlipButton() {
  const int plane = selectedPlane();
  enable(kFlip, data_ && plane >= 1 && data_->referencePlanes[plane - 1].isValid());
}

bool PalperaDeviceToPartAlignmentCmd::canAlign() {
  return data_ && data_->isComplete() &&
         std::ranges::all_of(devicePlanes_, [](const Plane& plane) { return plane.isValid(); });
}

void PalperaDeviceToPartAlignmentCmd::updateAlignButton() {
  enable(kAlign, canAlign());
}

void PalperaDeviceToPartAlignmentCmd::onNotify(const char* event, IZelSubject* subject, void* data) {
  if (position_.isSender(subject)) {
    if (std::strcmp(event, "Stop") == 0) stopShowPosition();
    return;
  }
  // A plane built from typed points opens the next plane as a completing pick does.
  if (std::strcmp(event, "Plane1") == 0) {
    const bool valid = static_cast<Plane*>(data)->isValid();
    enable(kPlane2Radio, valid);
    if (!valid) enable(kPlane3Radio, false);
    updateFlipButton();
  } else if (std::strcmp(event, "Plane2") == 0) {
    enable(kPlane3Radio, static_cast<Plane*>(data)->isValid());
    updateFlipButton();
  } else if (std::strcmp(event, "Plane3") == 0) {
    updateFlipButton();
    if (canAlign()) applyAlignment();
  } else if (std::strcmp(event, "Point") == 0) {
    updateAlignButton();
  }
}

bool PalperaDeviceToPartAlignmentCmd::applyAlignment() {
  if (!plugin_ || !data_) return false;
  // The planes picked on the model are aligned on where the part stands, which a placement that is not a
  // rotation and a shift would misstate.
  if (!ObjectPlacement::ofReference(refObj_.get())) return false;
  // Planes probed before their reference faces were all picked meet those faces here.
  if (canAlign()) {
    for (int plane = 1; plane <= 3; ++plane) {
      const std::optional<ReferenceMismatch> mismatch =
          referenceMismatch(probedFaces_, referenceFaces(), plane);
      if (!mismatch) continue;
      reportUserError(noAlignmentText(*mismatch));
      return false;
    }
  }
  // Each touch is set on its face as the faces stand now, also where one was picked after its plane was
  // probed.
  AlignmentPlanes planes{refObj_.get(), data_->referencePlanes, devicePlanes_};
  if (canAlign()) {
    const std::optional<TouchedPlanes> touched =
        planesOnTouchedFaces(data_->referencePlanes, devicePlanes_,
                             {PickedFace{data_->plane1Points[2], data_->plane1Direction},
                              PickedFace{data_->plane2Points[1], data_->plane2Direction},
                              PickedFace{data_->plane3Point, data_->plane3Direction}},
                             {FaceTouches{probedFaces_[1].touches, probedFaces_[1].outwardSide},
                              FaceTouches{probedFaces_[2].touches, probedFaces_[2].outwardSide}},
                             probedFaces_[0].probeRadius);
    if (!touched) {
      reportUserError(tr(kTouchesOffFacesText));
      return false;
    }
    planes.referencePlanes = touched->reference;
    planes.devicePlanes = touched->device;
  }
  Matrix4x4 deviceToWorld;
  if (!computeAlignment(planes, deviceToWorld)) {
    // Planes not all there yet wait for the rest; planes that are all there and cannot be solved are said.
    if (canAlign()) reportUserError(tr("The probed planes cannot be aligned onto the reference planes."));
    return false;
  }
  setDeviceTransform(*plugin_, hardwareDelivering(*plugin_, deviceToWorld), matrixWidget_.get());
  probedGraphics_.draw(probedPoints_, deviceToWorld, refObj_.get());
  requestRedraw(false);
  return true;
}

void PalperaDeviceToPartAlignmentCmd::enableForDevice(bool enabled) {
  enable(kMainBox, enabled);
  enable(kStandardControl0, enabled);
  enable(IGuiDialog::kStandardControl1, enabled);
}

void PalperaDeviceToPartAlignmentCmd::select(int32_t id) {
  if (gui_) gui_->setControlValue(id, 1);
}

void PalperaDeviceToPartAlignmentCmd::enable(int32_t id, bool enabled) {
  if (gui_) gui_->enableControl(id, enabled, IGuiDialog::kEnableDefault);
}

void PalperaDeviceToPartAlignmentCmd::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  chain.classLeaf(interfaceName, this, static_cast<IComponentCommand*>(this)).offer<IZelListener>(this);
  queryCommandChain(chain);
}
