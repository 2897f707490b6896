#include "commands/alignment/move_device/move_device_widget.h"

#include <cstring>
#include <utility>

#include "commands/alignment/common/device_transform_steps.h"
#include "commands/alignment/move_device/move_device_best_fit.h"
#include "commands/alignment/move_device/move_device_keys.h"
#include "devices/contracts/plugin_device.h"
#include "devices/registry/izel_plugin_service.h"
#include "features/collectors/zel_feature_collector.h"
#include "framework/host_glue/point_objects.h"
#include "framework/host_glue/setting_on.h"
#include "framework/host_glue/user_error.h"
#include "framework/object/query_part.h"
#include "framework/registrations/class_registration.h"
#include "framework/registrations/registered_classes.h"
#include "framework/subject/event_name.h"
#include "framework/translation/tr.h"
#include "host_api/data_store.h"
#include "host_api/gui_simple_dialog.h"
#include "ui/instructions/zel_user_instructions.h"
#include "ui/tiles/hard_probe_tile_facade.h"
#include "ui/tiles/zel_hard_probe_tile.h"

namespace {

const ClassRegistration<MoveDeviceWidget> registration(registeredClass("MoveDeviceWidget"));

namespace keys = move_device_keys;

// The controls, by their offset from the widget's first id.
enum Control : int32_t {
  kBox = 0,
  kStartBox = 1,
  kBegin = 2,
  kResume = 3,
  kCollectReferenceBox = 4,
  kCreateReferencesBox = 5,
  kCreateTypeBox = 6,
  kTypePoint = 7,
  kTypeSphere = 9,
  kTypeCircle = 11,
  kTypePrevious = 13,
  kReferenceList = 15,
  kReferenceUp = 16,
  kReferenceDown = 18,
  kReferenceDelete = 20,
  kCollectTargetBox = 22,
  kTargetPrompt = 23,
  kTargetStart = 24,
  kTargetRetry = 26,
  kTargetRestart = 28,
  kTargetDisplayBox = 30,
  kTargetList = 31,
  kComputeLeapBox = 32,
  kPairList = 33,
  kPairDelete = 34,
  kPairDeviations = 36,
  kControlBox = 37,
  kExit = 38,
  kNext = 39,
  kDone = 40,
};

constexpr const char* kPromptText = "\n\tPress Start to begin...\n";
constexpr const char* kShowProbeKey = "Palpera/Gfx/ShowProbe";
constexpr const char* kResetBoundingBoxKey = "Palpera/Gfx/ResetBoundingBox";
constexpr const char* kShowInfoKey = "Palpera/Tile/ShowInfo";
constexpr const char* kShowInstructionsKey = "Palpera/Tile/ShowInstructions";
// The simple dialog's styles the wizard uses: a message, and a question answered 1 (yes), 2 (no) or else.
constexpr int32_t kMoveMessageStyle = 2;
constexpr int32_t kSaveQuestionStyle = 4;
constexpr int32_t kAnswerSave = 1;
constexpr int32_t kAnswerDiscard = 2;
// "Next" needs three references: two pairs leave the turn about their common line free.
constexpr int32_t kFewestPairs = 3;

struct Kind {
  uint32_t number;
  const char* collectorClass;
  const char* featureName;
};

constexpr Kind kKinds[] = {{MoveDeviceWidget::kSinglePoint, "PointCollector", "Point"},
                           {MoveDeviceWidget::kSphereCenter, "SphereCollector", "Sphere Center"},
                           {MoveDeviceWidget::kCircleCenter, "CircleCollector", "Circle Center"}};

const Kind* kindOf(uint32_t number) {
  for (const Kind& kind : kKinds)
    if (kind.number == number) return &kind;
  return nullptr;
}

IZelPluginDevice* hardProbeDevice() {
  SPtr<IZelPluginService> devices;
  return devices ? devices->getDevice(ZelCString("HardProbe")) : nullptr;
}

// A picture button: its icon registered under picture just before it.
struct PictureButton {
  int32_t control;
  const char* name;
  const char* icon;
  const char* label;
  int32_t picture;  // the picture number: fixed, or an offset from the first id when relative
  bool relative = false;
};

constexpr PictureButton kTypeButtons[] = {
    {kTypePoint, "RefTypePoint", "pointmethod", "Single Point", 8},
    {kTypeSphere, "RefTypeSphere", "lrg_sphere", "Sphere Center", 10},
    {kTypeCircle, "RefTypeCircle", "lrg_featurecircle", "Circle Center", 12},
    {kTypePrevious, "RefTypePrev", "previous_targets", "Previous Targets", 14}};
constexpr PictureButton kReferenceButtons[] = {
    {kReferenceUp, "RefDisplayUp", "up", "Move Up", 17},
    {kReferenceDown, "RefDisplayDown", "down", "Move Down", 19},
    {kReferenceDelete, "RefDisplayDelete", "delete", "Delete", 21}};
constexpr PictureButton kTargetButtons[] = {
    {kTargetStart, "TargetStart", "define_reference_targets", "Define Targets", 25, true},
    {kTargetRetry, "TargetRetry", "retry_target", "Redefine Last Target", 27, true},
    {kTargetRestart, "TargetRestart", "delete_targets", "Clear All Targets", 29, true}};
constexpr PictureButton kPairDeleteButton{kPairDelete, "PairDisplayDelete", "delete", "Delete Pair", 35,
                                          true};

}  // namespace

MoveDeviceWidget::~MoveDeviceWidget() {
  releaseCollector();
}

// Building.

bool MoveDeviceWidget::buildGui(IGuiDialog* dialog, const ZelString*) {
  reserveControls(dialog, kControlCount);
  if (!dialog) return false;
  dialog->beginReceiver(this);
  buildControls(*dialog);
  dialog->enableControl(id(kTargetList), false, IGuiDialog::kEnableDefault);
  dialog->endReceiver();
  return true;
}

void MoveDeviceWidget::buildControls(IGuiDialog& dialog) {
  auto group = [&](int32_t control, const char* name, const char* title) {
    ControlId box = controlId({control, name});
    dialog.beginFramedGroupBox(box.text.c_str(), box.number, title != nullptr,
                               title ? tr(title) : ZelString(), true);
  };
  auto push = [&](int32_t control, const char* name, const char* label) {
    ControlId button = controlId({control, name});
    dialog.addButtonAt(button.text.c_str(), button.number, tr(label), true);
  };
  auto picture = [&](const PictureButton& button) {
    dialog.registerPicture(button.relative ? id(button.picture) : button.picture, button.icon);
    ControlId control = controlId({button.control, button.name});
    dialog.addImageButton(control.text.c_str(), control.number, tr(button.label), true);
  };
  auto plain = [&](int32_t control, const char* kind, const char* name) {
    ControlId made = controlId({control, name});
    dialog.addControl(made.number, kind, ZelString(made.text.c_str()));
  };

  group(kBox, "Box", "Move Device Wizard");
  group(kStartBox, "StartBox", nullptr);
  push(kBegin, "StartBeginButton", "Begin");
  push(kResume, "StartResumeButton", "Resume");
  dialog.endGroup();

  group(kCollectReferenceBox, "CollectReferenceBox", "Collect Reference Points");
  group(kCreateReferencesBox, "CreateReferencesBox", nullptr);
  group(kCreateTypeBox, "CreateTypeBox", nullptr);
  for (const PictureButton& button : kTypeButtons) picture(button);
  dialog.endGroup();
  dialog.endGroup();
  dialog.beginPanel(tr("Reference Points"), true);
  dialog.beginLayout(false);
  plain(kReferenceList, "list", "RefDisplayList");
  dialog.endLayout();
  dialog.beginLayout(false);
  for (const PictureButton& button : kReferenceButtons) picture(button);
  dialog.endLayout();
  dialog.endPanel();
  dialog.endGroup();

  group(kCollectTargetBox, "CollectTargetBox", "Collect Target Points");
  plain(kTargetPrompt, "text", "TargetPrompt");
  dialog.setControlText(id(kTargetPrompt), tr(kPromptText));
  dialog.beginLayout(false);
  for (const PictureButton& button : kTargetButtons) picture(button);
  dialog.endLayout();
  group(kTargetDisplayBox, "TargetDisplayBox", "Target Points");
  plain(kTargetList, "list", "TargetDisplayList");
  dialog.endGroup();
  dialog.endGroup();

  group(kComputeLeapBox, "ComputeLeapBox", "Best Fit Result");
  dialog.beginLayout(false);
  plain(kPairList, "list", "PairDisplayList");
  picture(kPairDeleteButton);
  dialog.endLayout();
  dialog.beginPanel(tr("Deviations"), true);
  plain(kPairDeviations, "text", "PairDeviations");
  dialog.endPanel();
  dialog.endGroup();

  group(kControlBox, "ControlBox", nullptr);
  push(kExit, "ExitButton", "Exit");
  push(kNext, "NextButton", "Next");
  push(kDone, "DoneButton", "Done");
  dialog.endGroup();
  dialog.endGroup();
}

void MoveDeviceWidget::show(int32_t control, bool shown) {
  if (dialog()) dialog()->setControlFlag(id(control), shown);
}

void MoveDeviceWidget::enable(int32_t control, bool enabled) {
  if (dialog()) dialog()->enableControl(id(control), enabled, IGuiDialog::kEnableDefault);
}

void MoveDeviceWidget::addListEntry(int32_t control, const ZelString& text) {
  if (dialog()) dialog()->addListEntry(id(control), text);
}

void MoveDeviceWidget::setText(int32_t control, const ZelString& text) {
  if (dialog()) dialog()->setControlText(id(control), text);
}

// Activation and the run's state.

bool MoveDeviceWidget::activate() {
  SPtr<IDataStore> store;
  if (!plugin_ || !store) return false;
  group_ = keys::group(plugin_->getName(), store.get());
  const std::string state = keys::state(group_);
  store->addIntItem(state.c_str(), kNotStarted, kNotStarted, keys::kLastStep, keys::kFlags);
  const int32_t saved = store->getInt(state.c_str(), kNotStarted);
  step_ = saved >= 0 && saved <= keys::kLastStep ? static_cast<uint32_t>(saved) : kNotStarted;
  references_.setPluginName(plugin_->getName());
  targets_.setPluginName(plugin_->getName());
  references_.load();
  targets_.load();
  show(kStartBox, true);
  for (int32_t box : {kCollectReferenceBox, kCollectTargetBox, kComputeLeapBox, kControlBox})
    show(box, false);
  enable(kResume, step_ >= kReferences && step_ <= kResult);
  sensitivity_ = true;
  runOpen_ = false;
  return true;
}

void MoveDeviceWidget::deactivate() {
  if (probing_) {
    stopDevice();
    endProbing();
  }
  plugin_ = nullptr;
  featureName_ = ZelString();
  kind_ = 0;
  releaseCollector();
  references_.clear();
  targets_.clear();
  previousReferences_.reset();
  previousTargets_.reset();
  for (int32_t box : {kStartBox, kCollectReferenceBox, kCollectTargetBox, kComputeLeapBox, kControlBox})
    show(box, false);
}

void MoveDeviceWidget::releaseCollector() {
  if (!collector_) return;
  if (auto* subject = queryPart<IZelSubject>(collector_.get())) subject->detach(this);
  collector_.release();
}

void MoveDeviceWidget::setState(uint32_t step) {
  step_ = step;
  SPtr<IDataStore> store;
  if (store && !group_.empty())
    store->setInt(nullptr, keys::state(group_).c_str(), static_cast<int32_t>(step));
}

void MoveDeviceWidget::updatePage() {
  show(kStartBox, step_ == kFinished);
  show(kCollectReferenceBox, step_ == kReferences);
  show(kCollectTargetBox, step_ == kTargets);
  show(kComputeLeapBox, step_ == kResult);
  show(kControlBox, step_ >= kReferences && step_ <= kResult);
  show(kExit, step_ != kResult);
  show(kNext, step_ != kResult);
  show(kDone, step_ == kResult);
  IGuiDialog* gui = dialog();
  if (!gui) return;
  if (step_ == kReferences) gui->setCurrentControl(id(kTypePrevious));
  if (step_ == kTargets) gui->setCurrentControl(id(kTargetStart));
  if (step_ == kResult) gui->setCurrentControl(id(kDone));
  if (step_ != kFinished) return;
  for (int32_t list : {kReferenceList, kTargetList, kPairList}) gui->clearList(id(list));
  setText(kTargetPrompt, tr(kPromptText));
  deviations_ = ZelString();
  setText(kPairDeviations, deviations_);
  enable(kResume, false);
}

void MoveDeviceWidget::notifySensitivity(bool sensitive) {
  bool value = sensitive;
  notify("Sensitivity", &value);
  sensitivity_ = value;
}

void MoveDeviceWidget::keepPreviousLists() {
  previousReferences_ = std::make_unique<ReferencePointContainer>(references_);
  references_.clear();
  previousTargets_ = std::make_unique<TargetPointContainer>(targets_);
  targets_.clear();
}

void MoveDeviceWidget::nameLists() {
  const ZelString name = plugin_ ? plugin_->getName() : ZelString();
  for (PointContainer* list :
       {static_cast<PointContainer*>(&references_), static_cast<PointContainer*>(&targets_),
        static_cast<PointContainer*>(previousReferences_.get()),
        static_cast<PointContainer*>(previousTargets_.get())}) {
    if (list) list->setPluginName(name);
  }
}

// The user's buttons.

void MoveDeviceWidget::onGuiEvent(int32_t id, int32_t) {
  const int32_t control = id - idBase();
  // The start page's buttons start a run, the others act within one: each page shows only its own.
  if ((control == kBegin || control == kResume) == runOpen_) return;
  switch (control) {
    case kBegin:
      return begin();
    case kResume:
      return resume();
    case kTypePoint:
    case kTypeSphere:
    case kTypeCircle:
      referenceMode_ = true;
      startProbing(static_cast<uint32_t>(id - idBase()));
      return;
    case kTypePrevious:
      return usePreviousTargets();
    case kReferenceUp:
      return moveReferenceUp();
    case kReferenceDown:
      return moveReferenceDown();
    case kReferenceDelete:
      return deleteReference();
    case kTargetStart:
      startNextTarget();
      return;
    case kTargetRetry:
      return redefineLastTarget();
    case kTargetRestart:
      return clearAllTargets();
    case kPairDelete:
      return deletePair();
    case kExit:
      return exit();
    case kNext:
      return next();
    case kDone:
      return finish(true);
    default:
      return;
  }
}

void MoveDeviceWidget::begin() {
  runOpen_ = true;
  notifySensitivity(false);
  enable(kNext, false);
  setState(kNotStarted);
  updatePage();
  setState(kReferences);
  keepPreviousLists();
  nameLists();
  show(kCreateReferencesBox, true);
  enable(kCreateReferencesBox, true);
  enable(kTypePrevious, previousTargets_->count() >= kFewestPairs);
  for (int32_t button : {kTypePoint, kTypeSphere, kTypeCircle}) enable(button, true);
  updatePage();
}

void MoveDeviceWidget::resume() {
  // Only a run left at its references, targets or result can be resumed; anything else has no page.
  if (step_ < kReferences || step_ > kResult) return;
  runOpen_ = true;
  notifySensitivity(false);
  keepPreviousLists();
  nameLists();
  updatePage();
  if (step_ >= kTargets) resumeTargets();
  resumeReferences();
  // The fit shown when the run was left is computed again from the lists as they were.
  if (step_ == kResult) computeFit();
}

void MoveDeviceWidget::copyEntries(const PointContainer& from, PointContainer& to, int32_t list) {
  for (int32_t i = 0; i < from.count(); ++i) {
    ZelString name = from.name(i);
    to.add(from.position(i), from.type(i), name, false);
    addListEntry(list, name);
  }
}

void MoveDeviceWidget::resumeTargets() {
  enable(kTargetRetry, previousTargets_->count() > 0);
  enable(kTargetRestart, previousTargets_->count() > 0);
  enable(kTargetStart, true);
  copyEntries(*previousTargets_, targets_, kTargetList);
  if (targets_.count() >= previousReferences_->count()) enable(kTargetStart, false);
}

void MoveDeviceWidget::resumeReferences() {
  copyEntries(*previousReferences_, references_, kReferenceList);
  // A run left with fewer references than a fit needs stays open for probing more.
  const bool complete = step_ != kReferences || references_.count() >= kFewestPairs;
  if (references_.count() == 0 || !complete) {
    enable(kNext, false);
    return;
  }
  for (int32_t button : {kTypePoint, kTypeSphere, kTypeCircle, kTypePrevious}) enable(button, false);
  enable(kNext, true);
}

void MoveDeviceWidget::usePreviousTargets() {
  if (!previousTargets_) return;
  copyEntries(*previousTargets_, references_, kReferenceList);
  for (int32_t button : {kTypePoint, kTypeSphere, kTypeCircle, kTypePrevious}) enable(button, false);
  enable(kNext, references_.count() >= kFewestPairs);
  if (dialog()) dialog()->setControlValue(id(kTypePrevious), 0);
}

void MoveDeviceWidget::moveReferenceUp() {
  IGuiDialog* gui = dialog();
  const int32_t selected = gui->listSelection(id(kReferenceList));
  if (gui->listEntryCount(id(kReferenceList)) < 2 || selected < 1) return;
  references_.swap(selected, selected - 1);
  gui->swapListEntries(id(kReferenceList), selected, selected - 1);
}

void MoveDeviceWidget::moveReferenceDown() {
  IGuiDialog* gui = dialog();
  const int32_t selected = gui->listSelection(id(kReferenceList));
  const int32_t entries = gui->listEntryCount(id(kReferenceList));
  if (entries < 2 || selected < 0 || selected + 1 >= entries) return;
  references_.swap(selected, selected + 1);
  gui->swapListEntries(id(kReferenceList), selected, selected + 1);
}

void MoveDeviceWidget::deleteReference() {
  IGuiDialog* gui = dialog();
  const int32_t selected = gui->listSelection(id(kReferenceList));
  if (selected < 0 || selected >= gui->listEntryCount(id(kReferenceList))) return;
  references_.remove(selected);
  gui->removeListEntry(id(kReferenceList), selected);
  if (references_.count() < kFewestPairs) enable(kNext, false);
  if (references_.count() < PointContainer::kCapacity) enable(kCreateReferencesBox, true);
  if (references_.count() > 0) return;
  for (int32_t button : {kTypePoint, kTypeSphere, kTypeCircle}) enable(button, true);
  enable(kTypePrevious, previousTargets_ && previousTargets_->count() >= kFewestPairs);
}

void MoveDeviceWidget::next() {
  enable(kNext, false);
  if (step_ == kReferences) {
    SPtr<IGuiSimpleDlg> message;
    if (message)
      message->show(kMoveMessageStyle, tr("Move Device or Part to new position..."), ZelString(), false,
                    false, false);
    setState(kTargets);
    enable(kTargetStart, true);
    enable(kTargetRetry, false);
    enable(kTargetRestart, false);
    updatePage();
    dialog()->refreshLayout();
    startNextTarget();
  } else if (step_ == kTargets) {
    setState(kResult);
    updatePage();
    computeFit();
  }
}

void MoveDeviceWidget::redefineLastTarget() {
  if (targets_.count() > 0) {
    targets_.remove(targets_.count() - 1);
    dialog()->removeListEntry(id(kTargetList), dialog()->listEntryCount(id(kTargetList)) - 1);
  }
  enable(kTargetRetry, false);
  enable(kNext, false);
  startNextTarget();
}

void MoveDeviceWidget::clearAllTargets() {
  while (targets_.count() > 0) targets_.remove(targets_.count() - 1);
  dialog()->clearList(id(kTargetList));
  enable(kTargetRetry, false);
  enable(kNext, false);
  startNextTarget();
}

void MoveDeviceWidget::deletePair() {
  const int32_t selected = dialog()->listSelection(id(kPairList));
  if (selected < 0 || selected >= dialog()->listEntryCount(id(kPairList))) return;
  if (references_.count() <= kFewestPairs) return;
  references_.remove(selected);
  targets_.remove(selected);
  dialog()->removeListEntry(id(kPairList), selected);
  computeFit();
}

void MoveDeviceWidget::exit() {
  SPtr<IGuiSimpleDlg> question;
  if (!question) return;
  const int32_t answer =
      question->show(kSaveQuestionStyle,
                     tr("The current state can be saved and resumed at a later time.\n\nSave current state?"),
                     ZelString(), false, false, false);
  if (answer == kAnswerSave) saveAndExit();
  if (answer == kAnswerDiscard) finish(false);
}

void MoveDeviceWidget::saveAndExit() {
  runOpen_ = false;
  references_.save(-1);
  targets_.save(-1);
  const uint32_t step = step_;
  setState(kFinished);
  updatePage();
  setState(step);
  previousReferences_.reset();
  previousTargets_.reset();
  references_.removeDocumentObject();
  targets_.removeDocumentObject();
  notifySensitivity(true);
  enable(kResume, true);
}

void MoveDeviceWidget::finish(bool apply) {
  // "Done" is off while the fit fails; a press that still arrives must not erase the references either.
  if (apply && !fitted_) return;
  setState(kFinished);
  if (apply) {
    // The points were probed through hardware x scale; the corrected hardware matrix takes the scale again.
    Matrix4x4 corrected = result_ * (plugin_ ? plugin_->hardwareMatrix() : Matrix4x4::identity());
    notify("NewTransform", corrected.m);
    references_.clear();
    references_.save(-1);
    references_.load();
    targets_.transformAll(result_);
    targets_.save(-1);
    targets_.clear();
    targets_.load();
  } else {
    if (previousReferences_) previousReferences_->save(-1);
    if (previousTargets_) previousTargets_->save(-1);
    references_.clear();
    references_.load();
    targets_.clear();
    targets_.load();
  }
  enable(kResume, false);
  endRun();
}

void MoveDeviceWidget::endRun() {
  runOpen_ = false;
  previousReferences_.reset();
  previousTargets_.reset();
  references_.removeDocumentObject();
  targets_.removeDocumentObject();
  fitted_ = false;
  updatePage();
  notifySensitivity(true);
}

// Probing.

bool MoveDeviceWidget::startProbing(uint32_t kind) {
  if (!collector_) {
    collector_.createInstance(classIdOf("HardProbeFeatureCollector"));
    if (!collector_) return false;
    if (auto* subject = queryPart<IZelSubject>(collector_.get())) subject->attach(this);
  }
  const Kind* known = kindOf(kind);
  IPtr<IZelFeatureCollector> featureCollector;
  if (known) featureCollector.createInstance(classIdOf(known->collectorClass));
  if (!featureCollector) {
    releaseCollector();
    return false;
  }
  featureName_ = tr(known->featureName);
  notify("ProbeStart", nullptr);
  probing_ = true;
  if (settingOn(kShowProbeKey)) {
    probe_.show(ZelString(u"Move Device Widget Graphics"));
  }
  // The probe's object is a point object: the touches sampled for the feature are drawn as its points.
  if (IZelPoints* drawn = pointsOf(probe_.object())) featureCollector->setPointSink(drawn->array());
  featureCollector->setFeatureName(featureName_);
  showTiles(true);
  collector_->setCollector(featureCollector.get());
  showCollectorInstructions();
  if (collector_->start()) {
    kind_ = kind;
    return true;
  }
  endProbing();
  return false;
}

void MoveDeviceWidget::onNotify(const char* event, IZelSubject* sender, void*) {
  if (!collector_ || !sender || sender != queryPart<IZelSubject>(collector_.get())) return;
  // A pass may end, and the collector be let go, inside the handling below.
  IPtr<IZelHardProbeFeatureCollector> keep = collector_;
  if (isEvent(event, "NewFeature")) {
    onNewFeatureEvent();
  } else if (isEvent(event, "Stop") || isEvent(event, "Cancel")) {
    onProbeStop();
  } else if (isEvent(event, "UserInstructionsChanged")) {
    showCollectorInstructions();
  } else if (isEvent(event, "Error")) {
    onAcquisitionError();
  }
}

void MoveDeviceWidget::onNewFeatureEvent() {
  IPtr<IZelFeature> feature = collector_->takeFeature();
  if (!feature || !probing_) return;
  if (!onNewFeature(*feature)) {
    stopDevice();
    endProbing();
  } else if (referenceMode_) {
    IZelFeatureCollector* featureCollector = collector_->collector();
    featureCollector->reset();
    featureCollector->refreshInfo();
  } else {
    stopDevice();
    // A target whose kind no collector probes ends the pass here: nothing else would.
    if (!startNextTarget() && probing_) endProbing();
  }
}

bool MoveDeviceWidget::onNewFeature(IZelFeature& feature) {
  Vector3 a, b, centre;
  if (!feature.frame(a, b, centre)) return true;
  bool goOn = true;
  if (referenceMode_) {
    if (references_.count() >= PointContainer::kCapacity) return false;
    ZelString name = featureName_;
    references_.add(centre, kind_, name, true);
    addListEntry(kReferenceList, name);
    if (references_.count() >= kFewestPairs) enable(kNext, true);
    if (references_.count() >= PointContainer::kCapacity) {
      enable(kCreateReferencesBox, false);
      goOn = false;
    }
  } else {
    if (targets_.count() >= references_.count()) return false;
    showTargetPrompt();
    ZelString name = references_.name(targets_.count());
    targets_.add(centre, kind_, name, false);
    addListEntry(kTargetList, name);
    for (int32_t button : {kTargetStart, kTargetRetry, kTargetRestart}) enable(button, true);
    if (targets_.count() >= references_.count()) {
      enable(kTargetStart, false);
      enable(kNext, true);
      goOn = false;
    }
  }
  if (probe_.graphics() && settingOn(kResetBoundingBoxKey)) probe_.graphics()->fitView(false);
  return goOn;
}

void MoveDeviceWidget::onProbeStop() {
  if (referenceMode_ && references_.count() >= 1) enable(kTypePrevious, false);
  if (!referenceMode_ && targets_.count() == 0) enable(kTargetStart, true);
  endProbing();
}

void MoveDeviceWidget::onAcquisitionError() {
  endProbing();
  reportUserError(tr("An error occurred during data acquisition."));
  notify("ProbeStop", nullptr);
}

void MoveDeviceWidget::stopDevice() {
  IZelPluginDevice* device = hardProbeDevice();
  if (!device) return;
  IZelFeatureCollector* featureCollector = collector_ ? collector_->collector() : nullptr;
  stopDetached(*device, {queryPart<IZelPluginDataReceiver>(featureCollector)});
}

void MoveDeviceWidget::endProbing() {
  probing_ = false;
  IZelFeatureCollector* featureCollector = collector_ ? collector_->collector() : nullptr;
  IZelPluginDevice* device = hardProbeDevice();
  if (auto* receiver = queryPart<IZelPluginDataReceiver>(featureCollector); receiver && device)
    device->removeReceiver(receiver);
  showTiles(false);
  probe_.hide();
  showInstructions(nullptr);
  notify("ProbeStop", nullptr);
  notifySensitivity(sensitivity_);
}

bool MoveDeviceWidget::startNextTarget() {
  if (targets_.count() >= references_.count()) return false;
  referenceMode_ = false;
  showTargetPrompt();
  return startProbing(references_.type(targets_.count()));
}

void MoveDeviceWidget::showTargetPrompt() {
  setText(kTargetPrompt, references_.name(targets_.count()));
}

// The fit.

bool MoveDeviceWidget::bestFit(Matrix4x4& result, ZelString& deviations) {
  return fitTargetsOntoReferences(references_, targets_, result, deviations);
}

bool MoveDeviceWidget::computeFit() {
  dialog()->clearList(id(kPairList));
  result_ = Matrix4x4::identity();
  fitted_ = bestFit(result_, deviations_);
  setText(kPairDeviations, deviations_);
  if (fitted_) {
    for (int32_t i = 1; i <= references_.count(); ++i)
      addListEntry(kPairList, tr("Pair %1", ZelString::number(i)));
  }
  // Deleting a pair must leave the three that a fit needs.
  enable(kPairDelete, fitted_ && references_.count() > kFewestPairs);
  // Without a fit "Done" would erase the references taken before the move, which cannot be probed again:
  // the run can only be left through "Exit", saved or discarded.
  enable(kDone, fitted_);
  show(kExit, !fitted_);
  return fitted_;
}

// Tiles.

void MoveDeviceWidget::showTiles(bool on) {
  const bool showInfo = settingOn(kShowInfoKey);
  const bool showInstructionsTile = settingOn(kShowInstructionsKey);
  IPtr<IZelHardProbeTile> tile = tileFacade();
  if (!tile) return;
  tile->setFlag("ShowFeatureInfo", 1);
  tile->setFlag("ShowBriefInstructions", 0);
  tile->setActive(on);
  if (showInfo) tile->showTile(ZelCString("hardprobe info tile"), on);
  if (showInstructionsTile) tile->showTile(ZelCString("hardprobe instructions tile"), on);
  if (!on) tile->clear();
}

void MoveDeviceWidget::showInstructions(IZelUserInstructions* instructions) {
  if (IPtr<IZelHardProbeTile> tile = tileFacade()) tile->setInstructions("FullInstructions", instructions);
}

void MoveDeviceWidget::showCollectorInstructions() {
  auto* source = queryPart<IZelUserInstructionSource>(collector_ ? collector_->collector() : nullptr);
  if (!source) return;
  IPtr<IZelUserInstructions> instructions;
  source->userInstructions(instructions, true);
  showInstructions(instructions.get());
}

void MoveDeviceWidget::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  chain.classLeaf(interfaceName, this, static_cast<IZelListener*>(this)).offer<IZelListener>(this);
  queryWidgetChain(chain);
  querySubjectChain(chain);
}
