#include "commands/alignment/iterative/palpera_iterative_alignment_cmd.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "commands/alignment/common/assertion_sites.h"
#include "commands/alignment/iterative/camera_animators.h"
#include "commands/alignment/iterative/closest_point_finder.h"
#include "commands/alignment/iterative/iterative_realignment.h"
#include "commands/alignment/iterative/probe_receivers.h"
#include "commands/alignment/iterative/target_graphics.h"
#include "commands/alignment/iterative/targets_table.h"
#include "commands/alignment/iterative/undo_items.h"
#include "commands/alignment/iterative/view_point.h"
#include "commands/common/command_readiness.h"
#include "commands/transform/matrix_widget.h"
#include "devices/contracts/plugin.h"
#include "devices/contracts/plugin_device.h"
#include "devices/managers/izel_plugin_manager.h"
#include "devices/registry/izel_plugin_service.h"
#include "framework/commands/command_context.h"
#include "framework/host_glue/renderer_scope.h"
#include "framework/host_glue/user_error.h"
#include "framework/memory/assertion.h"
#include "framework/object/host_lookup.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "framework/registrations/class_registration.h"
#include "framework/registrations/registered_classes.h"
#include "framework/translation/tr.h"
#include "host_api/data_store.h"
#include "host_api/gfx_view.h"
#include "host_api/gui_dialog.h"
#include "host_api/gui_status_bar.h"
#include "host_api/host_class_ids.h"
#include "host_api/update_gui.h"
#include "host_api/vector_input.h"
#include "host_api/view_input.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_object_attribute.h"
#include "host_api/zel_sub_objects.h"
#include "ui/probe/zel_hard_probe_probe_gfx.h"
#include "ui/visibility/zel_sub_object_visibility_mgr.h"

namespace {

const ClassRegistration<PalperaIterativeAlignmentCmd> registration(
    registeredClass("PalperaIterativeAlignmentCmd"));

constexpr const char* kSourceFile = assertion_sites::kIterativeSource;
constexpr const char* kDevice = "HardProbe";
constexpr const char* kReferenceName = "RefObject";

constexpr const char* kInstructions =
    "<b>1.</b> Pick three or more alignment targets on the Reference object.\n<b>2.</b> Click <b>Probe "
    "Points</b> to probe the target points on the Test object.\n<b>3.</b> Re-probe out of tolerance targets "
    "or in tolerance targets to improve accuracy.";
constexpr const char* kNoStatistics = "Maximum Distance:\nAverage Distance:\nStandard Deviation:";

using Cmd = PalperaIterativeAlignmentCmd;

// 100 x 10^(floor(log10 L) - 3) for the largest side L of the reference's box; 1.0 without a box.
double sizeScaleOf(double largestSide) {
  if (!(largestSide > 0) || !std::isfinite(largestSide)) return 1.0;
  return 100.0 * std::pow(10.0, std::floor(std::log10(largestSide)) - 3.0);
}

}  // namespace

PalperaIterativeAlignmentCmd::PalperaIterativeAlignmentCmd() {
  name_ = tr("Iterative Alignment");
  vectorInput_.createInstance(kHostVectorInputClassId);
  if (!vectorInput_) reportAssertion("vectorInput_", kSourceFile, __LINE__);
}

PalperaIterativeAlignmentCmd::~PalperaIterativeAlignmentCmd() = default;

bool PalperaIterativeAlignmentCmd::canRun(IZelUnknown* context) {
  return !contextBusy(context) && referencePickable(vectorInput_.get());
}

void PalperaIterativeAlignmentCmd::createGui(IGuiDialog* dialog) {
  gui_ = dialog;
  if (!dialog) return;
  const ZelString none;
  dialog->beginGroupBox("MainBox", kMainBox, none);
  dialog->beginFramedGroupBox("Instructions", dialog->reserveControlIds(1), true, tr("Instructions"), true);
  dialog->addControl(kInstructionsLabel, "label", ZelString("InstructionsLabel"));
  dialog->setControlText(kInstructionsLabel, tr(kInstructions));
  dialog->endGroup();

  dialog->beginFramedGroupBox("OptionsBox", kOptionsBox, true, tr("Options"), true);
  dialog->addControl(kTolerance, "length", ZelString("Tolerance"));
  dialog->setControlText(kTolerance, tr("Tolerance"));
  dialog->setNumberFormat(kTolerance, "%.4f", 0.0, DBL_MAX);
  dialog->endGroup();

  dialog->beginFramedGroupBox("Targets", dialog->reserveControlIds(1), true, tr("Targets"), true);
  dialog->addControl(kTable, "table", ZelString("Table"));
  dialog->endGroup();

  dialog->beginFramedGroupBox("LocationSetsBox", kLocationSetsBox, true, tr("Load Location Set"), true);
  dialog->addControl(kLocationSetsList, "list", ZelString("LocationSetsList"));
  dialog->addButtonAt("LocationSetsLoadButton", kLoadButton, tr("Load"), true);
  dialog->endGroup();

  dialog->addButtonAt("StartProbing", kStartProbing, tr("Probe Points"), true);
  dialog->addButtonAt("ShowPositionButton", kShowPosition, tr("Show Position"), true);
  matrixWidget_.createInstance(classIdOf("MatrixWidget"));
  if (matrixWidget_) {
    matrixWidget_->buildGui(dialog, nullptr);
    matrixDisplay_ = queryPart<MatrixWidget>(matrixWidget_.get());
  }
  dialog->beginFramedGroupBox("Statistics", dialog->reserveControlIds(1), true, tr("Statistics"), true);
  dialog->addControl(kStatisticsLabel, "label", ZelString("StatisticsLabel"));
  dialog->setControlText(kStatisticsLabel, tr(kNoStatistics));
  dialog->endGroup();
  dialog->endGroup();
}

bool PalperaIterativeAlignmentCmd::connectDevice() {
  SPtr<IZelPluginService> service;
  IZelPluginManager* manager = service ? service->getManager(ZelCString(kDevice)) : nullptr;
  IZelPluginDevice* device = service ? service->getDevice(ZelCString(kDevice)) : nullptr;
  if (!manager || !device || !device->connect()) {
    reportUserError(tr("Unable to connect to hard probe device."));
    return false;
  }
  device_ = device;
  // Connecting may put another plug-in in place (the replay of the host's log lends its own): the matrices
  // set and read are those of the plug-in the device runs with.
  plugin_ = manager->currentPlugin();
  if (!plugin_) {
    reportUserError(tr("No plug-ins are installed."));
    releaseDevice();
    return false;
  }
  activationMatrix_.keep(*plugin_);
  return true;
}

void PalperaIterativeAlignmentCmd::releaseDevice() {
  if (device_) device_->disconnect();
  device_.release();
  plugin_ = nullptr;
  activationMatrix_.forget();
}

bool PalperaIterativeAlignmentCmd::activate() {
  if (!commandReady(name_, {.hardProbe = true, .activeReference = true}) || !connectDevice()) return false;
  SPtr<IZelDoc> document;
  refObj_ = document ? document->findObject(ZelString(kReferenceName)) : nullptr;
  if (!refObj_) {
    reportAssertion("refObj_", kSourceFile, __LINE__);
    releaseDevice();
    return false;
  }
  refObj_->setProperty("Visible", true);
  refObj_->setProperty("Active", true);
  readReferenceSize();

  if (SPtr<IGfxDoc> gfx; gfx) {
    IZelGroupNode* objectNode = gfx->objectNode(refObj_.get());
    graphicsRoot_ = queryPart<IZelGroupNode>(createNode<IZelSeparatorNode>(objectNode, "IterativeAlignment"));
  }
  graphics_ = std::make_unique<TargetGraphics>(graphicsRoot_.get(), targetData_, refObj_.get());
  realignment_ = std::make_unique<IterativeRealignment>(
      IterativeRealignment::Parts{&targetData_, refObj_.get(), graphics_.get(), gui_, matrixDisplay_});
  realignment_->setNoAlignmentMatrix(activationMatrix_.matrix());

  tolerance_ = alignmentTolerance();
  if (gui_) gui_->setControlValue(kTolerance, tolerance_);
  if (vectorInput_) vectorInput_->activate();
  if (matrixWidget_) matrixWidget_->activate();
  showDeviceTransform(*plugin_, matrixDisplay_);

  fillLocationSets();
  hideReferenceSubObjects();
  table_ = std::make_unique<TargetsTable>(targetData_, gui_);
  table_->refresh(kMinimumTargets);
  showStatusText();
  return true;
}

void PalperaIterativeAlignmentCmd::readReferenceSize() {
  SPtr<IGenGfxService> gfx;
  double box[6] = {FLT_MAX, FLT_MAX, FLT_MAX, -FLT_MAX, -FLT_MAX, -FLT_MAX};
  if (gfx) gfx->objectBox(refObj_.get(), box);
  referenceSize_ = std::max({box[3] - box[0], box[4] - box[1], box[5] - box[2]});
  if (!(referenceSize_ > 0)) referenceSize_ = 0;
  sizeScale_ = sizeScaleOf(referenceSize_);
}

void PalperaIterativeAlignmentCmd::hideReferenceSubObjects() {
  auto* attribute =
      queryPart<IZelObjectAttribute>(refObj_->attachedObject(kShowFeaturesWhileAligningAttributeId));
  if (!attribute || attribute->check()) return;
  auto* subObjects = queryPart<IZelSubObjectMgr>(refObj_->attachedObject(kFeatureSubObjectsClassId));
  visibility_.createInstance(classIdOf("SubObjectVisibilityMgr"));
  if (!visibility_ || !subObjects) return;
  for (int32_t i = 0; i < subObjects->subObjectCount(); ++i)
    visibility_->change(subObjects->subObjectAt(i), false);
  visibility_->apply();
}

void PalperaIterativeAlignmentCmd::showStatusText() {
  SPtr<IGuiStatusBar> statusBar;
  if (!statusBar) return;
  SPtr<IUpdateGui> gui;
  auto shortcut = [&gui](const char* action) { return gui ? gui->shortcutText(action) : ZelString(); };
  statusBar->setHelpText(static_cast<IZelUnknown*>(this),
                         tr("%1: Undo Picked Target | %2: Redo Picked Target | %3", shortcut("Undo"),
                            shortcut("Redo"), shortcut("Help")));
}

void PalperaIterativeAlignmentCmd::deactivate() {
  stopProbing(true);
  stopShowPosition();
  SPtr<IGuiStatusBar> statusBar;
  if (statusBar) statusBar->clearHelpText(static_cast<IZelUnknown*>(this));
  table_.reset();
  if (matrixWidget_) matrixWidget_->deactivate();
  if (vectorInput_) vectorInput_->stop();
  if (visibility_) visibility_->restore();
  visibility_.release();
  probeQueue_.clear();
  probedHistory_.clear();
  realignment_.reset();
  graphics_.reset();
  if (SPtr<IGfxDoc> gfx; gfx && graphicsRoot_ && refObj_) {
    if (IZelGroupNode* objectNode = gfx->objectNode(refObj_.get()))
      objectNode->removeChild(queryPart<IZelNode>(graphicsRoot_.get()));
  }
  graphicsRoot_.release();
  targetData_.clear();
  undoStack_.clear();
  redoStack_.clear();
  locationSets_.clear();
  zoomDistance_ = 0;
  pendingViewPoint_.reset();
  lastViewSize_ = 0;
  refObj_.release();
  releaseDevice();
}

bool PalperaIterativeAlignmentCmd::apply() {
  SPtr<IDataStore> store;
  if (store) store->setDouble(nullptr, kToleranceKey, tolerance_);
  return true;
}

bool PalperaIterativeAlignmentCmd::cancel() {
  stopProbing(true);
  stopShowPosition();
  if (plugin_ && activationMatrix_.isKept())
    setDeviceTransform(*plugin_, activationMatrix_.matrix(), matrixDisplay_);
  return true;
}

void PalperaIterativeAlignmentCmd::onGuiEvent(int32_t controlId, int32_t) {
  if (!refObj_) return;
  switch (controlId) {
    case kStartProbing:
      startProbing(true);
      break;
    case kShowPosition:
      startShowPosition();
      break;
    case kLoadButton:
      loadSelectedLocationSet();
      break;
    default:
      break;
  }
}

void PalperaIterativeAlignmentCmd::onGuiValue(int32_t controlId, double value) {
  if (controlId == kTolerance && refObj_) onToleranceChanged(value);
}

void PalperaIterativeAlignmentCmd::onGuiValueChanged(int32_t controlId, int32_t value) {
  if (controlId == kLocationSetsList) onListSelection(value);
}

void PalperaIterativeAlignmentCmd::onListSelection(int32_t entry) {
  if (gui_) gui_->enableControl(kLoadButton, entry >= 1, IGuiDialog::kEnableDefault);
}

bool PalperaIterativeAlignmentCmd::canTakeInput() const {
  return refObj_ && !receiver_ && !freeReceiver_ && !position_.isRunning();
}

bool PalperaIterativeAlignmentCmd::onMousePress(IGfxMouseData*) {
  if (!canTakeInput() || !vectorInput_) return false;
  vectorInput_->pointerPressed();
  return false;
}

bool PalperaIterativeAlignmentCmd::onMouseMove(IGfxMouseData*) {
  if (!canTakeInput() || !vectorInput_) return false;
  vectorInput_->pointerMoved();
  return false;
}

bool PalperaIterativeAlignmentCmd::onMouseRelease(IGfxMouseData* mouse) {
  if (!canTakeInput() || !vectorInput_) return false;
  Vector3 point, normal;
  auto* normals = queryPart<ITripletInputNormal>(vectorInput_.get());
  if (!vectorInput_->pick(mouse, refObj_.get(), point) || !normals || !normals->normal(normal)) return false;
  onPickedVector(point, normal);
  return true;
}

bool PalperaIterativeAlignmentCmd::onKeyPress(IGfxKeyData* key) {
  if (!key || !canTakeInput()) return false;
  const int32_t code = key->keyCode();
  if (code != kUndoKey && code != kRedoKey) return false;
  onKey(code);
  return true;
}

void PalperaIterativeAlignmentCmd::addTarget(Target* target) {
  if (!target) return;
  if (target->name.isEmpty())
    target->name = tr("Target %1", ZelString::number(static_cast<int32_t>(targetData_.size()) + 1));
  TargetData entry;
  entry.nominal = target;
  entry.tolerance = tolerance_;
  targetData_.push_back(entry);
}

void PalperaIterativeAlignmentCmd::removeLastTarget() {
  if (!targetData_.empty()) targetData_.pop_back();
}

void PalperaIterativeAlignmentCmd::onPickedVector(const Vector3& point, const Vector3& normal) {
  IPtr<Target> target(new Target);
  target->point = point;
  target->direction = normal;
  target->criticalDistance = sizeScale_;
  addTarget(target.get());
  pushUndoItem(new TargetUndoItem(targetData_.back().nominal.get()));
  realign();
}

void PalperaIterativeAlignmentCmd::pushUndoItem(IUndoItem* item) {
  undoStack_.emplace_back(item);
  redoStack_.clear();
}

bool PalperaIterativeAlignmentCmd::realign() {
  const bool aligned = realignment_ && realignment_->updateAlignment();
  requestRedraw(false);
  refreshTable();
  return aligned;
}

bool PalperaIterativeAlignmentCmd::isAligned() const {
  return realignment_ && realignment_->isAligned();
}

void PalperaIterativeAlignmentCmd::refreshTable() {
  if (table_) table_->refresh(kMinimumTargets);
}

void PalperaIterativeAlignmentCmd::rebuildGraphics() {
  if (graphics_) graphics_->buildTargetGraphics();
}

void PalperaIterativeAlignmentCmd::onToleranceChanged(double value) {
  tolerance_ = value;
  for (TargetData& entry : targetData_) {
    entry.setTolerance(value);
    entry.computeDeviation();
  }
  rebuildGraphics();
  requestRedraw(false);
  refreshTable();
}

void PalperaIterativeAlignmentCmd::onKey(int32_t code) {
  if (!canTakeInput()) return;
  if (code == kUndoKey && !undoStack_.empty()) {
    IPtr<IUndoItem> item = undoStack_.back();
    undoStack_.pop_back();
    redoStack_.push_back(item);
    item->undo(*this);
  } else if (code == kRedoKey && !redoStack_.empty()) {
    IPtr<IUndoItem> item = redoStack_.back();
    redoStack_.pop_back();
    undoStack_.push_back(item);
    item->redo(*this);
  } else {
    return;
  }
  realign();
}

void PalperaIterativeAlignmentCmd::startShowPosition() {
  if (!canTakeInput() || !device_) return;
  if (position_.start(*device_, *this, refObj_.get())) {
    if (gui_) {
      for (int32_t id : {IGuiDialog::kStandardControl1 - 1, IGuiDialog::kStandardControl1, int32_t{kMainBox}})
        gui_->enableControl(id, false, IGuiDialog::kEnableDefault);
    }
  }
}

void PalperaIterativeAlignmentCmd::stopShowPosition() {
  if (!position_.isRunning()) return;
  position_.stop();
  if (gui_) {
    for (int32_t id : {int32_t{kMainBox}, IGuiDialog::kStandardControl1, IGuiDialog::kStandardControl1 - 1})
      gui_->enableControl(id, true, IGuiDialog::kEnableDefault);
  }
}

void PalperaIterativeAlignmentCmd::onNotify(const char* event, IZelSubject* subject, void*) {
  if (event && std::string_view(event) == "Stop" && position_.isSender(subject)) stopShowPosition();
}

void PalperaIterativeAlignmentCmd::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  chain.classLeaf(interfaceName, static_cast<PalperaIterativeAlignmentCmd*>(this),
                  static_cast<IZelUnknown*>(static_cast<CompBaseCmd*>(this)));
  chain.offer<IZelListener>(this);
  queryCommandChain(chain);
}
