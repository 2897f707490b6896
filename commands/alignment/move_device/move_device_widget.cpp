#include "commands/alignment/move_device/move_device_widget.h"

#include <cstring>
#include <utility>

#include "commands/alignment/move_device/move_device_controls.h"
#include "commands/alignment/move_device/move_device_keys.h"
#include "framework/object/query_part.h"
#include "framework/registrations/class_registration.h"
#include "framework/registrations/registered_classes.h"
#include "framework/translation/tr.h"
#include "host_api/data_store.h"

using namespace move_device_controls;

namespace {

const ClassRegistration<MoveDeviceWidget> registration(registeredClass("MoveDeviceWidget"));

namespace keys = move_device_keys;

constexpr const char* kPromptText = "\n\tPress Start to begin...\n";

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

void MoveDeviceWidget::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  chain.classLeaf(interfaceName, this, static_cast<IZelListener*>(this)).offer<IZelListener>(this);
  queryWidgetChain(chain);
  querySubjectChain(chain);
}
