#include "commands/deviation/palpera_real_time_deviation_cmd.h"

#include <cfloat>
#include <cstring>

#include "commands/common/command_readiness.h"
#include "devices/contracts/plugin.h"
#include "devices/contracts/plugin_device.h"
#include "devices/events/acquisition_error.h"
#include "devices/managers/izel_plugin_manager.h"
#include "framework/commands/command_context.h"
#include "framework/host_glue/document_glue.h"
#include "framework/host_glue/renderer_scope.h"
#include "framework/host_glue/user_error.h"
#include "framework/memory/assertion.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "framework/registrations/class_registration.h"
#include "framework/translation/tr.h"
#include "host_api/data_store.h"
#include "host_api/gfx_view.h"
#include "host_api/module_class_ids.h"
#include "host_api/zel_sub_objects.h"

namespace {

const ClassRegistration<PalperaRealTimeDeviationCmd> registration(
    registeredClass("PalperaRealTimeDeviationCmd"));

constexpr const char* kDevice = "HardProbe";
constexpr const char* kReferenceObject = "RefObject";
constexpr const char* kSurfaceModel = "SurfModel";
constexpr const char* kToleranceKey = "Palpera/RealTimeDeviation/Tolerance";
constexpr double kDefaultTolerance = 0.001;
constexpr const char* kShowProbeKey = "Palpera/Gfx/ShowProbe";
constexpr const char* kTile = "hardprobe real time deviation tile";
constexpr const char* kTileItem = "RealTimeDeviation";
constexpr const char* kTileStatus = "RealTimeDeviationStatus";
constexpr const char16_t* kLabelPattern = u"Pt%1";
constexpr const char* kSourceFile = "palperarealtimedeviationcmd";
constexpr int kMissingPluginLine = 573;
constexpr int32_t kLabelColumn = 1;
constexpr int32_t kHeaderRow = 1;

IZelPluginManager* hardProbeManager(IZelPluginService& service) {
  return service.getManager(ZelCString(kDevice));
}

IZelPlugin* currentHardProbePlugin(IZelPluginService* service) {
  IZelPluginManager* manager = service ? hardProbeManager(*service) : nullptr;
  return manager ? manager->currentPlugin() : nullptr;
}

}  // namespace

PalperaRealTimeDeviationCmd::PalperaRealTimeDeviationCmd() : pointTable_(new PointTableWidget) {
  name_ = tr("Real-Time Deviation");
}

bool PalperaRealTimeDeviationCmd::canRun(IZelUnknown* context) {
  return !contextBusy(context);
}

void PalperaRealTimeDeviationCmd::createGui(IGuiDialog* dialog) {
  if (!dialog) return;
  dialog->beginPanel(tr("Points"), true);
  dialog->addControl(kToleranceBox, "length", ZelString(u"ToleranceBox"));
  dialog->setControlText(kToleranceBox, tr("Tolerance:"));
  dialog->setNumberFormat(kToleranceBox, "%.4f", 0, DBL_MAX);
  pointTable_->build(dialog, this);
  dialog->addControl(kTableButtonBox, "box", ZelString(u"TableButtonBox"));
  dialog->addControl(kClearTableButton, "button", ZelString(u"ClearTableButton"));
  dialog->setControlText(kClearTableButton, tr("Clear Table"));
  dialog->addControl(kExportButton, "button", ZelString(u"ExportButton"));
  dialog->setControlText(kExportButton, tr("Export..."));
  dialog->endPanel();
  dialog->addControl(kOptionsBox, "group", ZelString(u"OptionsBox"));
  dialog->setControlText(kOptionsBox, tr("Options"));
  const struct {
    Control id;
    const char16_t* name;
    const char* caption;
  } checks[] = {
      {kIncludeLabelsCheck, u"IncludeLabelsCheck", "Include Labels on Export"},
      {kIncludeDeviationsCheck, u"IncludeDeviationsCheck", "Include Deviations on Export"},
      {kIncludePassFailCheck, u"IncludePassFailCheck", "Include Pass/Fail on Export"},
  };
  for (const auto& check : checks) {
    dialog->addControl(check.id, "check", ZelString(check.name));
    dialog->setControlText(check.id, tr(check.caption));
    dialog->setControlValue(check.id, 1);
  }
  enableTableButtons(false);
  dialog->setControlFlag(IGuiDialog::kStandardControl1, false);
  dialog->setControlFlag(IGuiDialog::kStandardControl2, false);
}

void PalperaRealTimeDeviationCmd::enableTableButtons(bool enabled) {
  if (!gui_) return;
  gui_->enableControl(kClearTableButton, enabled, IGuiDialog::kEnableDefault);
  gui_->enableControl(kExportButton, enabled, IGuiDialog::kEnableDefault);
}

bool PalperaRealTimeDeviationCmd::findReference() {
  if (!commandReady(name_, {.hardProbe = true, .activeReference = true})) return false;
  SPtr<IZelDoc> document;
  refObject_ = IPtr<IZelDocObject>(document->findObject(ZelString(kReferenceObject)));
  std::optional<ObjectPlacement> placement = ObjectPlacement::ofReference(refObject_.get());
  if (!placement) return false;
  placement_ = *placement;
  // Without a surface model the command runs, but finds no closest point to show.
  IZelUnknown* surface = refObject_->subObject(kSurfaceModel);
  if (!surface) return true;
  mesh_ = IPtr<IZelMeshExt>(queryPart<IZelMesh>(surface) ? queryPart<IZelMeshExt>(surface) : nullptr);
  if (!mesh_) reportUserError(tr("The reference object's surface model is no mesh."));
  return bool(mesh_);
}

bool PalperaRealTimeDeviationCmd::activate() {
  if (!findReference()) {
    refObject_.release();
    return false;
  }
  SPtr<IGenGfxService> graphics;
  if (graphics) graphics->setTargetObject(refObject_.get());
  closestPoint_.getService();
  if (closestPoint_) closestPoint_->setCadModel(mesh_.get());
  // Picks in the view during the run are probe points, never the reference's features.
  if (auto* features = queryPart<IZelSubObjectMgr>(getFeatureSubObjectMgr(refObject_.get())))
    features->setSelectable(false);
  csys_.getService();
  restoreReferenceDisplay();
  referenceDisplay_ = showReferenceObject();
  requestRedraw(false);
  SPtr<IDataStore> store;
  tolerance_ = store ? store->getDouble(kToleranceKey, kDefaultTolerance) : kDefaultTolerance;
  if (gui_) gui_->setControlValue(kToleranceBox, tolerance_);
  if (!connect() || !points_.create()) {
    deactivate();
    return false;
  }
  tile_.createInstance(kHardProbeTileFacadeClassId);
  graphics_.build(points_);
  if (tile_) {
    tile_->setActive(true);
    tile_->showTile(ZelCString(kTile), true);
  }
  pointCounter_ = 0;
  return true;
}

bool PalperaRealTimeDeviationCmd::connect() {
  pluginService_.getService();
  IZelPluginManager* manager = pluginService_ ? hardProbeManager(*pluginService_) : nullptr;
  device_ = IPtr<IZelPluginDevice>(pluginService_ ? pluginService_->getDevice(ZelCString(kDevice)) : nullptr);
  if (!manager || !device_ || !device_->connect()) {
    device_.release();
    reportUserError(tr("Unable to connect to hard probe device."));
    return false;
  }
  IZelPlugin* plugin = manager->currentPlugin();
  if (!plugin) {
    reportAssertion("plugin", kSourceFile, kMissingPluginLine);
    device_->disconnect();
    device_.release();
    return false;
  }
  plugin->reloadObjectMatrix();
  device_->addReceiver(this);
  // From here on disconnect takes back everything, a failed start included.
  connected_ = true;
  if (!device_->startAcquisition()) {
    disconnect();
    reportUserError(tr("Unable to start data acquisition."));
    return false;
  }
  SPtr<IDataStore> store;
  if (store && store->getInt(kShowProbeKey, 0) != 0) {
    if (!probeGfx_) probeGfx_.getService();
    if (probeGfx_) {
      probeGfx_->setParentObject(refObject_.get());
      probeGfx_->attach();
    }
  }
  return true;
}

void PalperaRealTimeDeviationCmd::disconnect() {
  if (!connected_) return;
  if (probeGfx_) {
    probeGfx_->detach();
    probeGfx_.release();
  }
  if (IZelPlugin* plugin = currentHardProbePlugin(pluginService_.get())) plugin->resetObjectMatrix();
  stopDetached(*device_, {this});
  device_->disconnect();
  device_.release();
  connected_ = false;
}

void PalperaRealTimeDeviationCmd::restoreReferenceDisplay() {
  if (referenceDisplay_.graphics) referenceDisplay_.graphics->setDisplayMode(referenceDisplay_.previousMode);
  referenceDisplay_ = {};
}

void PalperaRealTimeDeviationCmd::closeTile() {
  if (!tile_) return;
  tile_->setActive(false);
  tile_->showTile(ZelCString(kTile), false);
  tile_->clear();
  tile_.release();
}

void PalperaRealTimeDeviationCmd::deactivate() {
  closestPoint_.release();
  closeTile();
  graphics_.remove();
  disconnect();
  restoreReferenceDisplay();
  pointTable_->clear();
  points_.destroy();
  mesh_.release();
  refObject_.release();
  csys_.release();
  pluginService_.release();
  requestRedraw(false);
}

bool PalperaRealTimeDeviationCmd::apply() {
  SPtr<IDataStore> store;
  if (store) store->setDouble(nullptr, kToleranceKey, tolerance_);
  return true;
}

bool PalperaRealTimeDeviationCmd::setExportOption(int32_t controlId, int32_t value) {
  switch (controlId) {
    case kIncludeLabelsCheck:
      exportOptions_.labels = value != 0;
      return true;
    case kIncludeDeviationsCheck:
      exportOptions_.deviations = value != 0;
      return true;
    case kIncludePassFailCheck:
      exportOptions_.passFail = value != 0;
      return true;
    default:
      return false;
  }
}

void PalperaRealTimeDeviationCmd::onGuiEvent(int32_t controlId, int32_t value) {
  if (setExportOption(controlId, value)) return;
  if (controlId == kClearTableButton) clearPoints();
  if (controlId == kExportButton) exportDeviationPoints(points_, exportOptions_);
  refreshLabels();
  requestRedraw(true);
}

void PalperaRealTimeDeviationCmd::onGuiValueChanged(int32_t controlId, int32_t value) {
  setExportOption(controlId, value);
}

void PalperaRealTimeDeviationCmd::onGuiValue(int32_t controlId, double value) {
  if (controlId == kToleranceBox) tolerance_ = value;
}

std::optional<ProbeDeviation> PalperaRealTimeDeviationCmd::measure(const Vector3& centre) const {
  return ProbeDeviationMeter(closestPoint_.get(), mesh_.get(), placement_, csys_.get())
      .measure(centre, probeRadius_, tolerance_);
}

void PalperaRealTimeDeviationCmd::onMoved(const Vector3& point, const Vector3&, const Vector3&) {
  if (!tile_) return;
  const std::optional<ProbeDeviation> measured = measure(point);
  if (!measured) return;
  double offset[3];
  (measured->contact - measured->cad).copyTo(offset);
  tile_->setValue(kTileItem, measured->deviation);
  tile_->setVector(kTileItem, offset);
  tile_->setFlag(kTileStatus, measured->pass ? 1 : 0);
}

void PalperaRealTimeDeviationCmd::onPointSampled(const Vector3& point) {
  if (gui_ && !gui_->isControlEnabled(kClearTableButton)) enableTableButtons(true);
  const std::optional<ProbeDeviation> measured = measure(point);
  if (!measured || !points_.created()) return;
  ++pointCounter_;
  const ZelString number = ZelString::number(pointCounter_);
  const ZelString* args[] = {&number};
  const ZelString label = ZelString(kLabelPattern).substituteArgs(args, 1);
  points_.append(label, *measured);
  pointTable_->addRow(label, measured->deviation, measured->pass);
  refreshLabels();
}

void PalperaRealTimeDeviationCmd::onCustomEvent(const ZelCString& name, IZelUnknown*) {
  if (std::strcmp(name.c_str(), IZelHardProbeDataReceiver::kUndoLastSampledEvent) == 0) undoLastPoint();
  if (isAcquisitionError(name)) endAfterError();
}

void PalperaRealTimeDeviationCmd::endAfterError() {
  IPtr<PalperaRealTimeDeviationCmd> self(this);
  // A device that failed sends nothing more. The rows taken before it stay, to be exported; the tile would
  // go on showing the last move as if it were live.
  disconnect();
  closeTile();
  reportAcquisitionError();
}

void PalperaRealTimeDeviationCmd::undoLastPoint() {
  if (!points_.removeLast()) return;
  pointTable_->removeLastRow();
  // The next point takes the number given back.
  --pointCounter_;
  refreshLabels();
}

void PalperaRealTimeDeviationCmd::clearPoints() {
  pointTable_->clear();
  points_.clear();
  pointCounter_ = 0;
  enableTableButtons(false);
}

bool PalperaRealTimeDeviationCmd::isCellEditable(int32_t row, int32_t column) {
  return row > kHeaderRow && column == kLabelColumn;
}

void PalperaRealTimeDeviationCmd::cellChanged(int32_t row, int32_t column, const ZelString& text) {
  // Only a recorded point's label: a row past them has no point to name.
  if (!isCellEditable(row, column) || row - 1 > points_.count()) return;
  const ZelString label = text.length() > kMaxLabelLength ? text.left(kMaxLabelLength) : text;
  points_.setLabel(row - 1, label);
  pointTable_->setLabel(row, label);
  refreshLabels();
  requestRedraw(true);
}

void PalperaRealTimeDeviationCmd::refreshLabels() {
  graphics_.refreshLabels(points_);
}

void PalperaRealTimeDeviationCmd::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  chain.classLeaf(interfaceName, static_cast<CompBaseCmd*>(this), static_cast<IComponentCommand*>(this))
      .offer<IZelPluginDataReceiver>(this)
      .offer<IZelHardProbeDataReceiver>(this)
      .offer<IZelHardProbeDataReceiverV2>(this);
  queryCommandChain(chain);
}
