// The Move Device wizard's buttons: each moves the run from page to page, or changes the lists on its page.

#include <algorithm>

#include "commands/alignment/common/alignment_tolerance.h"
#include "commands/alignment/common/part_corners.h"
#include "commands/alignment/move_device/move_device_best_fit.h"
#include "commands/alignment/move_device/move_device_controls.h"
#include "commands/alignment/move_device/move_device_spread.h"
#include "commands/alignment/move_device/move_device_widget.h"
#include "framework/object/host_lookup.h"
#include "framework/translation/tr.h"
#include "host_api/gui_simple_dialog.h"
#include "host_api/zel_doc.h"

using namespace move_device_controls;

namespace {

// The simple dialog's styles the wizard uses: a message, and a question answered 1 (yes), 2 (no) or else.
constexpr int32_t kMoveMessageStyle = 2;
constexpr int32_t kSaveQuestionStyle = 4;
constexpr int32_t kAnswerSave = 1;
constexpr int32_t kAnswerDiscard = 2;
// Metres: references closer than this to one line leave the turn about it to the arm's noise.
constexpr double kSmallestSpread = 0.001;

}  // namespace

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
      return removeTargetsFrom(targets_.count() - 1);
    case kTargetRestart:
      return removeTargetsFrom(0);
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
    // Before the move the references can still be probed again; after it, the fit would fail for good.
    if (!spanAPlane(references_, kSmallestSpread)) {
      tell(
          tr("The references lie on one line, so the move cannot be fitted: probe a reference off "
             "that line before moving the device or the part."));
      enable(kNext, true);
      return;
    }
    if (probeFurtherOff()) {
      enable(kNext, true);
      return;
    }
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
    if (!computeFit()) tellFitFailure();
  }
}

void MoveDeviceWidget::tell(const ZelString& text) const {
  SPtr<IGuiSimpleDlg> message;
  if (message) message->show(IGuiSimpleDlg::kMessageStyle, text, ZelString(), false, false, false);
}

bool MoveDeviceWidget::probeFurtherOff() const {
  const double tolerance = alignmentTolerance();
  SPtr<IZelDoc> document;
  const double uncertainty = moveUncertainty(
      references_, worldBoxCorners(document ? document->findObject(ZelString(u"RefObject")) : nullptr),
      kProbingError);
  if (uncertainty <= tolerance) return false;
  SPtr<IGuiSimpleDlg> question;
  if (!question) return false;
  const auto millimetres = [](double metres) {
    return ZelString::formatDouble(metres * 1000, {.precision = ".3"});
  };
  const ZelString text =
      tr("The references lie too close to one line or to each other: at a probing error of %1 mm the move "
         "fitted to them may put the part off by up to %2 mm at its far corners, beyond the alignment "
         "tolerance of %3 mm.\nProbe a reference further off the others before moving the device or the "
         "part?",
         millimetres(kProbingError), millimetres(uncertainty), millimetres(tolerance));
  return question->show(IGuiSimpleDlg::kQuestionStyle, text, ZelString(), false, false, false) ==
         IGuiSimpleDlg::kAnswerYes;
}

void MoveDeviceWidget::tellFitFailure() const {
  tell(tr("%1 Nothing can be stored: Exit saves the run or discards it.", deviations_));
}

void MoveDeviceWidget::removeTargetsFrom(int32_t first) {
  while (targets_.count() > std::max(first, 0)) {
    targets_.remove(targets_.count() - 1);
    dialog()->removeListEntry(id(kTargetList), dialog()->listEntryCount(id(kTargetList)) - 1);
  }
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
  if (!computeFit()) tellFitFailure();
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

bool MoveDeviceWidget::confirmDone() {
  // "Done" is off while the fit fails; a press that still arrives must not erase the references either.
  if (step_ != kResult) {
    tell(tr("Nothing was stored: %1 of %2 targets are probed; probe the rest, then press Next.",
            ZelString::number(targets_.count()), ZelString::number(references_.count())));
    return false;
  }
  if (!fitted_) {
    tellFitFailure();
    return false;
  }
  const int32_t failed = firstPairBeyond(references_, targets_, result_, alignmentTolerance());
  if (failed < 0 || !askToProbeFailedPointsAgain()) return true;
  // Targets are probed in the references' order: the pass starts again at the first that failed.
  setState(kTargets);
  fitted_ = false;
  dialog()->clearList(id(kPairList));
  setText(kPairDeviations, ZelString());
  enable(kTargetStart, true);
  enable(kTargetRestart, true);
  updatePage();
  removeTargetsFrom(failed);
  return false;
}

void MoveDeviceWidget::finish(bool apply) {
  if (apply && !confirmDone()) return;
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
