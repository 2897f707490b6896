#include "commands/measure/palpera_cross_section_cmd.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "commands/capture/capture_click.h"
#include "commands/capture/capture_info_tile.h"
#include "commands/common/command_readiness.h"
#include "commands/measure/cross_section_receiver.h"
#include "devices/contracts/plugin_device.h"
#include "devices/events/acquisition_error.h"
#include "devices/managers/izel_plugin_manager.h"
#include "devices/registry/izel_plugin_service.h"
#include "framework/commands/command_context.h"
#include "framework/host_glue/point_objects.h"
#include "framework/host_glue/renderer_scope.h"
#include "framework/host_glue/user_error.h"
#include "framework/memory/assertion.h"
#include "framework/object/host_lookup.h"
#include "framework/object/query_part.h"
#include "framework/registrations/class_registration.h"
#include "framework/registrations/registered_classes.h"
#include "framework/registrations/static_constants.h"
#include "framework/translation/tr.h"
#include "host_api/counter_store.h"
#include "host_api/data_store.h"
#include "host_api/gfx_view.h"
#include "host_api/gui_status_bar.h"
#include "host_api/module_class_ids.h"
#include "host_api/zel_error_service.h"

namespace {

const ClassRegistration<PalperaCrossSectionCmd> registration(registeredClass("PalperaCrossSectionCmd"));

constexpr const char* kSourceFile = "palperacrosssectioncmd";
constexpr int32_t kWorkingSizeQuery = 1;
// The host graphics service's spaces: normalised view coordinates, the camera's, the scene's.
constexpr int32_t kViewSpace = 1;
constexpr int32_t kCameraSpace = 3;
constexpr int32_t kSceneSpace = 4;

constexpr const char* kMultiplePointObjectsKey = "Palpera/ProbeCrossSection/CreateMultiplePointObjects";
constexpr const char* kAutoResizeKey = "Palpera/ProbeCrossSection/AutomaticViewResize";
constexpr const char* kVirtualCameraKey = "Palpera/ProbeCrossSection/VirtualCamera";
constexpr const char* kCurveOffsetKey = "Palpera/ProbeCrossSection/CurveOffset";
constexpr const char* kCurveFlipOffsetKey = "Palpera/ProbeCrossSection/CurveFlipOffset";
constexpr const char* kCurveTypeKey = "Palpera/ProbeCrossSection/CurveType";
constexpr const char* kMultipleCurveObjectsKey = "Palpera/ProbeCrossSection/CreateMultipleCurveObjects";
constexpr const char* kShowInfoKey = "Palpera/Tile/ShowInfo";
constexpr const char* kShowProbeKey = "Palpera/Gfx/ShowProbe";

// The connectivity choice's index for a "CurveType" value, and back: the two count in opposite directions.
int32_t connectivityIndex(int32_t curveType) {
  return 2 - curveType;
}
int32_t curveType(int32_t connectivityIndex) {
  return connectivityIndex >= 0 && connectivityIndex <= 2 ? 2 - connectivityIndex : 2;
}

int32_t setting(const char* key, int32_t fallback) {
  SPtr<IDataStore> data;
  return data ? data->getInt(key, fallback) : fallback;
}

// The objects the document lists now, in its order.
std::vector<IPtr<IZelDocObject>> documentObjects() {
  std::vector<IPtr<IZelDocObject>> objects;
  SPtr<IZelDoc> document;
  if (!document) return objects;
  for (int32_t i = 0; i < document->objectCount(); ++i) objects.emplace_back(document->objectAt(i));
  return objects;
}

}  // namespace

PalperaCrossSectionCmd::PalperaCrossSectionCmd() {
  name_ = tr("Probe Sections");
}

PalperaCrossSectionCmd::~PalperaCrossSectionCmd() {
  if (planesWidget_) planesWidget_->deactivate();
}

// Dialog and view input

void PalperaCrossSectionCmd::onGuiEvent(int32_t id, int32_t value) {
  if (id == kStartCapture) {
    startCapture();
  } else {
    onCheck(id, value != 0);
  }
}

void PalperaCrossSectionCmd::onGuiValueChanged(int32_t id, int32_t value) {
  onCheck(id, value != 0);
}

void PalperaCrossSectionCmd::onCheck(int32_t id, bool on) {
  if (id == kAutomaticViewResize) autoResize_ = on;
  if (id == kVirtualCamera) {
    if (on) {
      createVirtualCamera();
    } else {
      camera_.release();
    }
  }
  if (id == kShowCurveEnds) showCurveEnds();
}

void PalperaCrossSectionCmd::onGuiValueByReference(int32_t id, void* value) {
  if (id == kPointObjectName && pointObject_ && value)
    pointObject_->setObjectName(*static_cast<const ZelString*>(value));
}

void PalperaCrossSectionCmd::onPlaneWidgetChange(int32_t kind) {
  if (kind != IZelPlaneWidgetOwner::kPlaneChanged || !planesWidget_) return;
  planesWidget_->setBasePlane(sectionBasePlane());
  requestRedraw(false);
}

bool PalperaCrossSectionCmd::onMousePress(IGfxMouseData* mouse) {
  return !capturing() && planeWidget_ && planeWidget_->onMousePress(mouse);
}

bool PalperaCrossSectionCmd::onMouseMove(IGfxMouseData* mouse) {
  return !capturing() && planeWidget_ && planeWidget_->onMouseMove(mouse);
}

bool PalperaCrossSectionCmd::onMouseRelease(IGfxMouseData* mouse) {
  return !capturing() && planeWidget_ && planeWidget_->onMouseRelease(mouse);
}

bool PalperaCrossSectionCmd::onKeyPress(IGfxKeyData* key) {
  return !capturing() && planeWidget_ && planeWidget_->onKeyPress(key);
}

// Running

bool PalperaCrossSectionCmd::canRun(IZelUnknown* context) {
  return !contextBusy(context) && !resultBarsEmulator(context);
}

void PalperaCrossSectionCmd::createGui(IGuiDialog* dialog) {
  if (!dialog) return;
  dialog->beginGroupBox("MainBox", kMainBox, ZelString());
  planeWidget_.getService();
  if (planeWidget_) {
    planeWidget_->setup(static_cast<IZelPlaneWidgetOwner*>(this), 1, true);
    planeWidget_->setOptions(127);
    planeWidget_->setDisplaySize(100);
    planeWidget_->buildGui(dialog, true);
  }
  planesWidget_ = new MultiplePlanesWidget(*this);
  planesWidget_->setName("MultiplePlanesWidget");
  const ZelString planesTitle = tr("Multiple Sections");
  planesWidget_->buildGui(dialog, &planesTitle);

  dialog->beginGroupBox("PointObjectBox", kPointObjectBox, tr("Point Object"));
  dialog->addControl(kPointObjectName, "text", ZelString(u"PointObjectName"));
  dialog->setControlText(kPointObjectName, tr("Name"));
  dialog->addControl(kMultiplePointObjects, "check", ZelString(u"MultiplePointObjects"));
  dialog->setControlText(kMultiplePointObjects, tr("Create Multiple Point Objects"));
  dialog->endGroup();

  dialog->beginGroup("AcquirePoints", 1, tr("Acquire Points"), true);
  dialog->addControl(kAutomaticViewResize, "check", ZelString(u"AutomaticViewResize"));
  dialog->setControlText(kAutomaticViewResize, tr("Automatic View Resize"));
  dialog->addControl(kVirtualCamera, "check", ZelString(u"VirtualCamera"));
  dialog->setControlText(kVirtualCamera, tr("Virtual Camera"));
  dialog->addControl(kStartCapture, "button", ZelString(u"StartCapture"));
  dialog->setControlText(kStartCapture, tr("Start Capture"));
  dialog->endGroup();

  curvePanel_ = new FitCrossSectionPointsWidget(this, kPanelKind);
  curvePanel_->setName("FitCrossSectionPointsWidget");
  const ZelString curvesTitle = tr("Curve Fitting");
  curvePanel_->buildGui(dialog, &curvesTitle);

  dialog->beginGroupBox("DisplayBox", kDisplayBox, tr("Display"));
  dialog->addControl(kShowCurveEnds, "check", ZelString(u"ShowCurveEnds"));
  dialog->setControlText(kShowCurveEnds, tr("Curve Ends"));
  dialog->endGroup();
  dialog->endGroup();
  dialog->setControlValue(kShowCurveEnds, 1.0);
}

bool PalperaCrossSectionCmd::activate() {
  if (!commandReady(name_, {.hardProbe = true})) return false;
  SPtr<IZelPluginService> plugins;
  IZelPluginManager* manager = plugins ? plugins->getManager(ZelCString("HardProbe")) : nullptr;
  device_ = manager ? plugins->getDevice(ZelCString("HardProbeContinuous")) : nullptr;
  if (!device_ || !device_->connect()) {
    device_.release();
    reportUserError(tr("Unable to connect to hard probe device."));
    return false;
  }
  plugin_ = manager->activePlugin();
  if (plugin_) {
    plugin_->reloadObjectMatrix();
  } else {
    reportAssertion("plugin_", kSourceFile, __LINE__);
  }
  size_ = containerQuery(kWorkingSizeQuery);
  if (planeWidget_) {
    savedPlaneWidgetState_ = planeWidget_->state();
    planeWidget_->setState(false);
    planeWidget_->activate();
  }
  if (planesWidget_) {
    planesWidget_->setSize(size_);
    planesWidget_->setBasePlane(sectionBasePlane());
    planesWidget_->activate();
  }
  if (curvePanel_) {
    curvePanel_->setWorkingSize(size_);
    curvePanel_->reset(FitCrossSectionPointsWidget::nextFreeCurveNumber());
  }
  SPtr<ICounterStore> counters;
  int32_t number = 1;
  if (counters) {
    const ZelCString counter(kSectionPointObjectCounter);
    if (!counters->find(counter)) counters->create(counter, 1, 1);
    if (ICounter* found = counters->find(counter)) number = found->value();
  }
  if (gui_) gui_->setControlText(kPointObjectName, tr("Section Points %1", ZelString::number(number)));
  readSettings();
  setControlsEnabled(true);
  activationObjects_ = documentObjects();
  return true;
}

void PalperaCrossSectionCmd::deactivate() {
  stopCapture(true);
  if (plugin_) plugin_->resetObjectMatrix();
  if (curvePanel_) curvePanel_->deactivate();
  if (planesWidget_) planesWidget_->deactivate();
  if (planeWidget_) {
    planeWidget_->deactivate();
    planeWidget_->setState(savedPlaneWidgetState_);
  }
  if (device_) {
    device_->disconnect();
    device_.release();
  }
  plugin_.release();
  pointObject_.release();
  displayModel_.release();
  curveObjects_.clear();
  curveGroup_.release();
  planes_.clear();
  sections_.clear();
  sectionWritten_.clear();
  approaches_.clear();
  camera_.release();
  soundPlayer_.release();
  activationObjects_.clear();
}

void PalperaCrossSectionCmd::readSettings() {
  if (!gui_) return;
  SPtr<IDataStore> data;
  if (!data) return;
  gui_->setControlValue(kMultiplePointObjects, data->getInt(kMultiplePointObjectsKey, 1) != 0 ? 1.0 : 0.0);
  autoResize_ = data->getInt(kAutoResizeKey, 1) != 0;
  gui_->setControlValue(kAutomaticViewResize, autoResize_ ? 1.0 : 0.0);
  const bool camera = data->getInt(kVirtualCameraKey, 1) != 0;
  if (camera) createVirtualCamera();
  gui_->setControlValue(kVirtualCamera, camera ? 1.0 : 0.0);
  if (!curvePanel_) return;
  gui_->setControlValue(curvePanel_->id(FitCrossSectionPointsWidget::kOffset),
                        data->getDouble(kCurveOffsetKey, 0));
  gui_->setControlValue(curvePanel_->id(FitCrossSectionPointsWidget::kFlipOffset),
                        data->getInt(kCurveFlipOffsetKey, 0) != 0 ? 1.0 : 0.0);
  gui_->selectListEntry(curvePanel_->id(FitCrossSectionPointsWidget::kConnectivity),
                        connectivityIndex(data->getInt(kCurveTypeKey, 2)));
  gui_->setControlValue(curvePanel_->id(FitCrossSectionPointsWidget::kMultipleCurveObjects),
                        data->getInt(kMultipleCurveObjectsKey, 0) != 0 ? 1.0 : 0.0);
}

void PalperaCrossSectionCmd::writeSettings() {
  SPtr<IDataStore> data;
  if (!data || !gui_) return;
  data->setInt(nullptr, kMultiplePointObjectsKey, checked(kMultiplePointObjects) ? 1 : 0);
  data->setInt(nullptr, kAutoResizeKey, autoResize_ ? 1 : 0);
  data->setInt(nullptr, kVirtualCameraKey, camera_ ? 1 : 0);
  if (!curvePanel_) return;
  data->setDouble(nullptr, kCurveOffsetKey, value(curvePanel_->id(FitCrossSectionPointsWidget::kOffset)));
  data->setInt(nullptr, kCurveFlipOffsetKey, curvePanel_->flipOffset() ? 1 : 0);
  data->setInt(nullptr, kCurveTypeKey,
               curveType(gui_->listSelection(curvePanel_->id(FitCrossSectionPointsWidget::kConnectivity))));
  data->setInt(nullptr, kMultipleCurveObjectsKey,
               checked(curvePanel_->id(FitCrossSectionPointsWidget::kMultipleCurveObjects)) ? 1 : 0);
}

void PalperaCrossSectionCmd::createVirtualCamera() {
  camera_.createInstance(classIdOf("VirtualCamera"));
  if (!camera_) return;
  SPtr<IGenGfxService> graphics;
  double merged[6] = {FLT_MAX, FLT_MAX, FLT_MAX, -FLT_MAX, -FLT_MAX, -FLT_MAX};
  bool empty = true;
  for (const IPtr<IZelDocObject>& object : documentObjects()) {
    double box[6];
    if (!graphics || !graphics->objectBox(object.get(), box)) continue;
    for (int k = 0; k < 3; ++k) {
      merged[k] = empty ? box[k] : std::min(merged[k], box[k]);
      merged[k + 3] = empty ? box[k + 3] : std::max(merged[k + 3], box[k + 3]);
    }
    empty = false;
  }
  const Vector3 centre =
      empty ? Vector3{}
            : Vector3{(merged[0] + merged[3]) / 2, (merged[1] + merged[4]) / 2, (merged[2] + merged[5]) / 2};
  camera_->setCameraPoint(centre);
}

bool PalperaCrossSectionCmd::sectionsHoldPoints() const {
  return std::ranges::any_of(sections_, [](const IPtr<SectionData>& section) {
    return section->pointArray() && section->pointArray()->count() > 0;
  });
}

bool PalperaCrossSectionCmd::checked(int32_t id) {
  return value(id) != 0.0;
}

double PalperaCrossSectionCmd::value(int32_t id) {
  double result = 0.0;
  if (gui_) gui_->getControlValue(id, &result);
  return result;
}

// The section planes' coordinates

Plane PalperaCrossSectionCmd::sectionBasePlane() {
  double coefficients[4] = {};
  if (!planeWidget_ || !planeWidget_->plane(coefficients)) return {};
  Plane plane{coefficients[0], coefficients[1], coefficients[2], coefficients[3]};
  SPtr<IGenGfxService> graphics;
  Matrix4x4 toScene;
  if (graphics && graphics->spaceTransform(toScene, kCameraSpace, kSceneSpace, 0, -1))
    plane.transform(toScene);
  return plane;
}

bool PalperaCrossSectionCmd::planeRectangle(std::array<Vector3, 4>& corners) {
  Vector3 shown[4];
  if (!planeWidget_ || !planeWidget_->displayRectangle(shown)) return false;
  SPtr<IGenGfxService> graphics;
  Matrix4x4 toScene = Matrix4x4::identity();
  if (graphics) graphics->spaceTransform(toScene, kCameraSpace, kSceneSpace, 0, -1);
  for (size_t i = 0; i < corners.size(); ++i) corners[i] = Matrix4x4::transformPoint(toScene, shown[i]);
  return true;
}

// Capture runs

void PalperaCrossSectionCmd::startCapture() {
  if (capturing()) return;
  if (!device_) return reportAssertion("device_", kSourceFile, __LINE__);
  if (!sectionsHoldPoints() && !placeSections()) {
    // Without a base plane the run would cross nothing and leave an empty point object behind.
    reportUserError(tr("Pick the base plane of the sections before Start Capture."));
    return;
  }
  if (!pointObject_ && gui_) {
    ZelString name;
    gui_->getControlText(kPointObjectName, name);
    pointObject_ = createPointObject(name);
    if (pointObject_) {
      displayModel_ = queryPart<IZelPoints>(pointObject_->subObject("PointModel"));
    }
  }
  if (!soundPlayer_) soundPlayer_ = loadCaptureClick();
  if (setting(kShowProbeKey, 0) != 0) {
    probeGfx_.createInstance(kHardProbeProbeGfxClassId);
    if (probeGfx_) probeGfx_->attach();
  }
  receiver_ = new HardProbeDataReceiver(*this, planes_);
  device_->addReceiver(receiver_.get());
  if (!device_->startAcquisition()) return stopCapture(false);
  if (setting(kShowInfoKey, 0) != 0) showInfoTile(true);
  setControlsEnabled(false);
}

// A run that gave no point leaves the planes free: the sections follow them as they stand now.
bool PalperaCrossSectionCmd::placeSections() {
  sections_.clear();
  sectionWritten_.clear();
  approaches_.clear();
  if (!planesWidget_ || !planesWidget_->computePlanes(planes_)) return false;
  for (int32_t i = 1; i <= planes_.count(); ++i) {
    const Plane& plane = planes_.at(i);
    sections_.emplace_back(new SectionData(SectionPlane{plane.nx, plane.ny, plane.nz, plane.d}, 0));
    sectionWritten_.push_back(false);
    approaches_.emplace_back();
  }
  return true;
}

void PalperaCrossSectionCmd::stopCapture(bool) {
  if (!receiver_) return;
  IPtr<HardProbeDataReceiver> ended = std::move(receiver_);
  // Detached before the device stops: the events it delivers during its stop belong to no run.
  if (IPtr<IZelPluginDevice> device = device_) {
    stopDetached(*device, {ended.get()});
  }
  if (probeGfx_) {
    probeGfx_->detach();
    probeGfx_.release();
  }
  showInfoTile(false);
  setControlsEnabled(true);
  // The sections keep the planes they were made with, so once they hold points the planes cannot change.
  if (sectionsHoldPoints()) {
    if (planeWidget_) planeWidget_->setEnabled(false);
    if (planesWidget_) planesWidget_->setEnabled(false);
  }
  SPtr<IGuiStatusBar> statusBar;
  if (statusBar) statusBar->clearHelpText(static_cast<IComponentCommand*>(this));
}

void PalperaCrossSectionCmd::addSectionPoint(int32_t plane, const Vector3& point, const Vector3& approach) {
  if (plane < 1 || plane > static_cast<int32_t>(sections_.size())) return;
  playCaptureClick(soundPlayer_.get());
  const double xyz[3] = {point.x, point.y, point.z};
  const auto section = static_cast<size_t>(plane - 1);
  if (RealPArray* points = sections_[section]->pointArray(); points && points->append(xyz))
    approaches_[section].push_back(approach);
  if (RealPArray* shown = displayModel_ ? displayModel_->array() : nullptr) shown->append(xyz);
  SPtr<IGenGfxService> graphics;
  Matrix4x4 toView;
  if (autoResize_ && graphics && graphics->spaceTransform(toView, kSceneSpace, kViewSpace, 0, -1)) {
    const Vector3 mapped = Matrix4x4::transformPoint(toView, point);
    if (std::fabs(mapped.x) > 1 || std::fabs(mapped.y) > 1 || std::fabs(mapped.z) > 1)
      graphics->fitAll(-1, true, 0);
  }
  requestRedraw(false);
}

void PalperaCrossSectionCmd::onAcquisitionError() {
  stopCapture(false);
  reportAcquisitionError();
}

void PalperaCrossSectionCmd::setControlsEnabled(bool enabled) {
  if (planeWidget_) planeWidget_->setEnabled(enabled);
  if (planesWidget_) planesWidget_->setEnabled(enabled);
  if (curvePanel_) curvePanel_->setEnabled(enabled);
  if (!gui_) return;
  gui_->enableControl(kPointObjectName, enabled, IGuiDialog::kEnableDefault);
  gui_->enableControl(kStartCapture, enabled, IGuiDialog::kEnableDefault);
}

void PalperaCrossSectionCmd::setOffset(double radius) {
  if (curvePanel_ && gui_)
    gui_->setControlValue(curvePanel_->id(FitCrossSectionPointsWidget::kOffset), radius);
}

void PalperaCrossSectionCmd::followProbe(const Vector3& position, const Vector3& to, const Vector3& up) {
  if (!camera_) return;
  camera_->setPosition(position);
  camera_->setTo(to);
  camera_->setUp(up);
  camera_->update();
  requestRedraw(true);
}

void PalperaCrossSectionCmd::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IComponentCommand*>(this))
      .classLeaf(CompBaseCmdInt::interfaceName, static_cast<CompBaseCmdInt*>(this),
                 static_cast<IComponentCommand*>(this))
      .offer<IComponentCommand>(this)
      .offer<IZelPlaneWidgetOwner>(this)
      .end();
}
