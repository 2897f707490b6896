#include "commands/alignment/iterative/undo_items.h"

#include "commands/alignment/iterative/target.h"
#include "framework/object/query_chain.h"

void PalperaIterativeAlignmentCmd::IUndoItem::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).end();
}

PalperaIterativeAlignmentCmd::TargetUndoItem::TargetUndoItem(Target* target) : target_(target) {}

void PalperaIterativeAlignmentCmd::TargetUndoItem::undo(PalperaIterativeAlignmentCmd& command) {
  command.removeLastTarget();
}

void PalperaIterativeAlignmentCmd::TargetUndoItem::redo(PalperaIterativeAlignmentCmd& command) {
  command.addTarget(target_.get());
}

void PalperaIterativeAlignmentCmd::LocationSetUndoItem::addTarget(Target* target) {
  targets_.emplace_back(target);
}

void PalperaIterativeAlignmentCmd::LocationSetUndoItem::undo(PalperaIterativeAlignmentCmd& command) {
  for (size_t i = 0; i < targets_.size(); ++i) command.removeLastTarget();
  command.setLocationSetEntryEnabled(index_, true);
}

void PalperaIterativeAlignmentCmd::LocationSetUndoItem::redo(PalperaIterativeAlignmentCmd& command) {
  for (const IPtr<Target>& target : targets_) command.addTarget(target.get());
  command.setLocationSetEntryEnabled(index_, false);
}
