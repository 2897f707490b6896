// The location sets of "Iterative Alignment": the document's sets offered in the dialog's list, and a chosen
// set's locations loaded as targets, on the reference's surface, in one undoable step.

#include "commands/alignment/iterative/closest_point_finder.h"
#include "commands/alignment/iterative/iterative_realignment.h"
#include "commands/alignment/iterative/palpera_iterative_alignment_cmd.h"
#include "commands/alignment/iterative/undo_items.h"
#include "framework/host_glue/renderer_scope.h"
#include "framework/object/query_part.h"
#include "framework/translation/tr.h"
#include "host_api/gui_busy_block.h"
#include "host_api/gui_dialog.h"
#include "host_api/progress_split.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_locations_set.h"

void PalperaIterativeAlignmentCmd::fillLocationSets() {
  locationSets_.clear();
  if (!gui_) return;
  gui_->clearList(kLocationSetsList);
  gui_->addListEntry(kLocationSetsList, tr("Select..."));
  SPtr<IZelDoc> document;
  for (int32_t i = 0; document && i < document->objectCount(); ++i) {
    IZelDocObject* object = document->objectAt(i);
    if (!queryPart<IZelLocationsSet>(object)) continue;
    locationSets_.emplace_back(object);
    gui_->addListEntry(kLocationSetsList, object->objectName());
  }
  gui_->selectListEntry(kLocationSetsList, 0);
  gui_->enableControl(kLocationSetsBox, true, IGuiDialog::kEnableDefault);
  gui_->enableControl(kLoadButton, false, IGuiDialog::kEnableDefault);
}

void PalperaIterativeAlignmentCmd::setLocationSetEntryEnabled(int32_t index, bool enabled) {
  if (!gui_) return;
  gui_->enableListEntry(kLocationSetsList, index + 1, enabled);
  if (enabled) return;
  gui_->selectListEntry(kLocationSetsList, 0);
  gui_->enableControl(kLoadButton, false, IGuiDialog::kEnableDefault);
}

bool PalperaIterativeAlignmentCmd::loadLocationSet(int32_t index) {
  if (index < 0 || index >= static_cast<int32_t>(locationSets_.size())) return false;
  auto* set = queryPart<IZelLocationsSet>(locationSets_[index].get());
  PalperaIterativeAlignmentCmd::ClosestPointFinder* finder =
      realignment_ ? realignment_->pointFinder() : nullptr;
  const int32_t count = set ? set->locationCount() : 0;
  if (count <= 0 || !finder) return false;
  IPtr<IZelProgressSplit> progress;
  progress.getService();
  if (progress) progress->begin(count);
  IPtr<LocationSetUndoItem> item(new LocationSetUndoItem(index));
  for (int32_t i = 1; i <= count; ++i) {
    ZelString name;
    Vector3 point, closest, normal;
    if (set->location(i, name, point) && finder->find(point, closest, normal)) {
      IPtr<Target> target(new Target);
      target->point = closest;
      target->direction = normal;
      target->criticalDistance = sizeScale_;
      target->name = name;
      item->addTarget(target.get());
    }
    if (progress) progress->step();
  }
  item->redo(*this);
  pushUndoItem(item.get());
  if (progress) progress->finish();
  return true;
}

void PalperaIterativeAlignmentCmd::loadSelectedLocationSet() {
  const int32_t selected = gui_ ? gui_->listSelection(kLocationSetsList) : -1;
  if (selected < 1 || !canTakeInput()) return;
  bool loaded = false;
  {
    SPtr<IGuiBusyBlock> busy;
    if (busy) busy->begin(tr("Loading Location Set..."));
    {
      const RendererScope paused;
      loaded = loadLocationSet(selected - 1);
    }
    if (busy) busy->end();
  }
  if (loaded && realignment_) realignment_->updateAlignment();
  refreshTable();
  requestRedraw(false);
}
