#include "commands/edit_features/palpera_edit_features_cmd.h"

#include <utility>

#include "basic_types/matrix4x4.h"
#include "commands/common/command_readiness.h"
#include "commands/edit_features/feature_refit.h"
#include "features/compensated_points.h"
#include "features/feature_matching.h"
#include "framework/commands/command_context.h"
#include "framework/host_glue/document_glue.h"
#include "framework/host_glue/user_error.h"
#include "framework/memory/assertion.h"
#include "framework/object/host_lookup.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "framework/registrations/class_registration.h"
#include "framework/translation/tr.h"
#include "host_api/gfx_view.h"
#include "host_api/gui_busy_block.h"
#include "host_api/gui_status_bar.h"
#include "host_api/gui_theme_mgr.h"
#include "host_api/probe_array_source.h"
#include "host_api/state_mgr.h"
#include "host_api/update_gui.h"

namespace {

const ClassRegistration<PalperaEditFeaturesCmd> registration(registeredClass("PalperaEditFeaturesCmd"));

constexpr const char* kSelectionState = "SelectionCmd";
constexpr const char* kSceneNodeName = "edit features";

// What the mouse and the editing shortcuts do, for the status bar.
ZelString helpText() {
  SPtr<IGuiThemeMgr> themes;
  SPtr<IUpdateGui> gui;
  auto shortcut = [&gui](const char* action) { return gui ? gui->shortcutText(action) : ZelString(); };
  const ZelString select = themes ? themes->mouseActionName(0) : ZelString();
  const ZelString unselect = themes ? themes->mouseActionName(1) : ZelString();
  const ZelString keys[] = {select,
                            unselect,
                            shortcut("Delete Points"),
                            shortcut("Undo"),
                            shortcut("Redo"),
                            shortcut("Select All"),
                            shortcut("Clear All"),
                            ZelString()};
  return trPointSelectionHelp(8, keys);
}

// The host's busy indicator, shown for the scope's life.
class BusyScope {
 public:
  BusyScope() {
    if (busy_) busy_->begin(ZelString());
  }
  ~BusyScope() {
    if (busy_) busy_->end();
  }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  SPtr<IGuiBusyBlock> busy_;
};

void refreshGui() {
  SPtr<IUpdateGui> gui;
  if (gui) gui->refresh(0);
}

IPtr<IZelFeature> copyOf(IZelFeature* feature) {
  IPtr<IZelFeature> copy;
  if (feature) copy.takeOwnership(feature->copy());
  return copy;
}

}  // namespace

PalperaEditFeaturesCmd::PalperaEditFeaturesCmd() {
  name_ = tr("Edit Probed Features");
}

bool PalperaEditFeaturesCmd::canRun(IZelUnknown* context) {
  return !contextBusy(context);
}

void PalperaEditFeaturesCmd::createGui(IGuiDialog* dialog) {
  gui_ = dialog;
  if (!gui_) {
    reportAssertion("dlg_", "palperaeditfeaturescmd", 88);
    return;
  }
  gui_->beginBox("MainBox", 0, ZelString(), true);
  featureSelection_.getService();
  if (featureSelection_) {
    featureSelection_->initialise(static_cast<IGuiReceiver*>(this), kFeatureSelectionId, "Features/Create", 1,
                                  0, nullptr, 0);
    featureSelection_->buildInDialog(gui_, tr("Features"));
  }
  // Named by its id, so that the builder's numbering leaves the table's id free.
  gui_->beginGroup("ControlBaseID+3", 1, tr("Fitting Statistics"), true);
  gui_->addControl(FittingStatisticsTable::kControlId, "table", ZelString("FittingStatisticsTable"));
  gui_->endGroup();
  gui_->endGroup();
  gui_->setControlFlag(IGuiDialog::kStandardControl2, false);
}

bool PalperaEditFeaturesCmd::activate() {
  if (!commandReady(name_, {.probedFeatures = true})) return false;
  SPtr<IZelDoc> doc;
  IZelDocObject* object = doc ? doc->activeObject() : nullptr;
  IZelFeatureSubObjectMgr* features = getFeatureSubObjectMgr(object);
  auto* subObjects = queryPart<IZelSubObjectMgr>(features);
  if (!subObjects) return false;
  object_ = object;
  startHistory();
  createSceneNode();
  SPtr<IStateMgr> states;
  if (states) states->pushState(kSelectionState);
  visibility_.createInstance(classIdOf("SubObjectVisibilityMgr"));
  for (int32_t i = 0; i < subObjects->subObjectCount(); ++i) {
    auto* subObject = queryPart<IZelFeatureSubObject>(subObjects->subObjectAt(i));
    if (!subObject) continue;
    const bool probed = isProbedFeature(subObject);
    if (visibility_) visibility_->change(subObject, probed);
    if (!probed) continue;
    probed_.push_back({IPtr<IZelFeatureSubObject>(subObject), subObject->displayFlag(kProbedDisplayFlag),
                       IPtr<IZelFeature>()});
    subObject->setDisplayFlag(kProbedDisplayFlag, false);
  }
  if (featureSelection_) {
    const std::vector<IZelFeatureSubObject*> offered = probedSubObjects();
    featureSelection_->setSubObjects(features, 1, offered.data(), static_cast<int32_t>(offered.size()));
  }
  if (visibility_) visibility_->apply();
  for (Probed& entry : probed_) entry.savedFeature = copyOf(entry.subObject->feature());
  table_ = std::make_unique<FittingStatisticsTable>(gui_);
  fillStatisticsTable();
  SPtr<IGuiStatusBar> statusBar;
  if (statusBar) statusBar->setHelpText(static_cast<IZelUnknown*>(this), helpText());
  return true;
}

void PalperaEditFeaturesCmd::deactivate() {
  SPtr<IGuiStatusBar> statusBar;
  if (statusBar) statusBar->clearHelpText(static_cast<IZelUnknown*>(this));
  for (Probed& entry : probed_) entry.savedFeature.release();
  if (featureSelection_) featureSelection_->deactivate();
  if (visibility_) visibility_->restore();
  visibility_.release();
  for (Probed& entry : probed_) entry.subObject->setDisplayFlag(kProbedDisplayFlag, entry.displayFlag);
  probed_.clear();
  SPtr<IStateMgr> states;
  if (states) states->popState(kSelectionState);
  removeSceneNode();
  object_.release();
  current_.release();
  history_.clear();
  redo_.clear();
  table_.reset();
  canUndo_ = false;
}

bool PalperaEditFeaturesCmd::cancel() {
  for (Probed& entry : probed_) {
    if (entry.savedFeature) applyFeatureToSubObject(entry.subObject.get(), entry.savedFeature.get());
  }
  return true;
}

std::vector<IZelFeatureSubObject*> PalperaEditFeaturesCmd::probedSubObjects() const {
  std::vector<IZelFeatureSubObject*> subObjects;
  for (const Probed& entry : probed_) subObjects.push_back(entry.subObject.get());
  return subObjects;
}

void PalperaEditFeaturesCmd::onGuiEvent(int32_t id, int32_t value) {
  if (id == kFeatureSelectionId && value == 1 && featureSelection_)
    selectFeature(featureSelection_->chosenSubObject());
}

void PalperaEditFeaturesCmd::onEvent(IHostEvent* event) {
  if (!event || history_.empty()) return;
  switch (event->id()) {
    case IHostEvent::kSelectAll:
      selectAll();
      break;
    case IHostEvent::kClearSelection:
      clearAll();
      break;
    case IHostEvent::kUndo:
      undo();
      break;
    case IHostEvent::kRedo:
      redo();
      break;
    case IHostEvent::kDelete:
      deleteSelectedPoints();
      break;
    default:
      break;
  }
}

void PalperaEditFeaturesCmd::createSceneNode() {
  SPtr<IGfxDoc> graphics;
  IZelGroupNode* objectNode = graphics ? graphics->objectNode(object_.get()) : nullptr;
  sceneNode_ = queryPart<IZelGroupNode>(createNode<IZelSeparatorNode>(objectNode, kSceneNodeName));
}

void PalperaEditFeaturesCmd::removeSceneNode() {
  if (!sceneNode_) return;
  sceneNode_->removeAllChildren();
  SPtr<IGfxDoc> graphics;
  if (IZelGroupNode* objectNode = graphics ? graphics->objectNode(object_.get()) : nullptr)
    objectNode->removeChild(queryPart<IZelNode>(sceneNode_.get()));
  sceneNode_.release();
}

void PalperaEditFeaturesCmd::startHistory() {
  history_.clear();
  history_.push_back(std::make_unique<EditState>());
  redo_.clear();
  canUndo_ = false;
}

void PalperaEditFeaturesCmd::selectFeature(IZelFeatureSubObject* subObject) {
  if (!subObject || history_.empty()) return;
  if (subObject != current_.get()) startHistory();
  current_ = subObject;
  EditState& top = *history_.back();
  top.feature = subObject->feature();
  if (top.feature) top.groups = loadPointGroups(top.feature.get());
  buildPointGraphics();
  fillStatisticsTable();
}

void PalperaEditFeaturesCmd::selectAll() {
  EditState& top = *history_.back();
  const auto count = static_cast<int32_t>(top.groups.points.size());
  top.selection.resize(count);
  top.selection.setAll();
  showSelection();
}

void PalperaEditFeaturesCmd::clearAll() {
  history_.back()->selection.clearAll();
  showSelection();
}

void PalperaEditFeaturesCmd::showSelection() {
  buildPointGraphics();
  refreshGui();
}

void PalperaEditFeaturesCmd::deleteSelectedPoints() {
  if (!current_ || !history_.back()->feature) return;
  const BusyScope busy;
  EditState& top = *history_.back();
  auto next = std::make_unique<EditState>();
  next->selection = top.selection;
  next->feature = copyOf(top.feature.get());
  next->groups = loadPointGroups(next->feature.get());
  removeSelectedPoints(next->groups, next->selection);
  IPtr<IZelFeature> refitted = refitFeature(next->feature.get());
  if (!refitted) {
    // The failed state is never pushed: the feature, the history and the redo stack stay as they were.
    reportUserError(tr("Feature fitting failed"));
    return;
  }
  next->feature = refitted;
  next->groups = loadPointGroups(refitted.get());
  history_.push_back(std::move(next));
  redo_.clear();
  canUndo_ = true;
  showTopState();
}

void PalperaEditFeaturesCmd::undo() {
  if (!canUndo_ || !current_) return;
  redo_.push_back(std::move(history_.back()));
  history_.pop_back();
  if (history_.size() == 1) canUndo_ = false;
  showTopState();
}

void PalperaEditFeaturesCmd::redo() {
  if (redo_.empty() || !current_) return;
  history_.push_back(std::move(redo_.back()));
  redo_.pop_back();
  canUndo_ = true;
  showTopState();
}

void PalperaEditFeaturesCmd::showTopState() {
  applyFeatureToSubObject(current_.get(), history_.back()->feature.get());
  fillStatisticsTable();
  buildPointGraphics();
  refreshGui();
}

void PalperaEditFeaturesCmd::applyFeatureToSubObject(IZelFeatureSubObject* subObject, IZelFeature* feature) {
  if (!subObject) return reportAssertion("fso", "palperaeditfeaturescmd", 520);
  if (!feature) return reportAssertion("feature", "palperaeditfeaturescmd", 521);
  subObject->setFeature(feature);
  subObject->refresh();
  showProbedPoints(*subObject, getCompensatedPoints(feature).value_or(PointList{}));
}

void PalperaEditFeaturesCmd::fillStatisticsTable() {
  if (table_) table_->fill(current_ ? current_->feature() : nullptr);
}

void PalperaEditFeaturesCmd::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  chain.classLeaf(interfaceName, static_cast<PalperaEditFeaturesCmd*>(this), static_cast<IZelUnknown*>(this));
  queryCommandChain(chain);
}
